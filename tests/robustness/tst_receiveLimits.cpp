// A module that sends without end: the receive buffer stays bounded and the dialogue goes on; replies as
// large as a big picture still arrive whole.
#include "sensorSimulator.h"
#include "windowTester.h"

#include <QLabel>
#include <QTextBrowser>
#include <QtTest>

using namespace sensor_n;
using simulator_n::sensorSimulator_c;

class tst_receiveLimits : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void endlessBytesAreDroppedAndTheNextReplyIsRead();
    void aPictureLargerThanAnyLineReplyIsRead();

private:
    sensorSimulator_c* m_pSim = nullptr;
    vindal01mainWindow_c* m_pWindow = nullptr;
};

void tst_receiveLimits::init()
{
    m_pSim = new sensorSimulator_c();
    QVERIFY(m_pSim->open());
    m_pWindow = new vindal01mainWindow_c();
    vindal01mainWindowTester_c(*m_pWindow).portChanged(m_pSim->slavePath());
    QTRY_COMPARE(m_pWindow->command(), command_t::LedOn);
    QTRY_VERIFY(m_pWindow->received().endsWith("\r\n"));
}

void tst_receiveLimits::cleanup()
{
    delete m_pWindow;
    delete m_pSim;
}

void tst_receiveLimits::endlessBytesAreDroppedAndTheNextReplyIsRead()
{
    m_pSim->setSilent(true);
    QVERIFY(m_pWindow->sendCommand(command_t::Search, {}));
    const QByteArray baNoise(1024 * 1024 + 5000, 'x');
    m_pSim->injectBytes(baNoise);
    QTRY_VERIFY(m_pWindow->unexpectedResponsesWindow()->toPlainText().contains(
        QLatin1String("bytes without a complete reply dropped")));
    m_pSim->injectLine("=OK Search ID=7, BKNum=3");
    QTRY_VERIFY(m_pWindow->received().endsWith("=OK Search ID=7, BKNum=3\r\n"));
    // What is left of the noise is what came after the drop.
    QVERIFY(m_pWindow->received().size() < baNoise.size() - 1024 * 1024 + 100);
    QCOMPARE(m_pWindow->command(), command_t::Search);
}

void tst_receiveLimits::aPictureLargerThanAnyLineReplyIsRead()
{
    const int nWidth = 1200;
    const int nHeight = 1000;
    QByteArray baPixels(nWidth * nHeight, '\0');
    for (int i = 0; i < baPixels.size(); ++i)
    {
        baPixels[i] = char(i % 251);
    }
    QVERIFY(m_pSim->setImage(nWidth, nHeight, baPixels));
    m_pSim->setStrangerFinger();
    vindal01mainWindowTester_c tester(*m_pWindow);
    tester.modeSelected(int(sensor_n::mode_t::Test));
    QTRY_COMPARE_WITH_TIMEOUT(tester.lblImage()->pixmap(Qt::ReturnByValue).size(), QSize(nWidth, nHeight),
                              20000);
    const QImage image = tester.lblImage()->pixmap(Qt::ReturnByValue).toImage();
    QCOMPARE(qRed(image.pixel(0, nHeight - 1)), 0);
    QCOMPARE(qRed(image.pixel(nWidth - 1, 0)), (nWidth * nHeight - 1) % 251);
    QVERIFY(m_pWindow->unexpectedResponsesWindow()->toPlainText().isEmpty());
}

QTEST_MAIN(tst_receiveLimits)
#include "tst_receiveLimits.moc"
