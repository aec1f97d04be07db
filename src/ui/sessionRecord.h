// What the tool learned and did while it ran, each fact with its time, for the service report. Kept in
// memory only and bounded: the oldest operations go first, their counts stay. Facts are kept as the module
// said them and as the window read them (the same reading functions), so the report can put them in words
// in any language.
#pragma once

#include "serialPort/portRecord.h"

#include <QDateTime>
#include <QImage>
#include <QList>
#include <QMap>
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

    // Why a running enrolment was given up by the tool.
    enum cancel_t
    {
        cancelNone,
        cancelPersonalId, // the personal ID was changed
        cancelPageLeft,   // another mode was chosen
        cancelPort,       // a port was chosen
        cancelAdapter     // the adapter was lost
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
        int nValue = 0; // enrolment: quality (-1 none reported); COM server: error code; watchdog: command
        QString strSubject;     // port, interface or module names as they were
        QString strDetail;      // adapter lost: the system's error text
        QStringList lstAnswers; // the module's answers to the operation, in order
        int nAnswersDue = 0;    // deletion: answers still awaited
        bool bClosed = false;   // deletion: no more answers will come for it (cut off where some are due)
        cancel_t nCancelled = cancelNone; // enrolment given up before the module answered
        QString strLateAnswer;            // a cancelled enrolment: what the module answered afterwards
    };

    struct module_s
    {
        QDateTime dtRead;
        QString strPort; // the port the module answered on
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
        bool bLastRecognised = false;
        QString strLastPid; // the person the last recognised finger belongs to
        int nLastFid = -1;
    };

    // The matches of one person, per security level (0 HIGH, 1 NORMAL, 2 LOW): how many were measured and
    // how many the module confirmed.
    struct personMatches_s
    {
        QDateTime dtLast;
        int anMeasured[3] = {0, 0, 0};
        int anMatched[3] = {0, 0, 0};
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
        int nBadChecksums = 0;
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
    // The watchdog fired while this command waited for its reply.
    void noteWatchdogAlarm(int p_nCommand);
    // A line no command asked for; a late answer is the answer of an operation the tool aborted.
    void noteUnexpectedResponse() { ++m_nUnexpected; }
    void noteLateAnswer() { ++m_nLateAnswers; }
    // The parameters of the enrolment command ("pid", "fid") and the line that ended it.
    void noteEnrolment(const QVariantMap& p_mapParams, const QString& p_strReply);
    // An enrolment the tool gave up, and what the module answered for it afterwards.
    void noteEnrolmentCancelled(const QVariantMap& p_mapParams, cancel_t p_nWhy);
    void noteLateEnrolment(const QString& p_strLine);
    // A deletion the technician confirmed (opDeleteFinger, opDeletePerson or opDeleteAll); the module's
    // answers to it follow through noteDeletionAnswer. A deletion left before its end gets no more.
    void noteDeletion(operation_t p_nKind, int p_nPid, int p_nFid);
    void noteDeletionAnswer(const QString& p_strLine);
    void closeDeletions();
    void noteIdentification(const QString& p_strReply);
    // One match of the statistics: the personal ID it was sent for, its security level, its outcome.
    void noteMatch(const QString& p_strPid, int p_nLevel, bool p_bMatched);
    // A complete picture whose checksum was right; and one whose checksum was wrong.
    void notePicture(const QImage& p_image);
    void noteBadPicture() { ++m_nBadPictures; }
    // An analysis whose template list named this many templates; the rows follow.
    void startTemplateTable(int p_nListed);
    void addTemplate(const templateRow_s& p_row);
    void noteBadTemplate() { ++m_templates.nBadChecksums; }
    void noteComServerStart(const QString& p_strInterface, const QString& p_strModule, bool p_bOk,
                            int p_nError);
    void noteComServerStop(bool p_bOk, int p_nError);
    // The report was saved or printed: what was done up to now is on paper.
    void noteReportKept();

    const QDateTime& started() const { return m_dtStarted; }
    const QList<operation_s>& operations() const { return m_lstOperations; }
    int operationTotal(operation_t p_nKind) const { return m_anTotals[p_nKind]; }
    int droppedOperations() const { return m_nDropped; }
    const module_s& module() const { return m_module; }
    const port_s& port() const { return m_port; }
    const identification_s& identifications() const { return m_identification; }
    const QMap<QString, personMatches_s>& matches() const { return m_mapMatches; }
    int unexpectedResponses() const { return m_nUnexpected; }
    int lateAnswers() const { return m_nLateAnswers; }
    const QImage& picture() const { return m_imgPicture; }
    const QDateTime& pictureTime() const { return m_dtPicture; }
    int badPictures() const { return m_nBadPictures; }
    const templateTable_s& templates() const { return m_templates; }
    // True once anything came from a module: information, a result, a picture or a template.
    bool heardFromModule() const;
    // Operations were done (enrolments, deletions, COM server changes) since the report was last kept.
    bool workSinceReport() const;

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
    QMap<QString, personMatches_s> m_mapMatches;
    int m_nUnexpected = 0;
    int m_nLateAnswers = 0;
    QImage m_imgPicture;
    QDateTime m_dtPicture;
    int m_nBadPictures = 0;
    templateTable_s m_templates;
    bool m_bWorkSinceReport = false;
};
