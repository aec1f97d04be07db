// A simulated fingerprint sensor module that answers the service tool's line protocol on a pseudo-terminal.
#pragma once

#include "pseudoTerminal.h"
#include "storedTemplate.h"
#include "templateStore.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPair>
#include <QSet>
#include <QString>

class QTimer;

namespace simulator_n
{

/*
 * How to use it
 * -------------
 *   simulator_n::sensorSimulator_c sim;
 *   sim.addTemplate(7, 0);              // person 7, left little finger
 *   sim.setFinger(7, 0);                // that finger lies on the sensor
 *   QVERIFY(sim.open());                // creates the pseudo-terminal
 *   port.setPortName(sim.slavePath());  // a QSerialPort in the same thread and event loop
 *   ...
 *   QSignalSpy spy(&sim, &simulator_n::sensorSimulator_c::commandReceived);
 *   QTRY_COMPARE(sim.commands(), QByteArrayList({"\x03", "model_fw", "date"}));
 *
 * The simulator serves the master side of the pseudo-terminal with a QSocketNotifier in the event loop of
 * the thread that owns it; it never blocks. It keeps its own descriptor of the slave side open so that
 * a peer may open and close the slave as often as it likes without the master seeing a hang-up.
 *
 * A caller that blocks its own thread while it waits for an answer (the communication library stand-in,
 * which the tool calls on its GUI thread) needs the simulator on another thread: configure and open() it,
 * then moveToThread(&thread), connect QThread::finished to deleteLater and start the thread. From then on
 * reach it only through calls queued to that thread, for example
 *   QMetaObject::invokeMethod(pSim, [pSim]() { pSim->setIpcAnswer(...); }, Qt::BlockingQueuedConnection);
 * and end with thread.quit() and thread.wait().
 *
 * Wire behaviour (115200 8N1 is what the peer sets; the pseudo-terminal itself ignores the rate):
 * - Commands end at CR, LF or CR LF (a terminal program sends CR alone). Empty lines are ignored.
 *   The byte 0x03 is the abort byte: it ends any partly received line and stops a running search,
 *   matchId, enrolment or a scan still being processed without a reply (but see late answers below); in
 *   real timing it also cuts the reply being sent after abortTail() more bytes.
 * - Replies end with CR LF. Every command and its reply:
 *     model_fw            "=OK <firmware>"
 *     date                "=OK <build date>"
 *     time                "=OK <build time>"
 *     LedOn / LedOff      "=OK LedOn" / "=OK LedOff"
 *     scan                "=OK <scan value>" with a finger, "=NO NoFinger" without
 *     reg /count          "=OK <templates in the store>"
 *     max                 "=OK <capacity>"
 *     temp_set <f>        "=OK <f>" for f 1 or 2, "=NO CMDERR" otherwise
 *     search <group>      "=OK Ready"; once a finger lies on the sensor "=OK FP", then
 *                         "=OK Search ID=<pid>, BKNum=<fid>" (or "=OK Search2 ID=..." when
 *                         setSearchTwo(true)) if that finger is stored (in that group, group 0 = all),
 *                         else "=NO Search NotFound"; "=NO Search Timeout" after the search time-out.
 *     matchId <pid>       "=OK Ready"; once a finger lies on the sensor "=OK FP", then
 *                         "=OK MatchId ID=<pid>, BKNum=<fid>" if the finger belongs to <pid>, is stored
 *                         and the current security level is one at which it matches; else
 *                         "=NO MatchId NotMatched"; "=NO MatchId Timeout" after the search time-out.
 *     FpSecurity <n>      "=OK" for n 0..2 (the level is kept), "=NO FpSecurity Range" otherwise
 *     read_image<mode>    "\r\n=OK Image Width=<w> Height=<h> Sum=<s>\r\n" followed by w*h bytes, row
 *                         after row, bottom row first (mode 1 or 2; other modes "\r\n=NO Image Mode").
 *                         The leading CR LF is the byte the peer expects before the header.
 *     reg /list           one line "=LIST <pid> <group> <fid> <quality>" per stored template, in order
 *                         of pid and fid, then one empty line (CR LF) that closes the list.
 *     reg /get <pid> <fid> "=OK Template ID=<pid> BKNum=<fid> Bytes=<n> Sum=<s>" then the n payload
 *                         bytes; "=NO Unreg" when not stored.
 *     enroll_dupfp <pid> <group> <fid>
 *                         refusals at once: "=NO ID=0" (pid 0), "=NO Group=0" (group 0),
 *                         "=NO BKNum=OVER" (fid outside 0..9), "=NO DoubleFP" (pid/fid already
 *                         stored), "=NO Enroll Full" (store full), "=NO CMDERR" (missing arguments).
 *                         Otherwise "=OK Ready", then per placement "=FP 1", "=FP 2", "=FP 3" and
 *                         finally "=OK Enroll ID=<pid> Group=<group> BKNum=<fid> Quality=<q>"; the
 *                         template is stored then. If the finger placed is already stored under
 *                         another pid/fid, the first placement ends it with "=NO DoubleFP".
 *     reg /find <pid> <fid> "=OK Group=<group>" when stored, "=NO Unreg" otherwise
 *     reg /clear          "=OK Clear" (store emptied)
 *     reg /del <pid> <fid> "=OK Del" when it was stored, "=NO Unreg" otherwise
 *     anything else       "=NO CMDERR", also reg /get, /find and /del with fewer than two arguments
 * - Numeric arguments that are not numbers count as 0 (so "enroll_dupfp x 1 3" gives "=NO ID=0").
 * - Checksums are the 32-bit wrapping sum of the payload bytes taken as unsigned 8-bit values.
 * - A command that arrives while a search, matchId or enrolment waits ends that operation silently first.
 * - Late answers (setLateAnswer(n) with n >= 0): an abort byte that arrives while a search, matchId or
 *   enrolment waits (for a finger, its search or match delay, or a placement) detaches that operation
 *   instead of stopping it. It no longer runs, so what follows is executed as usual and neither overtakes
 *   nor ends it; n ms after the abort it answers once, all its lines in one piece behind the output
 *   queued then:
 *     search / matchId    the result for the finger that lay on the sensor at the abort, as above (matchId
 *                         with the pid it was started with and the security level of that moment), with
 *                         "=OK FP" first if it was not sent yet; with no finger there "=NO Search Timeout"
 *                         / "=NO MatchId Timeout" alone.
 *     enroll_dupfp        the next placement: "=FP <k>", k = placements done + 1 (the first may end it
 *                         with "=NO DoubleFP" instead); the third also ends the enrolment as usual, the
 *                         template stored then. After a late first or second placement nothing follows.
 *   Everything else the abort does stays (lastAbortAt(), the abort tail, a scan still processed stops).
 *   Every such abort makes its own late answer, several may be pending; a further abort cancels none,
 *   vanish() drops them all. An abort swallowed by setSilent or silenceNextCommands detaches nothing.
 *
 * The industrial PC side (the communication library stand-in's requests, see kvcomStandIn.h):
 *     "kvc open <address> <module> <baud> <databits> <parity> <stopbits> <flow> <timeout s>"
 *     "kvc close <address>"
 *   answered "=OK ComServer" (accept), "=NO Error=<code>" (refuse) or nothing (silent),
 *   as setIpcAnswer says. A "kvc" line with the wrong number of words is answered
 *   "=NO Error=<c_nIpcMalformed>" whatever setIpcAnswer says (but not while silent).
 *
 * Recording: every command line (without its line end, empty lines left out), every abort byte (as the
 * entry "\x03") and every stand-in request is appended to commands() and announced by commandReceived(),
 * also while the simulator is silent. received() holds every byte read from the master.
 */
class sensorSimulator_c : public QObject
{
    Q_OBJECT

public:
    // How the placements of an enrolment happen.
    enum placement_t
    {
        placementAutomatic, // each placement follows the previous one after placementDelay() ms
        placementManual     // each placement waits for placeFinger()
    };

    // How the simulated industrial PC answers the stand-in's "kvc" requests.
    enum ipcAnswer_t
    {
        ipcAccept, // "=OK ComServer"
        ipcRefuse, // "=NO Error=<code>"
        ipcSilent  // no answer at all
    };

    // The error code of the answer to a "kvc" request that is not well formed (wrong number of words).
    static constexpr int c_nIpcMalformed = 1;

    // The rate of the real line: 115200 baud, 8N1, ten bit times per byte (about 86.8 us).
    static constexpr int c_nLineBaud = pseudoTerminal_c::c_nLineBaud;

    explicit sensorSimulator_c(QObject* p_pParent = nullptr);
    ~sensorSimulator_c() override;

    // --- Pseudo-terminal -----------------------------------------------------------------------------

    // Opens a new pseudo-terminal (raw mode, master non-blocking) and starts serving it.
    // Returns false (errorString() says why) when it cannot, or when it is already open.
    bool open();
    // The path of the slave side, for example "/dev/pts/7"; empty while closed.
    QString slavePath() const;
    // True between a successful open() and vanish() (or the destructor).
    bool isOpen() const;
    // The reason of the last failure of open().
    QString errorString() const;
    // Closes master and slave: the peer's port sees the device disappear (read error, hang-up). Queued
    // output, a running operation and pending late answers are dropped. Emits vanished(). open() may be
    // called again later (it gives a new path).
    void vanish();

    // --- Module identity -----------------------------------------------------------------------------

    // The texts of "model_fw", "date" and "time" (sent after "=OK "), with their getters.
    void setFirmware(const QString& p_strFirmware); // default "VD01 V2.13"
    QString firmware() const;
    void setBuildDate(const QString& p_strDate); // default "Mar 14 2019"
    QString buildDate() const;
    void setBuildTime(const QString& p_strTime); // default "10:42:17"
    QString buildTime() const;
    // Number of templates the store can hold, the answer to "max" (default 500). Does not drop templates
    // already stored; addTemplate and enrolments are refused while the store is full.
    void setCapacity(int p_nCapacity);
    int capacity() const;

    // --- Template store ------------------------------------------------------------------------------

    // Stores a template for person p_nPid, finger p_nFid (0..9). With an empty payload a deterministic
    // payload of storedTemplate_c::c_nDefaultPayloadBytes bytes is built; a given payload is sent as it
    // is, with quality and minutiae written into it at bytes 26 and 27 when it is long enough.
    // Returns false (and stores nothing) when pid is 0, fid is outside 0..9, group is 0, the finger
    // is already stored or the store is full.
    bool addTemplate(int p_nPid, int p_nFid, int p_nQuality = 80, int p_nMinutiae = 42, int p_nGroup = 1,
                     const QByteArray& p_baPayload = QByteArray());
    // True when the template of person p_nPid, finger p_nFid is stored.
    bool hasTemplate(int p_nPid, int p_nFid) const;
    // The stored template, or a default one (pid 0) when there is none.
    storedTemplate_c storedTemplate(int p_nPid, int p_nFid) const;
    // Removes one template; false when it was not stored.
    bool removeTemplate(int p_nPid, int p_nFid);
    // Empties the store (as "reg /clear" does).
    void clearTemplates();
    // Number of stored templates, the answer to "reg /count".
    int templateCount() const;
    // (pid, fid) of every stored template, in order of pid and fid (the order of "reg /list").
    QList<QPair<int, int>> templateKeys() const;

    // --- The finger on the sensor --------------------------------------------------------------------

    // A finger of person p_nPid, finger id p_nFid, lies on the sensor. It is found by search and matchId
    // only when that template is stored. A waiting search or matchId finishes now.
    void setFinger(int p_nPid, int p_nFid);
    // A finger lies on the sensor that belongs to nobody in the store.
    void setStrangerFinger();
    // No finger on the sensor: scan answers "=NO NoFinger", search and matchId wait.
    void removeFinger();
    // True while a finger (known or stranger) lies on the sensor.
    bool isFingerPresent() const;
    int fingerPid() const; // 0 for no finger or a stranger
    int fingerFid() const; // -1 for no finger or a stranger
    // The number after "=OK" in the scan reply while a finger lies on the sensor (default 1).
    void setScanValue(int p_nValue);
    // Search reports "=OK Search2 ..." instead of "=OK Search ..." (default off).
    void setSearchTwo(bool p_bOn);
    // The security levels (0..2) at which the finger matches in matchId (default all three). Example:
    // setMatchingSecurityLevels({0}) lets only level 0 match.
    void setMatchingSecurityLevels(const QSet<int>& p_setLevels);
    // The level last set with FpSecurity (default 1).
    int securityLevel() const;
    // The state last set with LedOn / LedOff (default off).
    bool isLedOn() const;

    // --- Timing of the operations --------------------------------------------------------------------

    // Time from the finger being present to the result of search and matchId (default 0 ms).
    void setSearchDelay(int p_nMs);
    // Time after which a search or matchId without a finger gives up (default 0: waits until aborted).
    void setSearchTimeout(int p_nMs);
    // Time from the finger being present to the result of matchId (default -1: the search delay).
    void setMatchDelay(int p_nMs);
    // Time the module takes to look at the sensor before it answers scan (default 0 ms).
    void setScanDelay(int p_nMs);

    // --- Real timing ---------------------------------------------------------------------------------

    // A module that behaves like the real one on a real line (default off): output leaves at the line
    // rate (setLineRatePacing), and an abort byte stops the reply going out only after abortTail() more
    // bytes, the bytes already in the adapter and the driver, which then leave at once. A pending scan,
    // search or matchId result is cancelled by the abort as before. The processing times are set with
    // setScanDelay, setSearchDelay, setMatchDelay and setPlacementDelay.
    void setRealTiming(bool p_bOn);
    bool isRealTiming() const;
    // Bytes of an interrupted reply that still arrive after the abort byte (default 48).
    void setAbortTail(int p_nBytes);
    int abortTail() const;
    // Milliseconds since open() at which the simulator read the last abort byte and wrote its tail's last
    // byte (-1 before any): the tool's reactions are measured against these.
    qint64 lastAbortAt() const;
    qint64 lastTailSentAt() const;
    // Milliseconds since open() at which the simulator read each entry of commands().
    QList<qint64> commandTimes() const;
    qint64 elapsed() const;

    // --- Enrolment -----------------------------------------------------------------------------------

    // How the three placements of an enrolment happen (default placementAutomatic).
    void setPlacementMode(placement_t p_nMode);
    placement_t placementMode() const;
    // Delay between automatic placements (default 0 ms: the whole enrolment reply at once).
    void setPlacementDelay(int p_nMs);
    int placementDelay() const;
    // In placementManual: the next placement of the running enrolment happens now. Returns false when no
    // enrolment waits for a placement.
    bool placeFinger();
    // Quality reported and stored by the next enrolments (default 85), and their minutiae count (42).
    void setEnrollQuality(int p_nQuality);
    void setEnrollMinutiae(int p_nMinutiae);
    // True while an enrolment waits for its placements.
    bool isEnrolling() const;
    // Placements done by the running enrolment (0..3).
    int placementsDone() const;

    // --- Image ---------------------------------------------------------------------------------------

    // The picture that read_image sends: p_baPixels holds p_nWidth * p_nHeight grey values, row after
    // row, bottom row first (exactly the wire order). Returns false when the sizes disagree.
    // By default a drawn 160 x 120 fingerprint (fingerprintImage.h).
    bool setImage(int p_nWidth, int p_nHeight, const QByteArray& p_baPixels);
    // The picture read_image sends: its size and its pixels in wire order.
    int imageWidth() const;
    int imageHeight() const;
    QByteArray imagePixels() const;

    // --- Misbehaviour --------------------------------------------------------------------------------

    // Output leaves in pieces of at most p_nBytes bytes, one write per piece, with chunkInterval() ms
    // between the pieces (1: byte by byte). 0 (default) writes whatever is queued at once.
    void setChunkSize(int p_nBytes);
    void setChunkInterval(int p_nMs); // default 0: the next pass of the event loop
    // Output leaves at the real line rate, one byte per 86.8 us, driven by a timer (default off).
    void setLineRatePacing(bool p_bOn);
    // Queue bytes for the peer now, behind whatever output is still queued (also while silent).
    void injectBytes(const QByteArray& p_baBytes);
    // Queue one line; CR LF is appended.
    void injectLine(const QByteArray& p_baLine);
    // The next template or image header announces a checksum one higher than the payload's sum.
    void corruptNextChecksum();
    // While silent, commands are recorded but neither executed nor answered (a stalled module).
    void setSilent(bool p_bSilent);
    // True while setSilent(true) holds.
    bool isSilent() const;
    // The next p_nCommands commands (abort bytes included) are recorded but neither executed nor answered.
    // To answer one command differently, silence it and injectLine() the wanted reply, right away or
    // from a slot on commandReceived().
    void silenceNextCommands(int p_nCommands = 1);
    // A module that finishes what it was doing although aborted (default -1: off). With p_nMs >= 0 an abort
    // byte no longer stops a waiting search, matchId or enrolment: the operation is detached and gives
    // its answer p_nMs ms after the abort, in one piece (see "Late answers" above). Changing it leaves the
    // late answers already pending as they are.
    void setLateAnswer(int p_nMs);
    int lateAnswer() const;
    // The lines sent as late answers, in order of sending (each without its CR LF).
    QByteArrayList lateAnswers() const;

    // --- Industrial PC side --------------------------------------------------------------------------

    // How "kvc open" and "kvc close" requests are answered; p_nErrorCode is used by ipcRefuse.
    void setIpcAnswer(ipcAnswer_t p_nAnswer, int p_nErrorCode = 0);
    // True between an accepted "kvc open" and an accepted "kvc close".
    bool isComServerOpen() const;
    // The module text of the last accepted "kvc open".
    QString comServerModule() const;

    // --- Recording -----------------------------------------------------------------------------------

    // Every byte read from the master, in order.
    QByteArray received() const;
    // Command lines without their line end, abort bytes as "\x03", in order of arrival.
    QByteArrayList commands() const;
    // Every byte written to the master, in order.
    QByteArray sent() const;
    // Commands that came while the module still worked on a scan, search, match or enrolment and no abort
    // byte had ended it: a peer that did not wait for the reply.
    QByteArrayList overtakingCommands() const;
    // Forgets received(), commands(), overtakingCommands(), lateAnswers() and sent().
    void clearRecording();

    // The checksum of the wire: 32-bit wrapping sum of the bytes taken as unsigned 8-bit values.
    static quint32 checksum(const QByteArray& p_baBytes);

signals:
    // A command line (without line end), an abort byte ("\x03") or a stand-in request was received.
    // Emitted before the command is carried out, so a slot may still change what the answer will be.
    void commandReceived(const QByteArray& p_baCommand);
    // All queued output has been written to the master.
    void outputDrained();
    // The master was closed by vanish().
    void vanished();

private slots:
    void slotOperationTimer();
    void slotScanTimer();

private:
    enum operation_t
    {
        operationNone,
        operationSearch,
        operationMatchId,
        operationEnroll
    };

    static constexpr char c_chAbort = 0x03;

    // The word at p_nIndex as a number; text that is not a number, or a missing word, counts as 0.
    static int wordToInt(const QList<QByteArray>& p_lstWords, int p_nIndex, bool* p_pbPresent = nullptr);

    // The line (pseudoTerminal.cpp)
    void closeDescriptors();
    void receiveInOrder(const QByteArray& p_baBytes);
    void sendAbortTail();
    void queueOutput(const QByteArray& p_baBytes);
    // Commands (sensorSimulator.cpp)
    void handleLine(const QByteArray& p_baLine);
    void handleAbort();
    void executeCommand(const QByteArray& p_baLine);
    bool consumeSilence();
    void reply(const QByteArray& p_baLine);
    void startSearch(operation_t p_nOperation, int p_nArgument);
    void advanceSearch();
    void finishSearch();
    QByteArray searchResult(operation_t p_nOperation, int p_nGroup, int p_nPid) const;
    static QByteArray searchTimeout(operation_t p_nOperation);
    void stopOperation();
    void scheduleOperation(int p_nMs);
    quint32 announcedSum(quint32 p_nSum);
    // The store (templateStore.cpp)
    void executeRegCommand(const QList<QByteArray>& p_lstWords);
    void sendTemplate(int p_nPid, int p_nFid);
    // Enrolment (enrolment.cpp)
    void startEnroll(const QList<QByteArray>& p_lstWords);
    void advanceEnroll();
    bool placedFingerIsStored() const;
    QByteArray storeEnrolled(int p_nPid, int p_nGroup, int p_nFid);
    // Late answers (lateAnswers.cpp)
    void detachOperation();
    void sendLateAnswer(QTimer* p_pTimer);
    void dropLateAnswers();
    // The picture (picture.cpp)
    void sendImage(int p_nMode);
    // The industrial PC (industrialPc.cpp)
    void handleIpcRequest(const QList<QByteArray>& p_lstWords);

    pseudoTerminal_c* m_pTerminal = nullptr;
    QTimer* m_pOperationTimer = nullptr;
    QTimer* m_pScanTimer = nullptr;

    QString m_strFirmware = QStringLiteral("VD01 V2.13");
    QString m_strBuildDate = QStringLiteral("Mar 14 2019");
    QString m_strBuildTime = QStringLiteral("10:42:17");
    templateStore_c m_store;

    bool m_bFingerPresent = false;
    int m_nFingerPid = 0;
    int m_nFingerFid = -1;
    int m_nScanValue = 1;
    bool m_bSearchTwo = false;
    QSet<int> m_setMatchingLevels = {0, 1, 2};
    int m_nSecurityLevel = 1;
    bool m_bLedOn = false;
    int m_nSearchDelayMs = 0;
    int m_nSearchTimeoutMs = 0;
    int m_nMatchDelayMs = -1;
    int m_nScanDelayMs = 0;
    bool m_bRealTiming = false;
    int m_nAbortTail = 48;
    qint64 m_nLastAbortAt = -1;
    qint64 m_nLastTailSentAt = -1;
    QElapsedTimer m_clock;
    QList<qint64> m_lstCommandTimes;

    placement_t m_nPlacementMode = placementAutomatic;
    int m_nPlacementDelayMs = 0;
    int m_nEnrollQuality = 85;
    int m_nEnrollMinutiae = 42;

    int m_nImageWidth = 160;
    int m_nImageHeight = 120;
    QByteArray m_baImage;

    // The operation that waits for a finger, a placement or its time-out.
    operation_t m_nOperation = operationNone;
    int m_nOperationPid = 0;
    int m_nOperationGroup = 0;
    int m_nOperationFid = 0;
    int m_nPlacements = 0;
    bool m_bFingerReported = false;

    // An operation an abort detached: what it needs to give its late answer when its timer fires.
    class lateAnswer_c
    {
    public:
        operation_t m_nOperation = operationNone;
        int m_nPid = 0;
        int m_nGroup = 0;
        int m_nFid = 0;
        int m_nPlacements = 0;
        QByteArrayList m_lstLines; // a search's or match's answer, made at the abort from what lay there
        QTimer* m_pTimer = nullptr;
    };
    int m_nLateAnswerMs = -1;
    QList<lateAnswer_c> m_lstPendingLate;
    QByteArrayList m_lstLateAnswers; // the lines sent

    bool m_bCorruptNextChecksum = false;
    bool m_bSilent = false;
    int m_nSilentCommands = 0;

    ipcAnswer_t m_nIpcAnswer = ipcAccept;
    int m_nIpcErrorCode = 0;
    bool m_bComServerOpen = false;
    QString m_strComServerModule;

    QByteArray m_baLine; // the command line being received
    bool m_bLastWasCr = false;
    QByteArray m_baReceived;
    QByteArrayList m_lstCommands;
    QByteArrayList m_lstOvertaking;
};

} // namespace simulator_n
