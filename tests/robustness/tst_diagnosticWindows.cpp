// The raw traffic and unexpected-response windows keep only their newest lines, however long the tool runs.
#include "sensorSimulator.h"
#include "ui/diagnosticText.h"
#include "windowTester.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QtTest>

using namespace sensor_n;
using simulator_n::sensorSimulator_c;

class tst_diagnosticWindows : public QObject
{
    Q_OBJECT

private slots:
    void roomIsMadeByDroppingTheOldestLines_data();
    void roomIsMadeByDroppingTheOldestLines();
    void unexpectedResponsesKeepTheNewestLines();
    void trafficWindowKeepsTheNewestLines();
};

void tst_diagnosticWindows::roomIsMadeByDroppingTheOldestLines_data()
{
    QTest::addColumn<int>("maximum");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("one line") << 4 << QStringLiteral("e") << QStringLiteral("b\nc\nd\ne");
    QTest::newRow("CR LF breaks once") << 4 << QStringLiteral("e\r\n") << QStringLiteral("c\nd\ne\n");
    QTest::newRow("lone CR") << 4 << QStringLiteral("e\rf") << QStringLiteral("c\nd\ne\nf");
    QTest::newRow("more lines than the window") << 2 << QStringLiteral("e\nf\ng") << QStringLiteral("f\ng");
    QTest::newRow("no maximum") << 0 << QStringLiteral("e") << QStringLiteral("a\nb\nc\nd\ne");
}

void tst_diagnosticWindows::roomIsMadeByDroppingTheOldestLines()
{
    QFETCH(int, maximum);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QPlainTextEdit edit;
    edit.setPlainText(QStringLiteral("a\nb\nc\nd"));
    edit.document()->setMaximumBlockCount(maximum);
    diagnosticText_n::appendPlainText(&edit, text);
    QCOMPARE(edit.toPlainText(), expected);
}

void tst_diagnosticWindows::unexpectedResponsesKeepTheNewestLines()
{
    vindal01mainWindow_c window;
    vindal01mainWindowTester_c tester(window);
    QTextDocument* pDocument = window.unexpectedResponsesWindow()->document();
    QCOMPARE(pDocument->maximumBlockCount(), 10000);

    tester.setCommand(command_t::ModelFw);
    QByteArray baLines;
    for (int i = 0; i < 10050; ++i)
    {
        baLines += "noise " + QByteArray::number(i) + "\r\n";
    }
    tester.feed(baLines);
    // Room is made a hundred lines at a time.
    QVERIFY(pDocument->blockCount() > 9900);
    QVERIFY(pDocument->firstBlock().text().endsWith(
        QStringLiteral(": model_fw ::> noise %1").arg(10050 - pDocument->blockCount())));
    QVERIFY(pDocument->lastBlock().text().endsWith(QLatin1String(": model_fw ::> noise 10049")));
}

void tst_diagnosticWindows::trafficWindowKeepsTheNewestLines()
{
    sensorSimulator_c sim;
    QVERIFY(sim.open());
    vindal01mainWindow_c window;
    vindal01mainWindowTester_c tester(window);
    tester.portChanged(sim.slavePath());
    QTRY_COMPARE(window.command(), command_t::LedOn);
    QTextDocument* pDocument = window.serialCommandsWindow()->document();
    QCOMPARE(pDocument->maximumBlockCount(), 10000);

    sim.setSilent(true);
    for (int i = 0; i < 12000; ++i)
    {
        window.sendCommand(command_t::RegDel, {{QStringLiteral("pid"), i}, {QStringLiteral("fid"), 1}});
    }
    QTRY_VERIFY(window.serialCommandsWindow()->toPlainText().contains(QLatin1String("W reg /del 11999 1")));
    QVERIFY(pDocument->blockCount() <= 10000);
    QVERIFY(!window.serialCommandsWindow()->toPlainText().contains(QLatin1String("W reg /del 1 1")));
    QVERIFY(window.serialCommandsWindow()->toPlainText().contains(QLatin1String("W reg /del 11999 1")));
    // The window shows what arrives after that as before.
    sim.injectLine("=OK late");
    QTRY_VERIFY(pDocument->lastBlock().text().startsWith(QLatin1String("R =OK late")) ||
                pDocument->lastBlock().previous().text().startsWith(QLatin1String("R =OK late")));
    QVERIFY(pDocument->blockCount() <= 10000);
}

QTEST_MAIN(tst_diagnosticWindows)
#include "tst_diagnosticWindows.moc"
