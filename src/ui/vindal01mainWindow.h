// The main window: it carries the whole dialogue with the fingerprint sensor module.
#pragma once

#include "sensor/imageReception.h"
#include "sensor/sensorProtocol.h"
#include "ui/humanHandWidget.h"
#include "ui/serviceReport.h"
#include "ui/sessionRecord.h"

#include <QByteArrayList>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QPointer>
#include <QVariantMap>
#include <QVector>

class QAction;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;
class QTextBrowser;
class QTimer;
class QTreeWidget;
class serialLogReader_c;

namespace serialPort_n
{
class loggingSerialPort_c;
class selector_c;
} // namespace serialPort_n

class vindal01mainWindow_c : public QMainWindow
{
    Q_OBJECT

public:
    using command_t = sensor_n::command_t;
    using state_t = sensor_n::state_t;
    using mode_t = sensor_n::mode_t;

    // One entry of the state stack: the state and the running command when a sub-state was entered.
    struct prevState_t
    {
        qint32 nState;
        qint32 nCommand;
    };

    // The state stack keeps at most this many pairs, the most recent ones.
    static constexpr int maxStateStackSize = 1024;

    // How much the stores that a long run fills keep at most. The defaults suit a shift; a soak run sets
    // them low so that every store reaches its bound within minutes.
    struct storeBounds_t
    {
        int nDiagnosticLines = 10000;
        int nStateStack = maxStateStackSize;
        qint64 nReplyBytes = 1024 * 1024;
    };
    void setStoreBounds(const storeBounds_t& p_bounds);

    explicit vindal01mainWindow_c(QWidget* parent = nullptr);
    ~vindal01mainWindow_c() override;

    // The names of the serial ports with exactly these USB ids, in the system's order.
    static QStringList portNamesByUsbId(quint16 p_nVendorId, quint16 p_nProductId);

    bool sendCommand(command_t p_nCommand, const QVariantMap& p_mapParams);
    void clearDeviceInfo();
    void showDeviceInfo();
    void pushState();
    void popSubState();
    void showErrorMessage(const QString& p_strText);
    // A line recorded in the unexpected-responses window; p_bUnexpected false for one the dialogue knew to
    // expect (the late answer of an operation it aborted, an enrolment's success line), which the session
    // record does not count as unexpected.
    void addUnexpectedResponse(const QString& p_strText, bool p_bUnexpected = true);
    void processData();
    void commandCompleted(command_t p_nCommand, const QString& p_strReply, bool p_bAborted);

    // Read access for diagnostics and tests.
    mode_t mode() const { return m_nMode; }
    state_t state() const { return m_nState; }
    command_t command() const { return m_nCommand; }
    const QVariantMap& commandParams() const { return m_mapCommandParams; }
    const QByteArray& received() const { return m_baReceived; }
    const QVector<prevState_t>& stateStack() const { return m_vecPrevStates; }
    // True while a chain of commands runs: a sub-state, or a command whose reply is awaited.
    bool chainRunning() const;
    serialPort_n::loggingSerialPort_c* serialPort() const { return m_pSerialPort; }
    serialPort_n::selector_c* portSelector() const { return m_pPortSelector; }
    QAction* startComServerAction() const { return m_pActStartComServer; }
    QAction* stopComServerAction() const { return m_pActStopComServer; }
    QAction* serialLoggingAction() const { return m_pActSerialLogging; }
    QAction* watchdogAction() const { return m_pActWatchdog; }
    QAction* serviceReportAction() const { return m_pActServiceReport; }
    // What this run learned and did, for the service report.
    const sessionRecord_c& sessionRecord() const { return m_sessionRecord; }
    sessionRecord_c& sessionRecord() { return m_sessionRecord; }
    QLabel* portStateLabel() const { return m_pLblPortState; }
    QTextBrowser* unexpectedResponsesWindow() const { return m_pUnexpectedResponses; }
    QPlainTextEdit* serialCommandsWindow() const { return m_pSerialCommands; }
    QTextBrowser* serialPortsWindow() const { return m_pSerialPorts; }
    serialLogReader_c* serialErrorLogWindow() const { return m_pSerialErrorLog; }
    QTimer* watchdogTimer() const { return m_pWatchdogTimer; }
    QTimer* idleTimer() const { return m_pIdleTimer; }

protected:
    void closeEvent(QCloseEvent* p_pEvent) override;

private slots:
    void slotInfo();
    void slotModeSelected(int p_nMode);
    void slotPortChanged(QString p_strPort);
    void slotReadReady();
    void slotAbortSerialCommand();
    void slotCommandAborted();
    void slotSetState(state_t p_nStateId);
    void slotEnrollStart();
    void slotStartComServer(QString p_strIpcDev, QString p_strDevOnIpc);
    void slotAutoStartComServer();
    void slotStartComServer();
    void slotStopComServer();
    void slotEnrollPidChanged(QString p_strPid);
    void slotEnrollFingerClicked(humanHandWidget_c::hand_t p_nHand, humanHandWidget_c::finger_t p_nFinger);
    void slotDeletePidChanged(QString p_strPid);
    void slotDeleteFingerClicked(humanHandWidget_c::hand_t p_nHand, humanHandWidget_c::finger_t p_nFinger);
    void slotDeleteSingleFinger();
    void slotDeletePersonFingers();
    void slotDeleteAllFingers();
    void slotMatchIdStatisticsPidChanged(QString p_strPid);
    void slotWatchdog();
    void slotIdle();
    void slotDebugEnableSerialLogging();
    void slotServiceReport();

    // Not part of the window's own slot table: a port that failed while open.
    void slotPortError();
    // The line stayed quiet after an abort byte (or long enough was waited): the held-back writes go out.
    void slotLineQuiet();
    // The time an aborted operation had for its late answer is over: a command held for it goes out.
    void slotLateAnswerWindow();

private:
    friend class vindal01mainWindowTester_c;

    void buildToolBar();
    void buildModeButtons(class QVBoxLayout* p_pLayout);
    void buildPages();
    void buildDebugMenu();
    void showPortLamp(const QPixmap& p_pixLamp, const QString& p_strToolTip);

    // Port traffic: writes held back while the line settles after an abort byte, and reads.
    void writeOrHold(const QByteArray& p_baBytes, command_t p_nCommand = command_t::NoCommand);
    void releaseHeldWrites();
    void writeNow(const QByteArray& p_baBytes, command_t p_nCommand);
    void startSettling();
    void watchLine();
    void dropHeldWrites();
    bool readPending();
    void clearReplyBuffer();
    QStringList takeNewReplyLines();
    // Late answers: an abort byte may leave the operation it aborts to finish and answer later.
    void noteAbort();
    // How long a command with these answers must still wait for a late answer (0: not at all).
    qint64 lateAnswerWait(command_t p_nCommand);
    bool takeLateAnswer(const QString& p_strLine);
    // Lines that belong to no reply: recorded as unexpected (where p_bRecord or a late answer), and a late
    // answer they are no longer awaited.
    void strayLine(const QString& p_strLine, bool p_bRecord);
    void takeStrayBytes(const QByteArray& p_baBytes);
    // An abort (or its completion) that runs later only if no other command was sent meanwhile.
    void abortLater();

    // Reply parsing, one reader per kind of reply.
    void processReplyLines(const QStringList& p_lstLines);
    void processRegListLines(const QStringList& p_lstLines);
    void processEnrollLines(const QStringList& p_lstLines);
    // Before a payload's header, whole lines that are other commands' answers are no part of it.
    void dropForeignLines();
    void readTemplate();
    void addTemplateRow(const QByteArray& p_baPayload);
    void readImage();

    // Completion rows, one per state.
    void completeInState(command_t p_nCommand, const QString& p_strReply, bool p_bAborted);
    void completeQueryDevice(command_t p_nCommand, const QString& p_strReply);
    void completeScan(command_t p_nCommand, const QString& p_strReply, bool p_bAborted);
    void completeAnalyseSensor(command_t p_nCommand, const QString& p_strReply, bool p_bAborted);
    void completeSubState(command_t p_nCommand, const QString& p_strReply, bool p_bAborted);
    void requestNextTemplate();
    void unexpectedCommand(command_t p_nCommand, const QString& p_strReply, bool p_bAborted);
    void unexpectedMode(const char* p_szWhat, command_t p_nCommand, const QString& p_strReply,
                        bool p_bAborted);

    // What may be pressed, derived from the dialogue's state; the only place that enables or disables the
    // controls a running chain or a closed port blocks.
    void updateControls();
    bool portOpen() const;
    bool deletionRunning() const;
    bool enrolmentRunning() const;
    // Whatever chain runs is given up: its sub-states go, the page's own state comes back. An enrolment or
    // a deletion cut off by it is recorded as such.
    void leaveChain(sessionRecord_c::cancel_t p_nWhy);
    // The page of the current mode at rest: its state entered, its first command sent.
    void enterModeState();

    // Operations.
    // The finger list of the person in a page's field; no walk without a personal ID.
    void readFingerList(const QString& p_strPid);
    void showFingerCollection(humanHandWidget_c* p_pLeft, humanHandWidget_c* p_pRight);
    void showDeleteFingers();
    void showEnrollResult(const QString& p_strReply);
    bool showIdentificationResult(const QString& p_strReply);
    void matchStatisticsStep(bool p_bIdentified);

    // The sensor dialogue.
    mode_t m_nMode = mode_t::Info;
    state_t m_nState = state_t::Initial;
    QVector<prevState_t> m_vecPrevStates;
    storeBounds_t m_storeBounds;
    command_t m_nCommand = command_t::NoCommand;
    QVariantMap m_mapCommandParams;
    qint32 m_nRegCount = 0;
    QStringList m_lstRegList;
    // Counts the steps of the dialogue: every command sent (Cancel aside), mode change and port change or
    // loss. A walk over reply lines, a timer, a wait or a box goes on only while it is unchanged: otherwise
    // something else has taken the dialogue over meanwhile.
    quint32 m_nDialogueStep = 0;
    // A command was sent and its completion has not come yet.
    bool m_bReplyAwaited = false;
    qint32 m_nSecurityLevel = 0;
    serialPort_n::selector_c* m_pPortSelector = nullptr;
    serialPort_n::loggingSerialPort_c* m_pSerialPort = nullptr;
    QTimer* m_pWatchdogTimer = nullptr;
    QTimer* m_pIdleTimer = nullptr;
    QByteArray m_baReceived;
    // The reply lines already handled: bytes of m_baReceived before m_nParsedBytes, the lines themselves
    // (RegList counts them) and where the search for the next line end goes on.
    int m_nParsedBytes = 0;
    int m_nLineSearchFrom = 0;
    // The template list's lines so far.
    QStringList m_lstReplyLines;
    // After an abort byte the rest of the interrupted reply is still on its way: until the line is quiet,
    // received bytes are logged and shown but kept out of the reply, and writes wait in order.
    bool m_bSettling = false;
    QTimer* m_pQuietTimer = nullptr;
    QElapsedTimer m_settleClock;
    QElapsedTimer m_quietClock;
    struct heldWrite_t
    {
        QByteArray baBytes;
        command_t nCommand; // NoCommand for bytes that are no command
        quint32 nStep;      // the dialogue step the write was asked for in
    };
    QList<heldWrite_t> m_lstHeldWrites;
    // Bytes received before the running command went out: no part of any reply.
    QByteArray m_baStray;
    // Operations aborted while the module worked on them, whose answer may still come until nDueBy (ms on
    // m_lateAnswerClock).
    struct lateAnswer_t
    {
        command_t nCommand;
        qint64 nDueBy;
    };
    QVector<lateAnswer_t> m_vecLateAnswers;
    QElapsedTimer m_lateAnswerClock;
    QTimer* m_pLateAnswerTimer = nullptr;
    // A checksum failure of the running transfer is recorded once, however often more bytes re-read it.
    bool m_bBadChecksumNoted = false;
    // The command whose line went out last, and whether it has answered (or its late answer is awaited).
    command_t m_nOnWire = command_t::NoCommand;
    bool m_bOnWireAnswered = true;
    // Held commands asked for before this dialogue step belong to a chain given up.
    quint32 m_nChainLeftAt = 0;
    bool m_bInReadSlot = false;
    // What the image reader already knows of m_baReceived; reset wherever the buffer is emptied.
    sensor_n::imageReception_c m_imageReception;
    qint32 m_nDeletePid = 0;
    QByteArray m_baFingerFlags;
    // The person whose whole finger list m_baFingerFlags holds, read on this page visit; -1 for none.
    qint32 m_nFlagsPid = -1;
    // Match statistics: cycles and matches per security level.
    qint32 m_nMatchCycles = 0;
    qint32 m_anMatchCount[3] = {0, 0, 0};
    QString m_strFirmware;
    QString m_strBuildTime;
    QString m_strBuildDate;
    QString m_strRegCount;
    QString m_strCapacity;
    sessionRecord_c m_sessionRecord;
    // The visit the report is made for, as typed for the last report of this run.
    serviceReport_n::visit_s m_serviceVisit;
    QTextBrowser* m_pUnexpectedResponses = nullptr;
    QAction* m_pActSerialLogging = nullptr;
    QAction* m_pActWatchdog = nullptr;
    QPlainTextEdit* m_pSerialCommands = nullptr;
    serialLogReader_c* m_pSerialErrorLog = nullptr;

    // Widgets.
    QAction* m_pActStartComServer = nullptr;
    QAction* m_pActStopComServer = nullptr;
    QAction* m_pActServiceReport = nullptr;
    QLabel* m_pLblPortState = nullptr;
    QStackedWidget* m_pPageStack = nullptr;
    int m_anPageIndex[7] = {0, 0, 0, 0, 0, 0, 0};
    QLabel* m_pLblFirmware = nullptr;
    QLabel* m_pLblBuildDate = nullptr;
    QLabel* m_pLblBuildTime = nullptr;
    QLabel* m_pLblCapacity = nullptr;
    QLineEdit* m_pLeEnrollPid = nullptr;
    humanHandWidget_c* m_pEnrollHandLeft = nullptr;
    humanHandWidget_c* m_pEnrollHandRight = nullptr;
    QLineEdit* m_pLeEnrollFid = nullptr;
    QLineEdit* m_pLeEnrollGroup = nullptr;
    QPushButton* m_pBtnEnrollStart = nullptr;
    QLabel* m_pLblImage = nullptr;
    humanHandWidget_c* m_pTrainHandLeft = nullptr;
    humanHandWidget_c* m_pTrainHandRight = nullptr;
    QLabel* m_pLblTrainPid = nullptr;
    QLabel* m_pLblTrainFinger = nullptr;
    QLineEdit* m_pLeDeletePid = nullptr;
    humanHandWidget_c* m_pDeleteHandLeft = nullptr;
    humanHandWidget_c* m_pDeleteHandRight = nullptr;
    QLineEdit* m_pLeDeleteFid = nullptr;
    QPushButton* m_pBtnDeleteSingle = nullptr;
    QPushButton* m_pBtnDeletePerson = nullptr;
    QPushButton* m_pBtnDeleteAll = nullptr;
    QTreeWidget* m_pTreeTemplates = nullptr;
    QLineEdit* m_pLeMatchIdPid = nullptr;
    QTextBrowser* m_pMatchIdStatistics = nullptr;
    QTextBrowser* m_pSerialPorts = nullptr;
};
