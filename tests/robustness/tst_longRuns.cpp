// However long the tool runs and whatever the module sends: the receive buffer and the raw traffic and
// unexpected-response windows stay bounded, and replies as large as a big picture still arrive whole.
#include "ui/diagnosticText.h"
#include "windowFixture.h"

#include <QPlainTextEdit>
#include <QTextBlock>

using namespace sensor_n;

class tst_longRuns : public QObject
{
    Q_OBJECT
    windowFixture_c f;

private slots:
    void init() { f.start(); }
    void cleanup() { f.stop(); }

    void endlessBytesAreDroppedAndTheNextReplyIsRead()
    {
        f.sim->setSilent(true);
        QVERIFY(f.window->sendCommand(command_t::Search, {}));
        const QByteArray baNoise(1024 * 1024 + 5000, 'x');
        f.sim->injectBytes(baNoise);
        QTRY_VERIFY_WITH_TIMEOUT(f.window->unexpectedResponsesWindow()->toPlainText().contains(
                                     QLatin1String("bytes without a complete reply dropped")),
                                 60000);
        f.sim->injectLine("=OK Search ID=7, BKNum=3");
        QTRY_VERIFY(f.window->received().endsWith("=OK Search ID=7, BKNum=3\r\n"));
        // What is left of the noise is what came after the drop.
        QVERIFY(f.window->received().size() < baNoise.size() - 1024 * 1024 + 100);
        QCOMPARE(f.window->command(), command_t::Search);
    }

    void aPictureLargerThanAnyLineReplyIsRead()
    {
        QByteArray baPixels(1200 * 1000, '\0');
        for (int i = 0; i < baPixels.size(); ++i)
            baPixels[i] = char(i % 251);
        QVERIFY(f.sim->setImage(1200, 1000, baPixels));
        f.sim->setStrangerFinger();
        f.t().modeSelected(int(sensor_n::mode_t::Test));
        QTRY_COMPARE_WITH_TIMEOUT(f.t().lblImage()->pixmap(Qt::ReturnByValue).size(), QSize(1200, 1000),
                                  30000);
        const QImage image = f.t().lblImage()->pixmap(Qt::ReturnByValue).toImage();
        QCOMPARE(qRed(image.pixel(0, 999)), 0);
        QCOMPARE(qRed(image.pixel(1199, 0)), (1200 * 1000 - 1) % 251);
        QVERIFY(f.window->unexpectedResponsesWindow()->toPlainText().isEmpty());
    }

    void roomIsMadeByDroppingTheOldestLines()
    {
        // The maximum, the text appended to "a\nb\nc\nd", what is left ('|' for a line break).
        const QList<std::tuple<int, QString, QString>> lstRows = {{4, "e", "b|c|d|e"},
                                                                  {4, "e\r\n", "c|d|e|"},
                                                                  {4, "e\rf", "c|d|e|f"},
                                                                  {2, "e\nf\ng", "f|g"},
                                                                  {0, "e", "a|b|c|d|e"}};
        for (auto [nMaximum, strText, strExpected] : lstRows)
        {
            QPlainTextEdit edit;
            edit.setPlainText(QStringLiteral("a\nb\nc\nd"));
            edit.document()->setMaximumBlockCount(nMaximum);
            diagnosticText_n::appendPlainText(&edit, strText);
            QCOMPARE(edit.toPlainText(), strExpected.replace('|', '\n'));
        }
    }

    void unexpectedResponsesKeepTheNewestLines()
    {
        f.stop();
        f.start(false); // no port: the lines complete nothing
        QTextDocument* pDocument = f.window->unexpectedResponsesWindow()->document();
        QCOMPARE(pDocument->maximumBlockCount(), 10000);
        f.t().setCommand(command_t::ModelFw);
        QByteArray baLines;
        for (int i = 0; i < 10050; ++i)
            baLines += "noise " + QByteArray::number(i) + "\r\n";
        f.t().feed(baLines);
        // Room is made a hundred lines at a time.
        QVERIFY2(pDocument->blockCount() > 9900, qPrintable(QString::number(pDocument->blockCount())));
        QVERIFY(pDocument->firstBlock().text().endsWith(
            QStringLiteral(": model_fw ::> noise %1").arg(10050 - pDocument->blockCount())));
        QVERIFY(pDocument->lastBlock().text().endsWith(QLatin1String(": model_fw ::> noise 10049")));
    }

    void trafficWindowKeepsTheNewestLines()
    {
        QTextDocument* pDocument = f.window->serialCommandsWindow()->document();
        QCOMPARE(pDocument->maximumBlockCount(), 10000);
        f.sim->setSilent(true);
        for (int i = 0; i < 12000; ++i)
            f.window->sendCommand(command_t::RegDel,
                                  {{QStringLiteral("pid"), i}, {QStringLiteral("fid"), 1}});
        // Traffic lines go in together a moment later.
        QTRY_VERIFY(
            f.window->serialCommandsWindow()->toPlainText().contains(QLatin1String("W reg /del 11999 1")));
        QVERIFY(!f.window->serialCommandsWindow()->toPlainText().contains(QLatin1String("W reg /del 1 1")));
        // What arrives after that is shown as before.
        f.sim->injectLine("=OK late");
        QTRY_VERIFY(f.window->serialCommandsWindow()->toPlainText().contains(QLatin1String("R =OK late")));
        QVERIFY(pDocument->blockCount() <= 10000);
    }
};

QTEST_MAIN(tst_longRuns)
#include "tst_longRuns.moc"
