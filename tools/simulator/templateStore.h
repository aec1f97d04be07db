// The simulated module's template store: the templates it holds, keyed by person and finger.
#pragma once

#include "storedTemplate.h"

#include <QList>
#include <QMap>
#include <QPair>

namespace simulator_n
{

class templateStore_c
{
public:
    // Number of templates the store can hold (default 500). Lowering it drops nothing already stored.
    void setCapacity(int p_nCapacity);
    int capacity() const;
    bool isFull() const;

    // Stores a template (see sensorSimulator_c::addTemplate); false, storing nothing, when pid is 0, fid
    // is outside 0..9, group is 0, the finger is already stored or the store is full.
    bool add(int p_nPid, int p_nFid, int p_nQuality, int p_nMinutiae, int p_nGroup,
             const QByteArray& p_baPayload);
    bool contains(int p_nPid, int p_nFid) const;
    // The stored template, or nullptr; valid until the store changes.
    const storedTemplate_c* find(int p_nPid, int p_nFid) const;
    // The stored template, or a default one (pid 0).
    storedTemplate_c value(int p_nPid, int p_nFid) const;
    bool remove(int p_nPid, int p_nFid);
    void clear();
    int count() const;
    // In order of pid and fid.
    QList<QPair<int, int>> keys() const;
    QList<storedTemplate_c> templates() const;

private:
    int m_nCapacity = 500;
    QMap<QPair<int, int>, storedTemplate_c> m_mapTemplates;
};

} // namespace simulator_n
