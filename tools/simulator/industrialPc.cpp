// sensorSimulator_c: the industrial PC's side, the "kvc" requests of the communication library stand-in.
#include "sensorSimulator.h"

namespace simulator_n
{

void sensorSimulator_c::setIpcAnswer(ipcAnswer_t p_nAnswer, int p_nErrorCode)
{
    m_nIpcAnswer = p_nAnswer;
    m_nIpcErrorCode = p_nErrorCode;
}

bool sensorSimulator_c::isComServerOpen() const
{
    return m_bComServerOpen;
}

QString sensorSimulator_c::comServerModule() const
{
    return m_strComServerModule;
}

void sensorSimulator_c::handleIpcRequest(const QList<QByteArray>& p_lstWords)
{
    const QByteArray baVerb = p_lstWords.value(1);
    const bool bOpen = baVerb == "open" && p_lstWords.size() == 10;
    const bool bClose = baVerb == "close" && p_lstWords.size() == 3;
    if (!bOpen && !bClose)
    {
        reply("=NO Error=" + QByteArray::number(c_nIpcMalformed));
        return;
    }
    switch (m_nIpcAnswer)
    {
    case ipcSilent:
        return;
    case ipcRefuse:
        reply("=NO Error=" + QByteArray::number(m_nIpcErrorCode));
        return;
    case ipcAccept:
        break;
    }
    m_bComServerOpen = bOpen;
    if (bOpen)
    {
        m_strComServerModule = QString::fromLatin1(p_lstWords.at(3));
    }
    reply("=OK ComServer");
}

} // namespace simulator_n
