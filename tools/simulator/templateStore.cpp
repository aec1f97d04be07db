#include "templateStore.h"
#include "sensorSimulator.h"

namespace simulator_n
{

// --- The store ---------------------------------------------------------------------------------------

void templateStore_c::setCapacity(int p_nCapacity)
{
    m_nCapacity = qMax(0, p_nCapacity);
}

int templateStore_c::capacity() const
{
    return m_nCapacity;
}

bool templateStore_c::isFull() const
{
    return m_mapTemplates.size() >= m_nCapacity;
}

bool templateStore_c::add(int p_nPid, int p_nFid, int p_nQuality, int p_nMinutiae, int p_nGroup,
                          const QByteArray& p_baPayload)
{
    if (p_nPid == 0 || p_nFid < 0 || p_nFid > 9 || p_nGroup == 0 || contains(p_nPid, p_nFid) || isFull())
    {
        return false;
    }
    storedTemplate_c tmpl;
    tmpl.m_nPid = p_nPid;
    tmpl.m_nFid = p_nFid;
    tmpl.m_nGroup = p_nGroup;
    tmpl.m_nQuality = qBound(0, p_nQuality, 255);
    tmpl.m_nMinutiae = qBound(0, p_nMinutiae, 255);
    if (p_baPayload.isEmpty())
    {
        tmpl.m_baPayload = storedTemplate_c::makePayload(p_nPid, p_nFid, p_nQuality, p_nMinutiae);
    }
    else
    {
        tmpl.m_baPayload = p_baPayload;
        if (tmpl.m_baPayload.size() > storedTemplate_c::c_nQualityOffset)
        {
            tmpl.m_baPayload[storedTemplate_c::c_nQualityOffset] = char(tmpl.m_nQuality);
        }
        if (tmpl.m_baPayload.size() > storedTemplate_c::c_nMinutiaeOffset)
        {
            tmpl.m_baPayload[storedTemplate_c::c_nMinutiaeOffset] = char(tmpl.m_nMinutiae);
        }
    }
    m_mapTemplates.insert(qMakePair(p_nPid, p_nFid), tmpl);
    return true;
}

bool templateStore_c::contains(int p_nPid, int p_nFid) const
{
    return m_mapTemplates.contains(qMakePair(p_nPid, p_nFid));
}

const storedTemplate_c* templateStore_c::find(int p_nPid, int p_nFid) const
{
    auto it = m_mapTemplates.constFind(qMakePair(p_nPid, p_nFid));
    return it == m_mapTemplates.constEnd() ? nullptr : &it.value();
}

storedTemplate_c templateStore_c::value(int p_nPid, int p_nFid) const
{
    return m_mapTemplates.value(qMakePair(p_nPid, p_nFid));
}

bool templateStore_c::remove(int p_nPid, int p_nFid)
{
    return m_mapTemplates.remove(qMakePair(p_nPid, p_nFid)) > 0;
}

void templateStore_c::clear()
{
    m_mapTemplates.clear();
}

int templateStore_c::count() const
{
    return m_mapTemplates.size();
}

QList<QPair<int, int>> templateStore_c::keys() const
{
    return m_mapTemplates.keys();
}

QList<storedTemplate_c> templateStore_c::templates() const
{
    return m_mapTemplates.values();
}

// --- The simulator's store API -----------------------------------------------------------------------

bool sensorSimulator_c::addTemplate(int p_nPid, int p_nFid, int p_nQuality, int p_nMinutiae, int p_nGroup,
                                    const QByteArray& p_baPayload)
{
    return m_store.add(p_nPid, p_nFid, p_nQuality, p_nMinutiae, p_nGroup, p_baPayload);
}

bool sensorSimulator_c::hasTemplate(int p_nPid, int p_nFid) const
{
    return m_store.contains(p_nPid, p_nFid);
}

storedTemplate_c sensorSimulator_c::storedTemplate(int p_nPid, int p_nFid) const
{
    return m_store.value(p_nPid, p_nFid);
}

bool sensorSimulator_c::removeTemplate(int p_nPid, int p_nFid)
{
    return m_store.remove(p_nPid, p_nFid);
}

void sensorSimulator_c::clearTemplates()
{
    m_store.clear();
}

int sensorSimulator_c::templateCount() const
{
    return m_store.count();
}

QList<QPair<int, int>> sensorSimulator_c::templateKeys() const
{
    return m_store.keys();
}

// --- The "reg" commands and the template transfer ----------------------------------------------------

void sensorSimulator_c::executeRegCommand(const QList<QByteArray>& p_lstWords)
{
    const QByteArray baSub = p_lstWords.value(1);
    bool bHasPid = false;
    bool bHasFid = false;
    const int nPid = wordToInt(p_lstWords, 2, &bHasPid);
    const int nFid = wordToInt(p_lstWords, 3, &bHasFid);
    const bool bHasBoth = bHasPid && bHasFid;

    if (baSub == "/count")
    {
        reply("=OK " + QByteArray::number(m_store.count()));
    }
    else if (baSub == "/list")
    {
        QByteArray baList;
        for (const storedTemplate_c& tmpl : m_store.templates())
        {
            baList += "=LIST " + QByteArray::number(tmpl.m_nPid) + ' ' + QByteArray::number(tmpl.m_nGroup) +
                      ' ' + QByteArray::number(tmpl.m_nFid) + ' ' + QByteArray::number(tmpl.m_nQuality) +
                      "\r\n";
        }
        // The empty line closes the list; a reader counting lines never sees it.
        queueOutput(baList + "\r\n");
    }
    else if (baSub == "/get" && bHasBoth)
    {
        sendTemplate(nPid, nFid);
    }
    else if (baSub == "/find" && bHasBoth)
    {
        const storedTemplate_c* pTmpl = m_store.find(nPid, nFid);
        reply(pTmpl ? "=OK Group=" + QByteArray::number(pTmpl->m_nGroup) : QByteArray("=NO Unreg"));
    }
    else if (baSub == "/clear")
    {
        m_store.clear();
        reply("=OK Clear");
    }
    else if (baSub == "/del" && bHasBoth)
    {
        reply(m_store.remove(nPid, nFid) ? "=OK Del" : "=NO Unreg");
    }
    else
    {
        reply("=NO CMDERR");
    }
}

void sensorSimulator_c::sendTemplate(int p_nPid, int p_nFid)
{
    const storedTemplate_c* pTmpl = m_store.find(p_nPid, p_nFid);
    if (!pTmpl)
    {
        reply("=NO Unreg");
        return;
    }
    const QByteArray baHeader =
        "=OK Template ID=" + QByteArray::number(p_nPid) + " BKNum=" + QByteArray::number(p_nFid) +
        " Bytes=" + QByteArray::number(pTmpl->m_baPayload.size()) +
        " Sum=" + QByteArray::number(announcedSum(checksum(pTmpl->m_baPayload))) + "\r\n";
    queueOutput(baHeader + pTmpl->m_baPayload);
}

} // namespace simulator_n
