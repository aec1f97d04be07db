#include "ui/sessionRecord.h"

#include "sensor/replyFormat.h"

namespace
{

// The answers the module gives to one confirmed deletion: a person's deletion asks for ten fingers.
int answersOf(sessionRecord_c::operation_t p_nKind)
{
    return p_nKind == sessionRecord_c::opDeletePerson ? 10 : 1;
}

bool isDeletion(sessionRecord_c::operation_t p_nKind)
{
    return p_nKind == sessionRecord_c::opDeleteFinger || p_nKind == sessionRecord_c::opDeletePerson ||
           p_nKind == sessionRecord_c::opDeleteAll;
}

} // namespace

sessionRecord_c::sessionRecord_c() : m_dtStarted(QDateTime::currentDateTime()) {}

void sessionRecord_c::setOperationBound(int p_nBound)
{
    m_nBound = qMax(1, p_nBound);
    while (m_lstOperations.size() > m_nBound)
    {
        m_lstOperations.removeFirst();
        ++m_nDropped;
    }
}

sessionRecord_c::operation_s& sessionRecord_c::append(operation_t p_nKind)
{
    if (m_lstOperations.size() >= m_nBound)
    {
        m_lstOperations.removeFirst();
        ++m_nDropped;
    }
    ++m_anTotals[p_nKind];
    operation_s operation;
    operation.dtWhen = QDateTime::currentDateTime();
    operation.nKind = p_nKind;
    m_lstOperations.append(operation);
    return m_lstOperations.last();
}

void sessionRecord_c::noteModule(const QString& p_strFirmware, const QString& p_strBuildDate,
                                 const QString& p_strBuildTime, const QString& p_strTemplates,
                                 const QString& p_strCapacity)
{
    // A new port clears the shown information before the new module answers: what was read stays, with
    // the port it was read on.
    if (p_strFirmware.isEmpty() && p_strBuildDate.isEmpty() && p_strBuildTime.isEmpty() &&
        p_strTemplates.isEmpty() && p_strCapacity.isEmpty())
    {
        return;
    }
    m_module = {QDateTime::currentDateTime(),
                m_port.strName,
                p_strFirmware,
                p_strBuildDate,
                p_strBuildTime,
                p_strTemplates,
                p_strCapacity};
}

void sessionRecord_c::notePort(const QString& p_strName,
                               const QList<serialPort_n::portRecord_c>& p_lstAvailable, bool p_bOpened)
{
    m_port = port_s();
    m_port.dtChosen = QDateTime::currentDateTime();
    m_port.strName = p_strName;
    m_port.bOpened = p_bOpened;
    for (const serialPort_n::portRecord_c& port : p_lstAvailable)
    {
        // The system names ports without "/dev/", the technician may type the whole path.
        if (port.m_strName == p_strName || QStringLiteral("/dev/") + port.m_strName == p_strName)
        {
            m_port.bListed = true;
            m_port.adapter = port;
            break;
        }
    }
    operation_s& operation = append(opPortOpened);
    operation.strSubject = p_strName;
    operation.bOk = p_bOpened;
}

void sessionRecord_c::noteAdapterLost(const QString& p_strPort, const QString& p_strError)
{
    operation_s& operation = append(opAdapterLost);
    operation.strSubject = p_strPort;
    operation.strDetail = p_strError;
}

void sessionRecord_c::noteWatchdogAlarm(int p_nCommand)
{
    append(opWatchdogAlarm).nValue = p_nCommand;
}

void sessionRecord_c::noteEnrolment(const QVariantMap& p_mapParams, const QString& p_strReply)
{
    operation_s& operation = append(opEnrolment);
    operation.nPid = p_mapParams.value(QStringLiteral("pid")).toInt();
    operation.nFid = p_mapParams.value(QStringLiteral("fid")).toInt();
    operation.lstAnswers << p_strReply;
    // Read as the window reads it: only a success line with a quality above 0 has enrolled the finger.
    operation.nValue = sensor_n::enrolmentQuality(p_strReply);
    operation.bOk = p_strReply.startsWith(QLatin1String("=OK Enroll")) && operation.nValue > 0;
    m_bWorkSinceReport = true;
}

void sessionRecord_c::noteEnrolmentCancelled(const QVariantMap& p_mapParams, cancel_t p_nWhy)
{
    operation_s& operation = append(opEnrolment);
    operation.nPid = p_mapParams.value(QStringLiteral("pid")).toInt();
    operation.nFid = p_mapParams.value(QStringLiteral("fid")).toInt();
    operation.nValue = -1;
    operation.nCancelled = p_nWhy;
    m_bWorkSinceReport = true;
}

void sessionRecord_c::noteLateEnrolment(const QString& p_strLine)
{
    for (auto it = m_lstOperations.rbegin(); it != m_lstOperations.rend(); ++it)
    {
        if (it->nKind == opEnrolment)
        {
            // Only the enrolment given up last can still be answered; it says what the module made of it.
            if (it->nCancelled != cancelNone && it->strLateAnswer.isEmpty())
            {
                it->strLateAnswer = p_strLine;
                it->nValue = sensor_n::enrolmentQuality(p_strLine);
                it->bOk = p_strLine.startsWith(QLatin1String("=OK Enroll")) && it->nValue > 0;
            }
            return;
        }
    }
}

void sessionRecord_c::noteDeletion(operation_t p_nKind, int p_nPid, int p_nFid)
{
    if (!isDeletion(p_nKind))
    {
        return;
    }
    // A deletion still waiting for answers got all it will: only the newest one takes answers.
    closeDeletions();
    operation_s& operation = append(p_nKind);
    operation.nPid = p_nKind == opDeleteAll ? -1 : p_nPid;
    operation.nFid = p_nKind == opDeleteFinger ? p_nFid : -1;
    operation.nAnswersDue = answersOf(p_nKind);
    m_bWorkSinceReport = true;
}

void sessionRecord_c::noteDeletionAnswer(const QString& p_strLine)
{
    for (auto it = m_lstOperations.rbegin(); it != m_lstOperations.rend(); ++it)
    {
        if (isDeletion(it->nKind) && !it->bClosed && it->nAnswersDue > 0)
        {
            it->lstAnswers << p_strLine.trimmed();
            it->bOk = it->bOk || p_strLine.startsWith(QLatin1String("=OK"));
            it->bClosed = --it->nAnswersDue == 0;
            return;
        }
    }
}

void sessionRecord_c::closeDeletions()
{
    for (operation_s& operation : m_lstOperations)
    {
        operation.bClosed = operation.bClosed || isDeletion(operation.nKind);
    }
}

void sessionRecord_c::noteIdentification(const QString& p_strReply)
{
    const sensor_n::searchResult_t result = sensor_n::readSearchResult(p_strReply);
    ++m_identification.nCount;
    m_identification.nRecognised += result.recognised() ? 1 : 0;
    m_identification.dtLast = QDateTime::currentDateTime();
    m_identification.bLastRecognised = result.recognised();
    m_identification.strLastPid = result.recognised() ? result.strPid : QString();
    m_identification.nLastFid = result.recognised() ? result.nFid : -1;
}

void sessionRecord_c::noteMatch(const QString& p_strPid, int p_nLevel, bool p_bMatched)
{
    if (p_nLevel < 0 || p_nLevel > 2)
    {
        return;
    }
    personMatches_s& person = m_mapMatches[p_strPid];
    person.dtLast = QDateTime::currentDateTime();
    ++person.anMeasured[p_nLevel];
    person.anMatched[p_nLevel] += p_bMatched ? 1 : 0;
}

void sessionRecord_c::notePicture(const QImage& p_image)
{
    m_imgPicture = p_image;
    m_dtPicture = QDateTime::currentDateTime();
}

void sessionRecord_c::startTemplateTable(int p_nListed)
{
    m_templates = templateTable_s();
    m_templates.dtAnalysed = QDateTime::currentDateTime();
    m_templates.nListed = p_nListed;
}

void sessionRecord_c::addTemplate(const templateRow_s& p_row)
{
    // Rows come only for templates of the list; a module that sends more cannot grow the record past it.
    if (m_templates.vecRows.size() < m_templates.nListed)
    {
        m_templates.vecRows.append(p_row);
    }
}

void sessionRecord_c::noteComServerStart(const QString& p_strInterface, const QString& p_strModule,
                                         bool p_bOk, int p_nError)
{
    operation_s& operation = append(opComServerStart);
    operation.strSubject =
        p_strModule.isEmpty() ? p_strInterface : p_strInterface + QStringLiteral(" / ") + p_strModule;
    operation.bOk = p_bOk;
    operation.nValue = p_nError;
    m_bWorkSinceReport = true;
}

void sessionRecord_c::noteComServerStop(bool p_bOk, int p_nError)
{
    operation_s& operation = append(opComServerStop);
    operation.bOk = p_bOk;
    operation.nValue = p_nError;
    m_bWorkSinceReport = true;
}

void sessionRecord_c::noteReportKept()
{
    m_bWorkSinceReport = false;
}

bool sessionRecord_c::workSinceReport() const
{
    return m_bWorkSinceReport;
}

bool sessionRecord_c::heardFromModule() const
{
    if (!m_module.dtRead.isNull() || !m_imgPicture.isNull() || m_templates.nListed >= 0 ||
        m_identification.nCount > 0 || !m_mapMatches.isEmpty())
    {
        return true;
    }
    if (m_anTotals[opEnrolment] > 0)
    {
        return true;
    }
    for (const operation_s& operation : m_lstOperations)
    {
        if (!operation.lstAnswers.isEmpty())
        {
            return true;
        }
    }
    return false;
}
