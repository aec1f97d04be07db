// The wire format on its own: command lines, diagnostics texts, reply lines and payload headers.
#include "commandLineTable.h"
#include "sensor/replyFormat.h"
#include "sensor/sensorProtocol.h"

#include <QtTest>

using namespace sensor_n;

class tst_sensorProtocol : public QObject
{
    Q_OBJECT

private slots:
    void commandLines_data();
    void commandLines();
    void regFindFlagsAPidThatIsNoNumber();
    void diagnosticsTexts();
    void replyLinesCutAtCrLfAndNul();
    void checksumWrapsAndCountsUnsignedBytes();
    void templateHeaderNamesWhatIsMissing();
    void templateHeaderFields();
    void imageHeaderNeedsAByteBeforeIt();
    void imageHeaderSizes_data();
    void imageHeaderSizes();
    void enrollRefusalsLongestPrefixFirst();
};

void tst_sensorProtocol::commandLines_data()
{
    addCommandLineRows(true);
}

void tst_sensorProtocol::commandLines()
{
    QFETCH(command_t, command);
    QFETCH(QVariantMap, params);
    QFETCH(QByteArray, line);
    QCOMPARE(commandLine(command, params), line);
}

void tst_sensorProtocol::regFindFlagsAPidThatIsNoNumber()
{
    bool bInvalid = false;
    commandLine(command_t::RegFind, {{"pid", "abc"}}, &bInvalid);
    QVERIFY(bInvalid);
    commandLine(command_t::RegFind, {{"pid", 0}}, &bInvalid);
    QVERIFY(bInvalid);
    commandLine(command_t::RegFind, {{"pid", 17}}, &bInvalid);
    QVERIFY(!bInvalid);
}

void tst_sensorProtocol::diagnosticsTexts()
{
    QCOMPARE(stateText(state_t::Error), QStringLiteral("Error (S-1)"));
    QCOMPARE(stateText(state_t::SubEnroll), QStringLiteral(" (S12)"));
    QCOMPARE(stateText(state_t::SubIdle), QStringLiteral("SubIdle (S11)"));
    QCOMPARE(commandText(command_t::NoCommand), QStringLiteral("--- (C0)"));
    QCOMPARE(commandText(command_t::FpSecurity), QStringLiteral("FpSecurity (C22)"));
    QCOMPARE(commandText(static_cast<command_t>(-4)), QStringLiteral(" (C-4)"));
    QCOMPARE(modeText(sensor_n::mode_t::MatchIdAnalysis), QStringLiteral("MatchIdAnalysis (M6)"));
    QCOMPARE(modeText(static_cast<sensor_n::mode_t>(9)), QStringLiteral(" (M9)"));
}

void tst_sensorProtocol::replyLinesCutAtCrLfAndNul()
{
    const QByteArray baBuffer("=OK V1.0\r\n\r\n=OK a\0b\r\n=NO\nx\r\ntrailing", 36);
    QCOMPARE(replyLines(baBuffer), QStringList({"=OK V1.0", "=OK a", "=NO\nx"}));
    QVERIFY(replyLines("=OK V1.0").isEmpty());
}

void tst_sensorProtocol::checksumWrapsAndCountsUnsignedBytes()
{
    QCOMPARE(payloadChecksum(QByteArray("\x01\xFF\x10", 3)), 272u);
    QCOMPARE(payloadChecksum(QByteArray()), 0u);
    // 2^24 bytes of 0xFF: 0xFF * 2^24 fits; one more round of 256 such blocks would wrap.
    const QByteArray baBig(1 << 24, '\xFF');
    QCOMPARE(payloadChecksum(baBig), 0xFF000000u);
    QCOMPARE(payloadChecksum(baBig + baBig), 0xFE000000u);
}

void tst_sensorProtocol::templateHeaderNamesWhatIsMissing()
{
    const templateHeader_t header = parseTemplateHeader("=OK Bytes=3 ");
    QVERIFY(header.bHasBytes);
    QVERIFY(!header.bHasSum);
    QVERIFY(!header.bHasLineEnd);
    // The keys are looked for from the fourth byte on only.
    QVERIFY(!parseTemplateHeader("Sum=1 =OK\r\n").bHasSum);
}

void tst_sensorProtocol::templateHeaderFields()
{
    const QByteArray baBuffer =
        QByteArray("=OK Template Bytes=3 Sum=272\r\n") + QByteArray("\x01\xFF\x10", 3);
    const templateHeader_t header = parseTemplateHeader(baBuffer);
    QVERIFY(header.bHasBytes && header.bHasSum && header.bHasLineEnd);
    QCOMPARE(header.nCount, 3);
    QCOMPARE(header.strSum, QStringLiteral("272"));
    QCOMPARE(payloadChecksum(baBuffer.mid(header.nPayloadOffset)), header.strSum.toUInt());
    QVERIFY(payloadChecksum(baBuffer.mid(header.nPayloadOffset)) != 273u);
}

void tst_sensorProtocol::imageHeaderNeedsAByteBeforeIt()
{
    QVERIFY(!parseImageHeader("=OK Width=2 Height=2 Sum=0\r\n").bComplete);
    QVERIFY(!parseImageHeader("\r\n=OK Width=2 Height=2").bComplete);
    const imageHeader_t header = parseImageHeader("\r\n=OK Image Width=2  Height=3 Sum=447 x=y\r\nABCDEF");
    QVERIFY(header.bComplete);
    QCOMPARE(header.nWidth, 2);
    QCOMPARE(header.nHeight, 3);
    QCOMPARE(header.nSum, 447u);
    QCOMPARE(header.expectedSize(), 6);
    QCOMPARE(header.nPayloadOffset, 43);
}

void tst_sensorProtocol::imageHeaderSizes_data()
{
    QTest::addColumn<QByteArray>("header");
    QTest::addColumn<qint64>("expected");
    QTest::newRow("normal") << QByteArray("Width=256 Height=288") << qint64(256 * 288);
    QTest::newRow("width missing") << QByteArray("Height=288") << qint64(-1);
    QTest::newRow("height missing") << QByteArray("Width=256") << qint64(-1);
    QTest::newRow("both missing: -1 x -1 is no picture") << QByteArray("Sum=1") << qint64(-1);
    QTest::newRow("zero") << QByteArray("Width=0 Height=5") << qint64(-1);
    QTest::newRow("negative") << QByteArray("Width=-2 Height=-3") << qint64(-1);
    QTest::newRow("32-bit overflow") << QByteArray("Width=65536 Height=65537") << qint64(-1);
    QTest::newRow("not a number") << QByteArray("Width=abc Height=5") << qint64(-1);
}

void tst_sensorProtocol::imageHeaderSizes()
{
    QFETCH(QByteArray, header);
    QFETCH(qint64, expected);
    QCOMPARE(parseImageHeader("\n=OK " + header + "\r\n").expectedSize(), expected);
}

void tst_sensorProtocol::enrollRefusalsLongestPrefixFirst()
{
    QCOMPARE(enrollRefusalText("=NO ID=0"), QStringLiteral("Invalid PID specified"));
    QCOMPARE(enrollRefusalText("=NO ID"), QStringLiteral("No Personal ID specified"));
    QCOMPARE(enrollRefusalText("=NO Group=0"), QStringLiteral("Invalid Group ID specified"));
    QCOMPARE(enrollRefusalText("=NO BKNum=OVER 12"), QStringLiteral("Invalid Finger ID specified"));
    QCOMPARE(enrollRefusalText("=NO DoubleFP"), QStringLiteral("Finger already enrolled."));
    QCOMPARE(enrollRefusalText("=NO CMDERR"), QStringLiteral("Internal Error"));
    QVERIFY(enrollRefusalText("=OK Enroll Quality=57").isEmpty());
}

QTEST_APPLESS_MAIN(tst_sensorProtocol)
#include "tst_sensorProtocol.moc"
