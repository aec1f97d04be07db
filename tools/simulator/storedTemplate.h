// One fingerprint template held in the simulated module's store.
#pragma once

#include <QByteArray>

namespace simulator_n
{

class storedTemplate_c
{
public:
    // Payload offsets that the service tool reads from a template.
    static constexpr int c_nQualityOffset = 26;
    static constexpr int c_nMinutiaeOffset = 27;
    // Size of the payloads the simulator builds itself (addTemplate without a payload).
    static constexpr int c_nDefaultPayloadBytes = 512;

    int m_nPid = 0;
    int m_nFid = 0;
    int m_nGroup = 1;
    int m_nQuality = 0;
    int m_nMinutiae = 0;
    // The bytes sent after the "reg /get" header; byte 26 is the quality, byte 27 the minutiae count.
    QByteArray m_baPayload;

    // A deterministic payload of c_nDefaultPayloadBytes bytes for (pid, fid) that carries the quality
    // and the minutiae count at their offsets.
    static QByteArray makePayload(int p_nPid, int p_nFid, int p_nQuality, int p_nMinutiae);
};

} // namespace simulator_n
