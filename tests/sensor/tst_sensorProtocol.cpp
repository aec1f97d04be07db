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
    void commandLines_data() { addCommandLineRows(true); }
    void commandLines()
    {
        QFETCH(command_t, command);
        QFETCH(QVariantMap, params);
        QFETCH(QByteArray, line);
        QCOMPARE(commandLine(command, params), line);
    }
    void regFindFlagsAPidThatIsNoNumber()
    {
        bool bInvalid = false;
        for (const QVariant& pid : {QVariant("abc"), QVariant(0), QVariant(17)})
        {
            commandLine(command_t::RegFind, {{"pid", pid}}, &bInvalid);
            QCOMPARE(bInvalid, pid != QVariant(17));
        }
    }
    void diagnosticsTexts()
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
    void replyLinesCutAtCrLfAndNul()
    {
        const QByteArray baBuffer("=OK V1.0\r\n\r\n=OK a\0b\r\n=NO\nx\r\ntrailing", 36);
        QCOMPARE(replyLines(baBuffer), QStringList({"=OK V1.0", "=OK a", "=NO\nx"}));
        QVERIFY(replyLines("=OK V1.0").isEmpty());
    }
    void checksumWrapsAndCountsUnsignedBytes()
    {
        QCOMPARE(payloadChecksum(QByteArray("\x01\xFF\x10", 3)), 272u);
        QCOMPARE(payloadChecksum(QByteArray()), 0u);
        const QByteArray baBig(1 << 24, '\xFF');
        QCOMPARE(payloadChecksum(baBig + baBig), 0xFE000000u);
    }
    void templateHeader()
    {
        const templateHeader_t partial = parseTemplateHeader("=OK Bytes=3 ");
        QVERIFY(partial.bHasBytes && !partial.bHasSum && !partial.bHasLineEnd);
        // The keys are looked for from the fourth byte on only.
        QVERIFY(!parseTemplateHeader("Sum=1 =OK\r\n").bHasSum);
        const QByteArray baBuffer = QByteArray("=OK Template Bytes=3 Sum=272\r\n") + "\x01\xFF\x10";
        const templateHeader_t header = parseTemplateHeader(baBuffer);
        QVERIFY(header.bHasBytes && header.bHasSum && header.bHasLineEnd);
        QCOMPARE(header.nCount, 3);
        QCOMPARE(header.strSum, QStringLiteral("272"));
        QCOMPARE(baBuffer.mid(header.nPayloadOffset), QByteArray("\x01\xFF\x10"));
    }
    void imageHeader()
    {
        QVERIFY(!parseImageHeader("=OK Width=2 Height=2 Sum=0\r\n").bComplete);
        QVERIFY(!parseImageHeader("\r\n=OK Width=2 Height=2").bComplete);
        const imageHeader_t header =
            parseImageHeader("\r\n=OK Image Width=2  Height=3 Sum=447 x=y\r\nABCDEF");
        QVERIFY(header.bComplete);
        QCOMPARE(QSize(header.nWidth, header.nHeight), QSize(2, 3));
        QCOMPARE(header.nSum, 447u);
        QCOMPARE(header.expectedSize(), 6);
        QCOMPARE(header.nPayloadOffset, 43);
        for (const char* pszBad : {"Height=288", "Width=256", "Sum=1", "Width=0 Height=5",
                                   "Width=-2 Height=-3", "Width=65536 Height=65537", "Width=abc Height=5"})
            QVERIFY2(parseImageHeader(QByteArray("\n=OK ") + pszBad + "\r\n").expectedSize() == -1, pszBad);
    }
    void enrollRefusals()
    {
        // "=NO ID=0" and "=NO DoubleFP" are refused in the window tests' enrolments.
        QCOMPARE(enrollRefusalText("=NO ID"), QStringLiteral("No Personal ID specified"));
        QCOMPARE(enrollRefusalText("=NO Group=0"), QStringLiteral("Invalid Group ID specified"));
        QCOMPARE(enrollRefusalText("=NO BKNum=OVER 12"), QStringLiteral("Invalid Finger ID specified"));
        QCOMPARE(enrollRefusalText("=NO CMDERR"), QStringLiteral("Internal Error"));
        QVERIFY(enrollRefusalText("=OK Enroll Quality=57").isEmpty());
    }
};

QTEST_APPLESS_MAIN(tst_sensorProtocol)
#include "tst_sensorProtocol.moc"
