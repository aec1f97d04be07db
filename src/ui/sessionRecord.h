// What the tool learned and did while it ran, each fact with its time, for the service report. Kept in
// memory only and bounded: the oldest operations go first, their counts stay. Texts are kept as facts (the
// module's own answers, untranslated message sources), so the report can be written in any language.
#pragma once

#include "serialPort/portRecord.h"

#include <QDateTime>
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <QVector>

class sessionRecord_c
{
public:
    enum operation_t
    {
        opPortOpened,
        opEnrolment,
        opDeleteFinger,
        opDeletePerson,
        opDeleteAll,
        opComServerStart,
        opComServerStop,
        opAdapterLost,
        opWatchdogAlarm,
        opKinds
    };

    // The start result when the IPC's interface itself could not be opened (no library error code then).
    static constexpr int interfaceNotOpened = -1000000;

    struct operation_s
    {
        QDateTime dtWhen;
        operation_t nKind = opPortOpened;
        bool bOk = false;
        int nPid = -1;
        int nFid = -1;
        int nValue = 0;         // enrolment: quality; COM server: the library's error code
        QString strSubject;     // port, interface or module names as they were
        QString strDetail;      // enrolment refusal message (untranslated source) or the unexpected line
        QStringList lstAnswers; // a deletion's answers from the module, in order
        int nAnswersDue = 0;    // answers of a deletion still awaited
    };

    struct module_s
    {
        QDateTime dtRead;
        QString strFirmware;
        QString strBuildDate;
        QString strBuildTime;
        QString strTemplates;
        QString strCapacity;
    };

    struct port_s
    {
        QDateTime dtChosen;
        QString strName;
        bool bOpened = false;
        bool bListed = false; // the system lists the port: the adapter's details below are known
        serialPort_n::portRecord_c adapter;
    };

    struct identification_s
    {
        int nCount = 0;
        int nRecognised = 0;
        QDateTime dtLast;
        QString strLast; // the module's last answer line
    };

    struct matchStatistics_s
    {
        QDateTime dtWhen;
        QString strPid;
        int nCycles = 0;
        int anMatches[3] = {0, 0, 0}; // HIGH, NORMAL, LOW
    };

    struct templateRow_s
    {
        int nPid = 0;
        int nFid = 0;
        int nQuality = 0;
        int nMinutiae = 0;
    };

    struct templateTable_s
    {
        QDateTime dtAnalysed;
        int nListed = -1; // how many the module listed; -1: no analysis yet
        QVector<templateRow_s> vecRows;
    };

    sessionRecord_c();

    // At most this many operations are kept; older ones are dropped, their counts stay.
    void setOperationBound(int p_nBound);

    // Facts as they come; each takes the current time.
    void noteModule(const QString& p_strFirmware, const QString& p_strBuildDate,
                    const QString& p_strBuildTime, const QString& p_strTemplates,
                    const QString& p_strCapacity);
    void notePort(const QString& p_strName, const QList<serialPort_n::portRecord_c>& p_lstAvailable,
                  bool p_bOpened);
    void noteAdapterLost(const QString& p_strPort, const QString& p_strError);
    void noteWatchdogAlarm(const QString& p_strCommand);
    void noteUnexpectedResponse() { ++m_nUnexpected; }
    // The parameters of the enrolment command ("pid", "fid") and the line that ended it.
    void noteEnrolment(const QVariantMap& p_mapParams, const QString& p_strReply);
    // A deletion the technician confirmed (opDeleteFinger, opDeletePerson or opDeleteAll); the module's
    // answers to it follow through noteDeletionAnswer.
    void noteDeletion(operation_t p_nKind, int p_nPid, int p_nFid);
    void noteDeletionAnswer(const QString& p_strLine);
    void noteIdentification(const QString& p_strReply);
    void noteMatchStatistics(const QString& p_strPid, int p_nCycles, const qint32 p_anMatches[3]);
    // A complete picture whose checksum was right.
    void notePicture(const QImage& p_image);
    // An analysis whose template list named this many templates; the rows follow.
    void startTemplateTable(int p_nListed);
    void addTemplate(const templateRow_s& p_row);
    void noteComServerStart(const QString& p_strInterface, const QString& p_strModule, bool p_bOk,
                            int p_nError);
    void noteComServerStop(bool p_bOk, int p_nError);

    const QDateTime& started() const { return m_dtStarted; }
    const QList<operation_s>& operations() const { return m_lstOperations; }
    int operationTotal(operation_t p_nKind) const { return m_anTotals[p_nKind]; }
    int droppedOperations() const { return m_nDropped; }
    const module_s& module() const { return m_module; }
    const port_s& port() const { return m_port; }
    const identification_s& identifications() const { return m_identification; }
    const matchStatistics_s& matchStatistics() const { return m_matchStatistics; }
    int unexpectedResponses() const { return m_nUnexpected; }
    const QImage& picture() const { return m_imgPicture; }
    const QDateTime& pictureTime() const { return m_dtPicture; }
    const templateTable_s& templates() const { return m_templates; }
    // True once anything came from a module: information, a result, a picture or a template.
    bool heardFromModule() const;

private:
    operation_s& append(operation_t p_nKind);

    QDateTime m_dtStarted;
    int m_nBound = 2000;
    QList<operation_s> m_lstOperations;
    int m_anTotals[opKinds] = {};
    int m_nDropped = 0;
    module_s m_module;
    port_s m_port;
    identification_s m_identification;
    matchStatistics_s m_matchStatistics;
    int m_nUnexpected = 0;
    QImage m_imgPicture;
    QDateTime m_dtPicture;
    templateTable_s m_templates;
};
