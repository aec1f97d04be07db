// The raw traffic and unexpected-response windows keep only their newest lines, however long the tool runs.
#include "ui/diagnosticText.h"
#include "windowFixture.h"

#include <QPlainTextEdit>
#include <QTextBlock>

using namespace sensor_n;

class tst_diagnosticWindows : public QObject
{
    Q_OBJECT

private slots:
    void roomIsMadeByDroppingTheOldestLines_data()
    {
        QTest::addColumn<int>("maximum");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("one line") << 4 << "e"
                                  << "b\nc\nd\ne";
        QTest::newRow("CR LF breaks once") << 4 << "e\r\n"
                                           << "c\nd\ne\n";
        QTest::newRow("lone CR") << 4 << "e\rf"
                                 << "c\nd\ne\nf";
        QTest::newRow("more lines than the window") << 2 << "e\nf\ng"
                                                    << "f\ng";
        QTest::newRow("no maximum") << 0 << "e"
                                    << "a\nb\nc\nd\ne";
    }
    void roomIsMadeByDroppingTheOldestLines()
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

    void unexpectedResponsesKeepTheNewestLines()
    {
        vindal01mainWindow_c window;
        QTextDocument* pDocument = window.unexpectedResponsesWindow()->document();
        QCOMPARE(pDocument->maximumBlockCount(), 10000);
        vindal01mainWindowTester_c(window).setCommand(command_t::ModelFw);
        QByteArray baLines;
        for (int i = 0; i < 10050; ++i)
            baLines += "noise " + QByteArray::number(i) + "\r\n";
        vindal01mainWindowTester_c(window).feed(baLines);
        // Room is made a hundred lines at a time.
        QVERIFY(pDocument->blockCount() > 9900);
        QVERIFY(pDocument->firstBlock().text().endsWith(
            QStringLiteral(": model_fw ::> noise %1").arg(10050 - pDocument->blockCount())));
        QVERIFY(pDocument->lastBlock().text().endsWith(QLatin1String(": model_fw ::> noise 10049")));
    }

    void trafficWindowKeepsTheNewestLines()
    {
        windowFixture_c f;
        f.start();
        QTextDocument* pDocument = f.window->serialCommandsWindow()->document();
        QCOMPARE(pDocument->maximumBlockCount(), 10000);
        f.sim->setSilent(true);
        for (int i = 0; i < 12000; ++i)
        {
            f.window->sendCommand(command_t::RegDel,
                                  {{QStringLiteral("pid"), i}, {QStringLiteral("fid"), 1}});
        }
        QVERIFY(pDocument->blockCount() <= 10000);
        QVERIFY(!f.window->serialCommandsWindow()->toPlainText().contains(QLatin1String("W reg /del 1 1")));
        QVERIFY(
            f.window->serialCommandsWindow()->toPlainText().contains(QLatin1String("W reg /del 11999 1")));
        // What arrives after that is shown as before.
        f.sim->injectLine("=OK late");
        QTRY_VERIFY(f.window->serialCommandsWindow()->toPlainText().contains(QLatin1String("R =OK late")));
        QVERIFY(pDocument->blockCount() <= 10000);
    }
};

QTEST_MAIN(tst_diagnosticWindows)
#include "tst_diagnosticWindows.moc"
