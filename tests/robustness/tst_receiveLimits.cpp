// A module that sends without end: the receive buffer stays bounded and the dialogue goes on; replies as
// large as a big picture still arrive whole.
#include "windowFixture.h"

using namespace sensor_n;

class tst_receiveLimits : public QObject
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
        QTRY_VERIFY(f.window->unexpectedResponsesWindow()->toPlainText().contains(
            QLatin1String("bytes without a complete reply dropped")));
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
};

QTEST_MAIN(tst_receiveLimits)
#include "tst_receiveLimits.moc"
