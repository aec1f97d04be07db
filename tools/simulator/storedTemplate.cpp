#include "storedTemplate.h"

#include <QtGlobal>

namespace simulator_n
{

QByteArray storedTemplate_c::makePayload(int p_nPid, int p_nFid, int p_nQuality, int p_nMinutiae)
{
    QByteArray baPayload(c_nDefaultPayloadBytes, '\0');
    // A small linear congruential generator keeps payloads different per finger and equal between runs.
    quint32 nState = 0x9E3779B9u ^ (quint32(p_nPid) * 16u + quint32(p_nFid));
    for (int i = 0; i < baPayload.size(); ++i)
    {
        nState = nState * 1664525u + 1013904223u;
        baPayload[i] = char(nState >> 24);
    }
    baPayload[c_nQualityOffset] = char(qBound(0, p_nQuality, 255));
    baPayload[c_nMinutiaeOffset] = char(qBound(0, p_nMinutiae, 255));
    return baPayload;
}

} // namespace simulator_n
