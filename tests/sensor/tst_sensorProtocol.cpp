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
    // A line is the running command's answer only in one of its own forms; a general form ("=OK" and a
    // value, "=NO" and a reason) takes no line that another command's form names.
    void answerForms_data()
    {
        QTest::addColumn<command_t>("command");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>(
            "answer"); // kind letter (N none, F foreign, P progress, A final), step, text
        const auto row =
            [](const char* p_szName, command_t p_nCommand, const char* p_szLine, const char* p_szAnswer)
        { QTest::newRow(p_szName) << p_nCommand << QString(p_szLine) << QString(p_szAnswer); };
        row("firmware", command_t::ModelFw, "=OK  VD01 V2.13 ", "A0 VD01 V2.13");
        row("search result is no firmware", command_t::ModelFw, "=OK Search ID=7, BKNum=0", "F0 ");
        row("LED answer is no date", command_t::Date, "=OK LedOn", "F0 ");
        row("enrolment line is no count", command_t::RegCount, "=OK Enroll ID=4 Quality=85", "F0 ");
        row("registry answer is no capacity", command_t::Max, "=OK Group=1", "F0 ");
        row("ready is no time", command_t::Time, "=OK Ready", "F0 ");
        row("refusal is no firmware", command_t::ModelFw, "=NO CMDERR", "N0 ");
        row("LED", command_t::LedOff, "=OK LedOff", "A0 =OK LedOff");
        row("scan without finger", command_t::Scan, "=NO NoFinger", "A0 NoFinger");
        row("scan value", command_t::Scan, "=OK 1", "A0 1");
        row("match result is no scan", command_t::Scan, "=OK MatchId ID=7, BKNum=2", "F0 ");
        row("search ready", command_t::Search, "=OK Ready", "P0 ");
        row("search found", command_t::Search, "=OK Search2 ID=7, BKNum=0", "A0 =OK Search2 ID=7, BKNum=0");
        row("match answer is no search's", command_t::Search, "=NO MatchId NotMatched", "F0 ");
        row("LED-less search", command_t::SearchNoLed, "=NO Search NotFound", "A0 =NO Search NotFound");
        row("match refused", command_t::MatchId, "=NO MatchId NotMatched", "A0 =NO MatchId NotMatched");
        row("match, other refusal", command_t::MatchId, "=NO Timeout", "A0 =NO Timeout");
        row("search refusal is no match's", command_t::MatchId, "=NO Search NotFound", "F0 ");
        row("enrolment refusal is no match's", command_t::MatchIdNoLed, "=NO DoubleFP", "F0 ");
        row("registered", command_t::RegFind, "=OK Group=1", "A0 1");
        row("not registered", command_t::RegFind, "=NO Unreg", "A0 0");
        row("deleted", command_t::RegDel, "=OK Del", "A0 =OK Del");
        row("deletion, not stored", command_t::RegDel, "=NO Unreg", "A0 =NO Unreg");
        row("search result is no deletion's", command_t::RegDel, "=OK Search ID=7, BKNum=0", "F0 ");
        row("cleared", command_t::RegClear, "=OK Clear", "A0 =OK Clear");
        row("security", command_t::FpSecurity, "=OK  ", "A0 =OK");
        row("placement 1", command_t::EnrollDupFP, "=OK Ready", "P1 ");
        row("placement 3", command_t::EnrollDupFP, "=FP 2", "P3 ");
        row("third placement done", command_t::EnrollDupFP, "=FP 3", "P4 ");
        row("enrolled", command_t::EnrollDupFP, "=OK Enroll Quality=57", "A5 =OK Enroll Quality=57");
        row("enrolment refused", command_t::EnrollDupFP, "=NO CMDERR", "A99 =NO CMDERR");
        row("search result is no enrolment's", command_t::EnrollDupFP, "=NO Search NotFound", "F0 ");
        row("search ready is no placement", command_t::EnrollDupFP, "=OK Ready now", "F0 ");
        row("template list line", command_t::RegList, "=LIST 4 1 3 80", "A0 =LIST 4 1 3 80");
        row("LED answer is no list line", command_t::RegList, "=OK LedOn", "F0 ");
        row("no command: any line", command_t::NoCommand, "=OK V1.0", "N0 ");
        row("no command: a late answer", command_t::NoCommand, "=OK Enroll ID=4", "F0 ");
    }
    void answerForms()
    {
        QFETCH(command_t, command);
        QFETCH(QString, line);
        QFETCH(QString, answer);
        const answer_t got = answerTo(command, line);
        QCOMPARE(
            QStringLiteral("%1%2 %3").arg(QString("NFPA").at(int(got.nKind))).arg(got.nStep).arg(got.strText),
            answer);
    }
    // Which unknown lines are recorded, which operations may answer after the abort, and which share forms.
    void answerTableProperties()
    {
        QVERIFY(recordsUnknownLines(command_t::ModelFw) && recordsUnknownLines(command_t::NoCommand));
        for (command_t nCommand : {command_t::EnrollDupFP, command_t::RegGet, command_t::ReadImage,
                                   command_t::FpSecurity, command_t::SearchNoLed, command_t::MatchIdNoLed})
            QVERIFY(!recordsUnknownLines(nCommand));
        int nLate = 0;
        for (int n = 0; n <= 22; ++n)
            nLate += answersLate(command_t(n)) ? 1 : 0;
        QCOMPARE(nLate, 5);
        QVERIFY(sameAnswers(command_t::Search, command_t::SearchNoLed));
        QVERIFY(sameAnswers(command_t::MatchIdNoLed, command_t::MatchId));
        QVERIFY(!sameAnswers(command_t::Search, command_t::MatchId));
        QVERIFY(!sameAnswers(command_t::NoCommand, command_t::NoCommand));
        QCOMPARE(enrolmentQuality("=OK Enroll ID=3 Quality=85"), 85);
        QCOMPARE(enrolmentQuality("=OK Enroll ID=3 Quality:x"), 0);
        QCOMPARE(enrolmentQuality("=OK Enroll ID=3"), -1);
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
