// Scenarios: a real QSerialPort on the simulator's pseudo-terminal, in one event loop with the simulator.

#include "sensorSimulator.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QSerialPort>
#include <QSignalSpy>
#include <QtTest>

using simulator_n::sensorSimulator_c;

namespace
{

// The wire's checksum, written here again on purpose so the simulator's own is not trusted.
quint32 sumOf(const QByteArray& p_baBytes)
{
    quint32 nSum = 0;
    for (int i = 0; i < p_baBytes.size(); ++i)
    {
        nSum += static_cast<unsigned char>(p_baBytes.at(i));
    }
    return nSum;
}

// The value of "key=" in a header line, up to the next blank.
QByteArray headerValue(const QByteArray& p_baHeader, const QByteArray& p_baKey)
{
    const int nAt = p_baHeader.indexOf(" " + p_baKey + "=");
    if (nAt < 0)
    {
        return QByteArray();
    }
    const int nStart = nAt + p_baKey.size() + 2;
    const int nEnd = p_baHeader.indexOf(' ', nStart);
    return p_baHeader.mid(nStart, nEnd < 0 ? -1 : nEnd - nStart);
}

} // namespace

class tst_sensorSimulator : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void simpleCommands_data();
    void simpleCommands();
    void lineEndsAndAbortAreRecorded();
    void searchAndMatch();
    void searchWaitsForFingerAndAbortStopsIt();
    void searchTimesOut();
    void enrollmentRefusals_data();
    void enrollmentRefusals();
    void enrollmentWithManualPlacements();
    void enrollmentAbortedStoresNothing();
    void enrollmentAutomaticIsOneReply();
    void templateListAndCount();
    void templatePayload();
    void analysisWalkFetchesEveryListedTemplate();
    void imagePayload();
    void largeImageWaitsForAFullPseudoTerminal();
    void checksumCorruptionHitsOnlyTheNextPayload();
    void chunkedDeliveryReassembles_data();
    void chunkedDeliveryReassembles();
    void injectedLinesArriveAsGiven();
    void silence();
    void vanishingDeviceIsSeenByThePort();
    void lineRatePacingTakesTheLineTime();
    void programPrintsThePathAndPlaysTheModule();

private:
    struct payload_s
    {
        QByteArray m_baBefore;  // bytes before the "=OK" of the header
        QByteArray m_baHeader;  // the header line without CR LF
        QByteArray m_baPayload; // exactly the announced number of bytes
    };
    // Writes a command and waits until as many bytes as p_baExpected holds have come back.
    QByteArray expectReply(const QByteArray& p_baCommand, const QByteArray& p_baExpected)
    {
        return exchange(p_baCommand, p_baExpected.size());
    }
    // Writes a command and waits for a header line and its whole payload. p_baKind "Bytes" reads the
    // size from Bytes=, "Image" from Width= and Height=.
    payload_s exchangePayload(const QByteArray& p_baCommand, const QByteArray& p_baKind);
    // Writes a command and waits until at least p_nBytes bytes (or a line end) have come back.
    QByteArray exchange(const QByteArray& p_baCommand, int p_nBytes = -1);
    bool openPort();

    sensorSimulator_c* m_pSim = nullptr;
    QSerialPort* m_pPort = nullptr;
    QByteArray m_baIn;
    int m_nReadyReads = 0;
};

void tst_sensorSimulator::initTestCase()
{
    qRegisterMetaType<QSerialPort::SerialPortError>();
}

void tst_sensorSimulator::init()
{
    m_pSim = new sensorSimulator_c;
    QVERIFY2(m_pSim->open(), qPrintable(m_pSim->errorString()));
    m_baIn.clear();
    m_nReadyReads = 0;
    QVERIFY(openPort());
}

void tst_sensorSimulator::cleanup()
{
    delete m_pPort;
    m_pPort = nullptr;
    delete m_pSim;
    m_pSim = nullptr;
}

bool tst_sensorSimulator::openPort()
{
    m_pPort = new QSerialPort;
    m_pPort->setPortName(m_pSim->slavePath());
    m_pPort->setBaudRate(QSerialPort::Baud115200);
    m_pPort->setDataBits(QSerialPort::Data8);
    m_pPort->setParity(QSerialPort::NoParity);
    m_pPort->setStopBits(QSerialPort::OneStop);
    m_pPort->setFlowControl(QSerialPort::NoFlowControl);
    connect(m_pPort, &QSerialPort::readyRead, this,
            [this]()
            {
                ++m_nReadyReads;
                m_baIn += m_pPort->readAll();
            });
    // A vanished device floods read errors; the first one is enough.
    connect(m_pPort, &QSerialPort::errorOccurred, this,
            [this](QSerialPort::SerialPortError p_nError)
            {
                if (p_nError == QSerialPort::ReadError || p_nError == QSerialPort::ResourceError)
                {
                    m_pPort->close();
                }
            });
    return m_pPort->open(QIODevice::ReadWrite);
}

QByteArray tst_sensorSimulator::exchange(const QByteArray& p_baCommand, int p_nBytes)
{
    m_baIn.clear();
    m_pPort->write(p_baCommand);
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 5000)
    {
        const bool bDone = p_nBytes >= 0 ? m_baIn.size() >= p_nBytes : m_baIn.endsWith("\r\n");
        if (bDone)
        {
            break;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return m_baIn;
}

tst_sensorSimulator::payload_s tst_sensorSimulator::exchangePayload(const QByteArray& p_baCommand,
                                                                    const QByteArray& p_baKind)
{
    m_baIn.clear();
    m_pPort->write(p_baCommand);
    payload_s result;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 5000)
    {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        const int nOk = m_baIn.indexOf("=OK");
        const int nEnd = nOk < 0 ? -1 : m_baIn.indexOf("\r\n", nOk);
        if (nEnd < 0)
        {
            continue;
        }
        const QByteArray baHeader = m_baIn.mid(nOk, nEnd - nOk);
        const int nSize = p_baKind == "Bytes" ? headerValue(baHeader, "Bytes").toInt()
                                              : headerValue(baHeader, "Width").toInt() *
                                                    headerValue(baHeader, "Height").toInt();
        if (m_baIn.size() >= nEnd + 2 + nSize)
        {
            result.m_baBefore = m_baIn.left(nOk);
            result.m_baHeader = baHeader;
            result.m_baPayload = m_baIn.mid(nEnd + 2, nSize);
            break;
        }
    }
    return result;
}

void tst_sensorSimulator::simpleCommands_data()
{
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QByteArray>("reply");

    QTest::newRow("firmware") << QByteArray("model_fw") << QByteArray("=OK Test FW 1.0\r\n");
    QTest::newRow("date") << QByteArray("date") << QByteArray("=OK Jan  2 2020\r\n");
    QTest::newRow("time") << QByteArray("time") << QByteArray("=OK 12:34:56\r\n");
    QTest::newRow("count") << QByteArray("reg /count") << QByteArray("=OK 2\r\n");
    QTest::newRow("capacity") << QByteArray("max") << QByteArray("=OK 40\r\n");
    QTest::newRow("led on") << QByteArray("LedOn") << QByteArray("=OK LedOn\r\n");
    QTest::newRow("led off") << QByteArray("LedOff") << QByteArray("=OK LedOff\r\n");
    QTest::newRow("scan without finger") << QByteArray("scan") << QByteArray("=NO NoFinger\r\n");
    QTest::newRow("template format") << QByteArray("temp_set 2") << QByteArray("=OK 2\r\n");
    QTest::newRow("template format missing") << QByteArray("temp_set ") << QByteArray("=NO CMDERR\r\n");
    QTest::newRow("security") << QByteArray("FpSecurity 0") << QByteArray("=OK\r\n");
    QTest::newRow("security out of range")
        << QByteArray("FpSecurity 3") << QByteArray("=NO FpSecurity Range\r\n");
    QTest::newRow("find stored") << QByteArray("reg /find 7 0") << QByteArray("=OK Group=1\r\n");
    QTest::newRow("find missing") << QByteArray("reg /find 7 1") << QByteArray("=NO Unreg\r\n");
    QTest::newRow("find not a number") << QByteArray("reg /find abc 0") << QByteArray("=NO Unreg\r\n");
    QTest::newRow("get missing") << QByteArray("reg /get 8 8") << QByteArray("=NO Unreg\r\n");
    QTest::newRow("delete missing") << QByteArray("reg /del 8 8") << QByteArray("=NO Unreg\r\n");
    QTest::newRow("image mode") << QByteArray("read_image7") << QByteArray("\r\n=NO Image Mode\r\n");
    QTest::newRow("unknown") << QByteArray("hello") << QByteArray("=NO CMDERR\r\n");
    QTest::newRow("get without finger id") << QByteArray("reg /get 7") << QByteArray("=NO CMDERR\r\n");
    QTest::newRow("industrial PC close") << QByteArray("kvc close 254") << QByteArray("=OK ComServer\r\n");
    QTest::newRow("industrial PC malformed") << QByteArray("kvc open 254") << QByteArray("=NO Error=1\r\n");
}

void tst_sensorSimulator::simpleCommands()
{
    QFETCH(QByteArray, command);
    QFETCH(QByteArray, reply);
    m_pSim->setFirmware(QStringLiteral("Test FW 1.0"));
    m_pSim->setBuildDate(QStringLiteral("Jan  2 2020"));
    m_pSim->setBuildTime(QStringLiteral("12:34:56"));
    m_pSim->setCapacity(40);
    QVERIFY(m_pSim->addTemplate(7, 0));
    QVERIFY(m_pSim->addTemplate(9, 3));

    QSignalSpy spyCommands(m_pSim, &sensorSimulator_c::commandReceived);
    QCOMPARE(exchange(command + "\r\n", reply.size()), reply);
    QCOMPARE(spyCommands.count(), 1);
    QCOMPARE(spyCommands.at(0).at(0).toByteArray(), command);
    QCOMPARE(m_pSim->commands(), QByteArrayList{command});
    QCOMPARE(m_pSim->received(), command + "\r\n");
    QCOMPARE(m_pSim->sent(), reply);
}

void tst_sensorSimulator::lineEndsAndAbortAreRecorded()
{
    // CR alone (a terminal), LF alone, CR LF (the tool), and an abort in the middle of a line.
    const QByteArray baWire = QByteArray("LedOn\rLedOff\nmodel_fw\r\nma") + '\x03' + "max\r\n";
    const QByteArray baReplies = "=OK LedOn\r\n=OK LedOff\r\n=OK VD01 V2.13\r\n=OK 500\r\n";
    QCOMPARE(exchange(baWire, baReplies.size()), baReplies);
    QTRY_COMPARE(m_pSim->commands(), (QByteArrayList{"LedOn", "LedOff", "model_fw", "\x03", "max"}));
    QCOMPARE(m_pSim->received(), baWire);
    QVERIFY(!m_pSim->isLedOn());
}

void tst_sensorSimulator::searchAndMatch()
{
    QVERIFY(m_pSim->addTemplate(7, 0));
    QVERIFY(m_pSim->addTemplate(12, 5, 80, 42, 2));
    m_pSim->setFinger(7, 0);

    QCOMPARE(exchange("scan\r\n"), QByteArray("=OK 1\r\n"));
    QCOMPARE(expectReply("search 0\r\n", QByteArray("=OK Ready\r\n=OK FP\r\n=OK Search ID=7, BKNum=0\r\n")),
             QByteArray("=OK Ready\r\n=OK FP\r\n=OK Search ID=7, BKNum=0\r\n"));
    m_pSim->setSearchTwo(true);
    QCOMPARE(expectReply("search 0\r\n", QByteArray("=OK Ready\r\n=OK FP\r\n=OK Search2 ID=7, BKNum=0\r\n")),
             QByteArray("=OK Ready\r\n=OK FP\r\n=OK Search2 ID=7, BKNum=0\r\n"));
    // Person 7 is in group 1, not in group 2.
    QCOMPARE(expectReply("search 2\r\n", QByteArray("=OK Ready\r\n=OK FP\r\n=NO Search NotFound\r\n")),
             QByteArray("=OK Ready\r\n=OK FP\r\n=NO Search NotFound\r\n"));
    m_pSim->setStrangerFinger();
    QCOMPARE(expectReply("search 0\r\n", QByteArray("=OK Ready\r\n=OK FP\r\n=NO Search NotFound\r\n")),
             QByteArray("=OK Ready\r\n=OK FP\r\n=NO Search NotFound\r\n"));

    // Only security level 0 lets the finger of person 12 match.
    m_pSim->setFinger(12, 5);
    m_pSim->setMatchingSecurityLevels({0});
    QCOMPARE(exchange("FpSecurity 0\r\n"), QByteArray("=OK\r\n"));
    QCOMPARE(
        expectReply("matchId 12\r\n", QByteArray("=OK Ready\r\n=OK FP\r\n=OK MatchId ID=12, BKNum=5\r\n")),
        QByteArray("=OK Ready\r\n=OK FP\r\n=OK MatchId ID=12, BKNum=5\r\n"));
    QCOMPARE(exchange("FpSecurity 1\r\n"), QByteArray("=OK\r\n"));
    QCOMPARE(m_pSim->securityLevel(), 1);
    QCOMPARE(expectReply("matchId 12\r\n", QByteArray("=OK Ready\r\n=OK FP\r\n=NO MatchId NotMatched\r\n")),
             QByteArray("=OK Ready\r\n=OK FP\r\n=NO MatchId NotMatched\r\n"));
    QCOMPARE(exchange("FpSecurity 0\r\n"), QByteArray("=OK\r\n"));
    // The finger belongs to 12, not to 7.
    QCOMPARE(expectReply("matchId 7\r\n", QByteArray("=OK Ready\r\n=OK FP\r\n=NO MatchId NotMatched\r\n")),
             QByteArray("=OK Ready\r\n=OK FP\r\n=NO MatchId NotMatched\r\n"));
}

void tst_sensorSimulator::searchWaitsForFingerAndAbortStopsIt()
{
    QVERIFY(m_pSim->addTemplate(7, 0));
    QCOMPARE(exchange("search 0\r\n"), QByteArray("=OK Ready\r\n"));
    m_pPort->write("\x03");
    QTRY_COMPARE(m_pSim->commands().count(), 2);
    m_pSim->setFinger(7, 0);
    // Nothing answers the aborted search: the next reply is the LED's alone.
    QCOMPARE(exchange("LedOn\r\n"), QByteArray("=OK LedOn\r\n"));

    m_pSim->removeFinger();
    QCOMPARE(exchange("matchId 7\r\n"), QByteArray("=OK Ready\r\n"));
    m_baIn.clear();
    m_pSim->setFinger(7, 0);
    QTRY_COMPARE(m_baIn, QByteArray("=OK FP\r\n=OK MatchId ID=7, BKNum=0\r\n"));
}

void tst_sensorSimulator::searchTimesOut()
{
    m_pSim->setSearchTimeout(30);
    const QByteArray baReply = "=OK Ready\r\n=NO Search Timeout\r\n";
    QCOMPARE(exchange("search 0\r\n", baReply.size()), baReply);
}

void tst_sensorSimulator::enrollmentRefusals_data()
{
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QByteArray>("reply");

    QTest::newRow("finger already stored")
        << QByteArray("enroll_dupfp 7 1 0") << QByteArray("=NO DoubleFP\r\n");
    QTest::newRow("pid 0") << QByteArray("enroll_dupfp 0 1 3") << QByteArray("=NO ID=0\r\n");
    QTest::newRow("pid not a number") << QByteArray("enroll_dupfp x 1 3") << QByteArray("=NO ID=0\r\n");
    QTest::newRow("group 0") << QByteArray("enroll_dupfp 8 0 3") << QByteArray("=NO Group=0\r\n");
    QTest::newRow("finger id 10") << QByteArray("enroll_dupfp 8 1 10") << QByteArray("=NO BKNum=OVER\r\n");
    QTest::newRow("finger id -1") << QByteArray("enroll_dupfp 8 1 -1") << QByteArray("=NO BKNum=OVER\r\n");
    QTest::newRow("arguments missing") << QByteArray("enroll_dupfp 8 1") << QByteArray("=NO CMDERR\r\n");
    // The finger on the sensor is already stored as 7/0: the first placement finds the duplicate.
    QTest::newRow("placed finger known")
        << QByteArray("enroll_dupfp 8 1 3 known") << QByteArray("=OK Ready\r\n=NO DoubleFP\r\n");
}

void tst_sensorSimulator::enrollmentRefusals()
{
    QFETCH(QByteArray, command);
    QFETCH(QByteArray, reply);
    QVERIFY(m_pSim->addTemplate(7, 0));
    if (command.endsWith(" known"))
    {
        command.chop(6);
        m_pSim->setFinger(7, 0);
    }
    QCOMPARE(exchange(command + "\r\n", reply.size()), reply);
    QCOMPARE(m_pSim->templateCount(), 1);
    QVERIFY(!m_pSim->isEnrolling());
}

void tst_sensorSimulator::enrollmentWithManualPlacements()
{
    m_pSim->setPlacementMode(sensorSimulator_c::placementManual);
    m_pSim->setEnrollQuality(73);
    m_pSim->setEnrollMinutiae(29);
    m_pSim->setStrangerFinger();
    QCOMPARE(exchange("enroll_dupfp 15 1 6\r\n"), QByteArray("=OK Ready\r\n"));
    QVERIFY(m_pSim->isEnrolling());
    for (int i = 1; i <= 2; ++i)
    {
        m_baIn.clear();
        QVERIFY(m_pSim->placeFinger());
        QCOMPARE(m_pSim->placementsDone(), i);
        QTRY_COMPARE(m_baIn, "=FP " + QByteArray::number(i) + "\r\n");
    }
    m_baIn.clear();
    QVERIFY(m_pSim->placeFinger());
    QTRY_COMPARE(m_baIn, QByteArray("=FP 3\r\n=OK Enroll ID=15 Group=1 BKNum=6 Quality=73\r\n"));
    QVERIFY(!m_pSim->isEnrolling());
    QVERIFY(!m_pSim->placeFinger());

    const simulator_n::storedTemplate_c tmpl = m_pSim->storedTemplate(15, 6);
    QCOMPARE(tmpl.m_nPid, 15);
    QCOMPARE(tmpl.m_nQuality, 73);
    QCOMPARE(int(quint8(tmpl.m_baPayload.at(27))), 29);
    // The stranger's finger is now the enrolled one and is found.
    QCOMPARE(m_pSim->fingerPid(), 15);
    QCOMPARE(expectReply("search 0\r\n", QByteArray("=OK Ready\r\n=OK FP\r\n=OK Search ID=15, BKNum=6\r\n")),
             QByteArray("=OK Ready\r\n=OK FP\r\n=OK Search ID=15, BKNum=6\r\n"));
    QCOMPARE(exchange("reg /count\r\n"), QByteArray("=OK 1\r\n"));
}

void tst_sensorSimulator::enrollmentAbortedStoresNothing()
{
    m_pSim->setPlacementMode(sensorSimulator_c::placementManual);
    QCOMPARE(exchange("enroll_dupfp 15 1 6\r\n"), QByteArray("=OK Ready\r\n"));
    m_baIn.clear();
    QVERIFY(m_pSim->placeFinger());
    QTRY_COMPARE(m_baIn, QByteArray("=FP 1\r\n"));
    m_pPort->write("\x03");
    QTRY_VERIFY(!m_pSim->isEnrolling());
    QVERIFY(!m_pSim->placeFinger());
    QCOMPARE(m_pSim->templateCount(), 0);
    QCOMPARE(exchange("reg /find 15 6\r\n"), QByteArray("=NO Unreg\r\n"));
}

void tst_sensorSimulator::enrollmentAutomaticIsOneReply()
{
    m_pSim->setCapacity(1);
    const QByteArray baReply =
        "=OK Ready\r\n=FP 1\r\n=FP 2\r\n=FP 3\r\n=OK Enroll ID=3 Group=2 BKNum=9 Quality=85\r\n";
    QCOMPARE(exchange("enroll_dupfp 3 2 9\r\n", baReply.size()), baReply);
    QCOMPARE(exchange("reg /find 3 9\r\n"), QByteArray("=OK Group=2\r\n"));
    // The store is full now.
    QCOMPARE(exchange("enroll_dupfp 4 1 0\r\n"), QByteArray("=NO Enroll Full\r\n"));
}

void tst_sensorSimulator::templateListAndCount()
{
    m_pSim->setCapacity(3);
    QVERIFY(m_pSim->addTemplate(12, 5, 90));
    QVERIFY(m_pSim->addTemplate(7, 0, 60));
    QVERIFY(m_pSim->addTemplate(7, 9, 70, 40, 3));
    QVERIFY(!m_pSim->addTemplate(8, 1)); // full
    QVERIFY(!m_pSim->addTemplate(7, 0)); // twice
    QCOMPARE(exchange("reg /count\r\n"), QByteArray("=OK 3\r\n"));
    QCOMPARE(exchange("max\r\n"), QByteArray("=OK 3\r\n"));

    const QByteArray baExpected = "=LIST 7 1 0 60\r\n=LIST 7 3 9 70\r\n=LIST 12 1 5 90\r\n\r\n";
    const QByteArray baList = exchange("reg /list\r\n", baExpected.size());
    QCOMPARE(baList, baExpected);
    // The tool reads the pid from the second and the finger id from the fourth blank-separated field.
    const QList<QByteArray> lstLines = baList.trimmed().split('\n');
    QCOMPARE(lstLines.size(), m_pSim->templateCount());
    QCOMPARE(lstLines.at(2).trimmed().split(' ').at(1), QByteArray("12"));
    QCOMPARE(lstLines.at(2).trimmed().split(' ').at(3), QByteArray("5"));

    QCOMPARE(exchange("reg /del 7 0\r\n"), QByteArray("=OK Del\r\n"));
    QCOMPARE(exchange("reg /count\r\n"), QByteArray("=OK 2\r\n"));
    QCOMPARE(exchange("reg /clear\r\n"), QByteArray("=OK Clear\r\n"));
    // An empty store answers the list with one empty line only.
    QCOMPARE(exchange("reg /list\r\n"), QByteArray("\r\n"));
    QCOMPARE(m_pSim->templateCount(), 0);
}

void tst_sensorSimulator::templatePayload()
{
    QVERIFY(m_pSim->addTemplate(21, 4, 77, 31));
    const payload_s reply = exchangePayload("reg /get 21 4\r\n", "Bytes");
    QCOMPARE(reply.m_baBefore, QByteArray());
    QVERIFY(reply.m_baHeader.startsWith("=OK"));
    QCOMPARE(reply.m_baPayload.size(), headerValue(reply.m_baHeader, "Bytes").toInt());
    QCOMPARE(reply.m_baPayload.size(), simulator_n::storedTemplate_c::c_nDefaultPayloadBytes);
    QCOMPARE(headerValue(reply.m_baHeader, "Sum").toUInt(), sumOf(reply.m_baPayload));
    QCOMPARE(int(quint8(reply.m_baPayload.at(26))), 77);
    QCOMPARE(int(quint8(reply.m_baPayload.at(27))), 31);
    // Nothing follows the payload.
    QCOMPARE(m_baIn.size(), reply.m_baHeader.size() + 2 + reply.m_baPayload.size());

    // A payload given by the test travels as it is, with quality and minutiae at their places.
    QByteArray baOwn(40, char(0xFE));
    QVERIFY(m_pSim->addTemplate(21, 5, 10, 11, 1, baOwn));
    const payload_s own = exchangePayload("reg /get 21 5\r\n", "Bytes");
    baOwn[26] = char(10);
    baOwn[27] = char(11);
    QCOMPARE(own.m_baPayload, baOwn);
    QCOMPARE(headerValue(own.m_baHeader, "Sum").toUInt(), sumOf(baOwn));
}

void tst_sensorSimulator::analysisWalkFetchesEveryListedTemplate()
{
    // The walk of the analysis page: count, list, format, then one template per list line, read from the
    // list's second (pid) and fourth (finger id) field.
    QVERIFY(m_pSim->addTemplate(4, 8, 61, 17));
    QVERIFY(m_pSim->addTemplate(30, 1, 99, 55, 2));
    QCOMPARE(exchange("reg /count\r\n"), QByteArray("=OK 2\r\n"));
    m_baIn.clear();
    m_pPort->write("reg /list\r\n");
    QTRY_VERIFY(m_baIn.endsWith("\r\n\r\n"));
    const QByteArray baList = m_baIn;
    QCOMPARE(expectReply("temp_set 2\r\n", QByteArray("=OK 2\r\n")), QByteArray("=OK 2\r\n"));
    QList<QPair<int, int>> lstQualityMinutiae;
    for (const QByteArray& baLine : baList.split('\n'))
    {
        const QList<QByteArray> lstFields = baLine.trimmed().split(' ');
        if (lstFields.size() < 4)
        {
            continue;
        }
        const payload_s reply =
            exchangePayload("reg /get " + lstFields.at(1) + ' ' + lstFields.at(3) + "\r\n", "Bytes");
        QCOMPARE(headerValue(reply.m_baHeader, "Sum").toUInt(), sumOf(reply.m_baPayload));
        lstQualityMinutiae.append(
            qMakePair(int(quint8(reply.m_baPayload.at(26))), int(quint8(reply.m_baPayload.at(27)))));
    }
    QCOMPARE(lstQualityMinutiae, (QList<QPair<int, int>>{{61, 17}, {99, 55}}));
}

void tst_sensorSimulator::imagePayload()
{
    // Three columns, two rows, bottom row first; bytes above 127 check the unsigned sum.
    const QByteArray baPixels("\x00\xFF\x80\x40\x10\xC8", 6);
    QVERIFY(m_pSim->setImage(3, 2, baPixels));
    QVERIFY(!m_pSim->setImage(3, 3, baPixels));
    const payload_s reply = exchangePayload("read_image2\r\n", "Image");
    QVERIFY(!reply.m_baBefore.isEmpty());
    QCOMPARE(headerValue(reply.m_baHeader, "Width"), QByteArray("3"));
    QCOMPARE(headerValue(reply.m_baHeader, "Height"), QByteArray("2"));
    QCOMPARE(reply.m_baPayload, baPixels);
    QCOMPARE(headerValue(reply.m_baHeader, "Sum").toUInt(), sumOf(baPixels));
    QCOMPARE(sumOf(baPixels), 0x00u + 0xFFu + 0x80u + 0x40u + 0x10u + 0xC8u);

    // The generated picture of a fresh module is consistent as well.
    cleanup();
    init();
    const payload_s generated = exchangePayload("read_image1\r\n", "Image");
    QCOMPARE(generated.m_baPayload.size(), headerValue(generated.m_baHeader, "Width").toInt() *
                                               headerValue(generated.m_baHeader, "Height").toInt());
    QVERIFY(generated.m_baPayload.size() > 0);
    QCOMPARE(headerValue(generated.m_baHeader, "Sum").toUInt(), sumOf(generated.m_baPayload));
}

void tst_sensorSimulator::largeImageWaitsForAFullPseudoTerminal()
{
    // Far more than a pseudo-terminal buffers: the rest must follow as the port reads.
    QByteArray baPixels(400 * 300, '\0');
    for (int i = 0; i < baPixels.size(); ++i)
    {
        baPixels[i] = char((i * 7) & 0xFF);
    }
    QVERIFY(m_pSim->setImage(400, 300, baPixels));
    QSignalSpy spyDrained(m_pSim, &sensorSimulator_c::outputDrained);
    const payload_s reply = exchangePayload("read_image2\r\n", "Image");
    QCOMPARE(reply.m_baPayload, baPixels);
    QCOMPARE(headerValue(reply.m_baHeader, "Sum").toUInt(), sumOf(baPixels));
    QTRY_COMPARE(spyDrained.count(), 1);
}

void tst_sensorSimulator::checksumCorruptionHitsOnlyTheNextPayload()
{
    QVERIFY(m_pSim->addTemplate(5, 5));
    QVERIFY(m_pSim->setImage(2, 2, QByteArray("\x01\x02\x03\x04", 4)));
    m_pSim->corruptNextChecksum();
    const payload_s bad = exchangePayload("reg /get 5 5\r\n", "Bytes");
    QCOMPARE(headerValue(bad.m_baHeader, "Sum").toUInt(), sumOf(bad.m_baPayload) + 1u);
    const payload_s good = exchangePayload("reg /get 5 5\r\n", "Bytes");
    QCOMPARE(good.m_baPayload, bad.m_baPayload);
    QCOMPARE(headerValue(good.m_baHeader, "Sum").toUInt(), sumOf(good.m_baPayload));

    m_pSim->corruptNextChecksum();
    const payload_s badImage = exchangePayload("read_image2\r\n", "Image");
    QCOMPARE(headerValue(badImage.m_baHeader, "Sum").toUInt(), 11u);
    const payload_s goodImage = exchangePayload("read_image2\r\n", "Image");
    QCOMPARE(headerValue(goodImage.m_baHeader, "Sum").toUInt(), 10u);
}

void tst_sensorSimulator::chunkedDeliveryReassembles_data()
{
    QTest::addColumn<int>("chunk");
    QTest::newRow("byte by byte") << 1;
    QTest::newRow("five bytes") << 5;
    QTest::newRow("larger than the reply") << 4096;
}

void tst_sensorSimulator::chunkedDeliveryReassembles()
{
    QFETCH(int, chunk);
    QVERIFY(m_pSim->addTemplate(3, 1, 50, 20, 1, QByteArray(64, 'x')));
    m_pSim->setFinger(3, 1);
    const QByteArray baCommands = "model_fw\r\nsearch 0\r\nreg /get 3 1\r\n";
    m_pPort->write(baCommands);
    // Bytes 28 to 63 of the payload are untouched by quality and minutiae.
    QTRY_VERIFY(m_baIn.endsWith(QByteArray(36, 'x')));
    const QByteArray baWhole = m_baIn;

    m_pSim->setChunkSize(chunk);
    m_nReadyReads = 0;
    QSignalSpy spyDrained(m_pSim, &sensorSimulator_c::outputDrained);
    QCOMPARE(exchange(baCommands, baWhole.size()), baWhole);
    QVERIFY(spyDrained.count() >= 1);
    if (chunk == 1)
    {
        // Pieces reach the port in many reads, not as one block.
        QVERIFY2(m_nReadyReads > 10, qPrintable(QString::number(m_nReadyReads)));
    }
    QCOMPARE(m_pSim->sent(), baWhole + baWhole);
}

void tst_sensorSimulator::injectedLinesArriveAsGiven()
{
    m_pSim->injectLine("=OK Surprise");
    QTRY_COMPARE(m_baIn, QByteArray("=OK Surprise\r\n"));
    m_baIn.clear();
    m_pSim->injectBytes(QByteArray("\x00\xFF=NO", 5));
    QTRY_COMPARE(m_baIn, QByteArray("\x00\xFF=NO", 5));
    // Injected bytes are no command.
    QVERIFY(m_pSim->commands().isEmpty());
}

void tst_sensorSimulator::silence()
{
    QSignalSpy spyCommands(m_pSim, &sensorSimulator_c::commandReceived);
    m_pSim->silenceNextCommands(1);
    m_pPort->write("reg /clear\r\n");
    QVERIFY(spyCommands.wait());
    // The silenced command was neither answered nor carried out: the next reply is the only one.
    QVERIFY(m_pSim->addTemplate(2, 2));
    QCOMPARE(exchange("reg /count\r\n"), QByteArray("=OK 1\r\n"));

    m_pSim->setSilent(true);
    QVERIFY(m_pSim->isSilent());
    m_pPort->write("model_fw\r\ndate\r\n\x03");
    QTRY_COMPARE(spyCommands.count(), 5);
    m_pSim->setSilent(false);
    QCOMPARE(exchange("time\r\n"), QByteArray("=OK 10:42:17\r\n"));
    QCOMPARE(m_pSim->commands(),
             (QByteArrayList{"reg /clear", "reg /count", "model_fw", "date", "\x03", "time"}));
    QCOMPARE(m_pSim->sent(), QByteArray("=OK 1\r\n=OK 10:42:17\r\n"));
}

void tst_sensorSimulator::vanishingDeviceIsSeenByThePort()
{
    QSignalSpy spyErrors(m_pPort, &QSerialPort::errorOccurred);
    QSignalSpy spyVanished(m_pSim, &sensorSimulator_c::vanished);
    m_pSim->vanish();
    QCOMPARE(spyVanished.count(), 1);
    QVERIFY(!m_pSim->isOpen());
    QVERIFY(m_pSim->slavePath().isEmpty());
    QTRY_VERIFY(!m_pPort->isOpen());
    bool bSeen = false;
    for (const QList<QVariant>& lstArgs : qAsConst(spyErrors))
    {
        const auto nError = lstArgs.at(0).value<QSerialPort::SerialPortError>();
        bSeen = bSeen || nError == QSerialPort::ReadError || nError == QSerialPort::ResourceError;
    }
    QVERIFY(bSeen);
    // Talking to a vanished module does nothing; a new pseudo-terminal brings it back.
    m_pSim->injectLine("=OK lost");
    QVERIFY(m_pSim->sent().isEmpty());
    QVERIFY(m_pSim->open());
    QVERIFY(!m_pSim->slavePath().isEmpty());
    delete m_pPort;
    QVERIFY(openPort());
    QCOMPARE(exchange("LedOn\r\n"), QByteArray("=OK LedOn\r\n"));
}

void tst_sensorSimulator::lineRatePacingTakesTheLineTime()
{
    // 2304 bytes at 11520 bytes per second take at least 200 ms on the line.
    QVERIFY(m_pSim->setImage(48, 48, QByteArray(48 * 48, char(0x7F))));
    m_pSim->setLineRatePacing(true);
    QElapsedTimer clock;
    clock.start();
    const payload_s reply = exchangePayload("read_image2\r\n", "Image");
    QCOMPARE(reply.m_baPayload.size(), 48 * 48);
    QVERIFY2(clock.elapsed() >= 190, qPrintable(QString::number(clock.elapsed())));
}

void tst_sensorSimulator::programPrintsThePathAndPlaysTheModule()
{
    QProcess program;
    program.setProgram(QCoreApplication::applicationDirPath() + QStringLiteral("/vindal01-simulator"));
    program.setArguments({QStringLiteral("--template"), QStringLiteral("7,3,66,12"),
                          QStringLiteral("--finger"), QStringLiteral("7,3"), QStringLiteral("--search-delay"),
                          QStringLiteral("0"), QStringLiteral("--firmware"), QStringLiteral("FW X")});
    program.start();
    QVERIFY(program.waitForStarted());
    QTRY_VERIFY(program.canReadLine());
    const QString strPath = QString::fromLocal8Bit(program.readLine()).trimmed();
    QVERIFY(strPath.startsWith(QLatin1String("/dev/")));

    delete m_pPort;
    m_pPort = nullptr;
    m_pSim->setFirmware(QStringLiteral("not this one"));
    m_pSim->vanish();
    // The port helper reads the path from the in-process simulator; open the program's path instead.
    m_pPort = new QSerialPort(strPath);
    connect(m_pPort, &QSerialPort::readyRead, this, [this]() { m_baIn += m_pPort->readAll(); });
    QVERIFY(m_pPort->open(QIODevice::ReadWrite));
    QCOMPARE(exchange("model_fw\r\n"), QByteArray("=OK FW X\r\n"));
    QCOMPARE(expectReply("search 0\r\n", QByteArray("=OK Ready\r\n=OK FP\r\n=OK Search ID=7, BKNum=3\r\n")),
             QByteArray("=OK Ready\r\n=OK FP\r\n=OK Search ID=7, BKNum=3\r\n"));

    // Console commands on stdin change the finger.
    program.write("finger none\n");
    QTRY_COMPARE(exchange("scan\r\n"), QByteArray("=NO NoFinger\r\n"));
    program.write("quit\n");
    QVERIFY(program.waitForFinished(5000));
    QCOMPARE(program.exitCode(), 0);
}

QTEST_GUILESS_MAIN(tst_sensorSimulator)
#include "tst_sensorSimulator.moc"
