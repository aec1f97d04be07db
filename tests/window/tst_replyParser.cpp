// The main window end to end: information, image and analysis modes against the simulated module.
#include "fakeudev/fakeUdev.h"
#include "modalAnswerer.h"
#include "sensorSimulator.h"
#include "serialPort/loggingSerialPort.h"
#include "serialPort/selector.h"
#include "ui/images.h"
#include "windowTester.h"

#include <QButtonGroup>
#include <QStatusBar>
#include <QToolButton>
#include <QtTest>

using namespace sensor_n;
using simulator_n::sensorSimulator_c;

namespace
{

// A picture with a different grey in every pixel of the first rows, so that a flipped or shifted
// picture cannot pass.
QByteArray testPixels(int p_nWidth, int p_nHeight)
{
    QByteArray baPixels(p_nWidth * p_nHeight, '\0');
    for (int i = 0; i < baPixels.size(); ++i)
    {
        baPixels[i] = static_cast<char>((i * 7 + i / p_nWidth * 13) & 0xFF);
    }
    return baPixels;
}

bool sameImage(const QPixmap& p_pixA, const QPixmap& p_pixB)
{
    return p_pixA.toImage().convertToFormat(QImage::Format_ARGB32) ==
           p_pixB.toImage().convertToFormat(QImage::Format_ARGB32);
}

} // namespace

class tst_replyParser : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void infoModeSendsSixCommandsAndFillsTheLabels_data();
    void infoModeSendsSixCommandsAndFillsTheLabels();
    void imageCaptureShowsThePictureBottomRowFirst_data();
    void imageCaptureShowsThePictureBottomRowFirst();
    void aCorruptedImageKeepsTheCommandRunning();
    void anImageHeaderWithoutUsableSizeNeverMakesAPicture_data();
    void anImageHeaderWithoutUsableSizeNeverMakesAPicture();
    void analysisListsEveryTemplate_data();
    void analysisListsEveryTemplate();
    void analysisOfAnEmptyStoreEndsAtOnce();
    void aCorruptedTemplateKeepsTheCommandRunning();
    void unexpectedLinesAreRecordedWithTheirLabels();
    void leftoverLinesDoNotCompleteTheNextCommand();
    void anAbortedCommandCompletesWithAnEmptyReply();
    void modeButtonsCarryTheModeNumbers();
    void automaticPortChoice_data();
    void automaticPortChoice();

private:
    void openWindow(int p_nChunkSize = 0);
    QStringList m_lstStatus;
    sensorSimulator_c* m_pSim = nullptr;
    vindal01mainWindow_c* m_pWindow = nullptr;
};

void tst_replyParser::init()
{
    m_lstStatus.clear();
    m_pSim = new sensorSimulator_c();
    QVERIFY(m_pSim->open());
}

void tst_replyParser::cleanup()
{
    delete m_pWindow;
    m_pWindow = nullptr;
    delete m_pSim;
    fakeUdev_n::clearPorts();
}

void tst_replyParser::openWindow(int p_nChunkSize)
{
    m_pWindow = new vindal01mainWindow_c();
    connect(m_pWindow->statusBar(), &QStatusBar::messageChanged,
            [this](const QString& p_strText) { m_lstStatus << p_strText; });
    m_pSim->setChunkSize(p_nChunkSize);
    vindal01mainWindowTester_c(*m_pWindow).portChanged(m_pSim->slavePath());
    QTRY_COMPARE(m_pWindow->command(), command_t::LedOn);
    QTRY_VERIFY(m_pWindow->received().endsWith("\r\n"));
    m_pSim->clearRecording();
    m_lstStatus.clear();
}

void tst_replyParser::infoModeSendsSixCommandsAndFillsTheLabels_data()
{
    QTest::addColumn<int>("chunkSize");
    QTest::newRow("whole replies") << 0;
    QTest::newRow("byte by byte") << 1;
    QTest::newRow("odd chunks") << 3;
}

void tst_replyParser::infoModeSendsSixCommandsAndFillsTheLabels()
{
    QFETCH(int, chunkSize);
    m_pSim->setFirmware(QStringLiteral("VD01 V9.99"));
    m_pSim->setBuildDate(QStringLiteral("Feb  8 2020"));
    m_pSim->setBuildTime(QStringLiteral("14:30:15"));
    m_pSim->setCapacity(500);
    m_pSim->addTemplate(1, 0);
    m_pSim->addTemplate(1, 5);
    openWindow(chunkSize);
    vindal01mainWindowTester_c tester(*m_pWindow);
    tester.modeSelected(static_cast<int>(sensor_n::mode_t::Info));
    QVERIFY(tester.lblFirmware()->text().isEmpty());
    QCOMPARE(m_lstStatus.value(0), QStringLiteral("Informationen auslesen"));
    const QByteArrayList lstExpected{"\x03", "model_fw", "date", "time", "reg /count", "max", "LedOn"};
    QTRY_COMPARE(m_pSim->commands(), lstExpected);
    QTRY_VERIFY(m_pWindow->received().endsWith("\r\n"));
    QTest::qWait(200);
    QCOMPARE(m_pSim->commands(), lstExpected);
    QCOMPARE(tester.lblFirmware()->text(), QStringLiteral("VD01 V9.99"));
    QCOMPARE(tester.lblBuildDate()->text(), QStringLiteral("Feb  8 2020"));
    QCOMPARE(tester.lblBuildTime()->text(), QStringLiteral("14:30:15"));
    QCOMPARE(tester.lblCapacity()->text(), QStringLiteral("2 / 500"));
    QCOMPARE(m_pWindow->state(), state_t::QueryDevice);
    QCOMPARE(tester.pageStack()->currentIndex(), tester.pageIndex(0));
}

void tst_replyParser::imageCaptureShowsThePictureBottomRowFirst_data()
{
    QTest::addColumn<int>("chunkSize");
    QTest::newRow("whole replies") << 0;
    QTest::newRow("64-byte chunks") << 64;
    QTest::newRow("odd chunks") << 37;
}

void tst_replyParser::imageCaptureShowsThePictureBottomRowFirst()
{
    QFETCH(int, chunkSize);
    const int nWidth = 24;
    const int nHeight = 16;
    const QByteArray baPixels = testPixels(nWidth, nHeight);
    QVERIFY(m_pSim->setImage(nWidth, nHeight, baPixels));
    m_pSim->addTemplate(4, 2);
    m_pSim->setFinger(4, 2);
    openWindow(chunkSize);
    vindal01mainWindowTester_c tester(*m_pWindow);
    tester.modeSelected(static_cast<int>(sensor_n::mode_t::Test));
    QCOMPARE(m_lstStatus.value(0), QStringLiteral("Bild erfassen"));
    QTRY_VERIFY(!tester.lblImage()->pixmap(Qt::ReturnByValue).isNull());
    const QImage image = tester.lblImage()->pixmap(Qt::ReturnByValue).toImage();
    QCOMPARE(image.size(), QSize(nWidth, nHeight));
    for (int i = 0; i < baPixels.size(); ++i)
    {
        const int nGrey = static_cast<uchar>(baPixels.at(i));
        const QRgb rgb = image.pixel(i % nWidth, nHeight - 1 - i / nWidth);
        QVERIFY2(rgb == qRgb(nGrey, nGrey, nGrey), qPrintable(QStringLiteral("pixel %1").arg(i)));
    }
    // Capture repeats: scan, image, scan ...
    QTRY_VERIFY(m_pSim->commands().count("read_image2") >= 2);
    const QByteArrayList lstCommands = m_pSim->commands();
    QCOMPARE(lstCommands.mid(0, 4), QByteArrayList({"\x03", "scan", "read_image2", "scan"}));
    QVERIFY(m_lstStatus.contains(QStringLiteral("Bitte Finger auflegen")));
    QVERIFY(m_lstStatus.contains(QStringLiteral("Bild lesen... 100%")));
}

void tst_replyParser::aCorruptedImageKeepsTheCommandRunning()
{
    const QByteArray baPixels = testPixels(8, 4);
    QVERIFY(m_pSim->setImage(8, 4, baPixels));
    m_pSim->setFinger(1, 1);
    m_pSim->corruptNextChecksum();
    openWindow();
    vindal01mainWindowTester_c tester(*m_pWindow);
    tester.modeSelected(static_cast<int>(sensor_n::mode_t::Test));
    const quint32 nSum = sensorSimulator_c::checksum(baPixels);
    QTRY_VERIFY(
        m_lstStatus.contains(QStringLiteral("Prüfsumme des Bildes fehlerhaft (erwartet %1, berechnet %2)")
                                 .arg(nSum + 1)
                                 .arg(nSum)));
    QTest::qWait(200);
    QCOMPARE(m_pWindow->command(), command_t::ReadImage);
    QVERIFY(tester.lblImage()->pixmap(Qt::ReturnByValue).isNull());
    QCOMPARE(m_pSim->commands().count("read_image2"), 1);
}

void tst_replyParser::anImageHeaderWithoutUsableSizeNeverMakesAPicture_data()
{
    QTest::addColumn<QByteArray>("header");
    QTest::newRow("no width, no height") << QByteArray("=OK Image Sum=0");
    QTest::newRow("zero width") << QByteArray("=OK Image Width=0 Height=5 Sum=0");
    QTest::newRow("negative") << QByteArray("=OK Image Width=-1 Height=-1 Sum=0");
    QTest::newRow("overflowing") << QByteArray("=OK Image Width=65536 Height=65536 Sum=0");
}

void tst_replyParser::anImageHeaderWithoutUsableSizeNeverMakesAPicture()
{
    QFETCH(QByteArray, header);
    m_pWindow = new vindal01mainWindow_c();
    vindal01mainWindowTester_c tester(*m_pWindow);
    tester.setCommand(command_t::ReadImage);
    // Without a size, -1 x -1 would ask for one byte and draw a picture of negative size.
    tester.feed("\r\n" + header + "\r\nX");
    tester.feed("YZ");
    QCOMPARE(m_pWindow->command(), command_t::ReadImage);
    QVERIFY(tester.lblImage()->pixmap(Qt::ReturnByValue).isNull());
    QVERIFY(m_pWindow->statusBar()->currentMessage().startsWith(QStringLiteral("Bildgröße")));
}

void tst_replyParser::analysisListsEveryTemplate_data()
{
    QTest::addColumn<int>("chunkSize");
    QTest::newRow("whole replies") << 0;
    QTest::newRow("byte by byte") << 1;
}

void tst_replyParser::analysisListsEveryTemplate()
{
    QFETCH(int, chunkSize);
    m_pSim->addTemplate(12, 0, 57, 31);
    m_pSim->addTemplate(12, 5, 90, 44);
    m_pSim->addTemplate(300, 9, 3, 250);
    openWindow(chunkSize);
    vindal01mainWindowTester_c tester(*m_pWindow);
    tester.treeTemplates()->sortByColumn(0, Qt::AscendingOrder);
    tester.modeSelected(static_cast<int>(sensor_n::mode_t::AnalyseSensor));
    QTRY_COMPARE_WITH_TIMEOUT(tester.treeTemplates()->topLevelItemCount(), 3, 20000);
    QTRY_VERIFY(m_pWindow->statusBar()->currentMessage().isEmpty());
    QCOMPARE(m_pSim->commands(), QByteArrayList({"\x03", "reg /count", "reg /list", "temp_set 2",
                                                 "reg /get 12 0", "reg /get 12 5", "reg /get 300 9"}));
    const QStringList lstProgress = m_lstStatus.filter(QStringLiteral("Sensordaten lesen... "));
    QCOMPARE(lstProgress, QStringList({"Sensordaten lesen... 0 / 3", "Sensordaten lesen... 1 / 3",
                                       "Sensordaten lesen... 2 / 3"}));
    auto row = [&tester](int p_nRow)
    {
        const QTreeWidgetItem* pItem = tester.treeTemplates()->topLevelItem(p_nRow);
        return QStringList{pItem->text(0), pItem->text(1), pItem->text(2), pItem->text(3)};
    };
    QCOMPARE(row(0), QStringList({"        12", "left little finger (0)", "57", "31"}));
    QCOMPARE(row(1), QStringList({"        12", "right thumb (5)", "90", "44"}));
    QCOMPARE(row(2), QStringList({"       300", "right little finger (9)", "3", "250"}));
    QCOMPARE(tester.treeTemplates()->topLevelItem(0)->textAlignment(0),
             int(Qt::AlignRight | Qt::AlignVCenter));
}

void tst_replyParser::analysisOfAnEmptyStoreEndsAtOnce()
{
    openWindow();
    vindal01mainWindowTester_c tester(*m_pWindow);
    tester.modeSelected(static_cast<int>(sensor_n::mode_t::AnalyseSensor));
    QTRY_COMPARE(m_pSim->commands(), QByteArrayList({"\x03", "reg /count", "reg /list", "temp_set 2"}));
    QTRY_COMPARE(m_pWindow->command(), command_t::TempalteFormat);
    QTRY_VERIFY(m_pWindow->statusBar()->currentMessage().isEmpty());
    QTest::qWait(200);
    QCOMPARE(m_pSim->commands().size(), 4);
    QCOMPARE(tester.treeTemplates()->topLevelItemCount(), 0);
}

void tst_replyParser::aCorruptedTemplateKeepsTheCommandRunning()
{
    m_pSim->addTemplate(7, 3);
    openWindow();
    m_pSim->corruptNextChecksum();
    vindal01mainWindowTester_c tester(*m_pWindow);
    tester.modeSelected(static_cast<int>(sensor_n::mode_t::AnalyseSensor));
    QTRY_VERIFY(!m_lstStatus.filter(QStringLiteral("Prüfsumme des Templates fehlerhaft")).isEmpty());
    QTest::qWait(200);
    QCOMPARE(m_pWindow->command(), command_t::RegGet);
    QCOMPARE(tester.treeTemplates()->topLevelItemCount(), 0);
}

void tst_replyParser::unexpectedLinesAreRecordedWithTheirLabels()
{
    openWindow();
    m_pSim->setSilent(true);
    QVERIFY(m_pWindow->sendCommand(command_t::RegFind, {{"pid", 3}, {"fid", 1}}));
    m_pSim->injectLine("=OK strange");
    QTRY_VERIFY(m_pWindow->unexpectedResponsesWindow()->toPlainText().endsWith(
        QLatin1String("reg /find ::> =OK strange")));
    QVERIFY(m_pWindow->unexpectedResponsesWindow()->toPlainText().contains(QLatin1String(" M0 S1 C17: ")));
    QVERIFY(m_pWindow->sendCommand(command_t::LedOff, {}));
    m_pSim->injectLine("garbage");
    QTRY_VERIFY(m_pWindow->unexpectedResponsesWindow()->toPlainText().endsWith(
        QLatin1String("led /on/off ::> garbage")));
    // While a template is read, stray lines are not recorded.
    const QString strBefore = m_pWindow->unexpectedResponsesWindow()->toPlainText();
    QVERIFY(m_pWindow->sendCommand(command_t::RegGet, {}));
    m_pSim->injectLine("garbage");
    QTRY_COMPARE(m_pWindow->received(), QByteArray("garbage\r\n"));
    QCOMPARE(m_pWindow->unexpectedResponsesWindow()->toPlainText(), strBefore);
}

void tst_replyParser::leftoverLinesDoNotCompleteTheNextCommand()
{
    openWindow();
    m_pSim->setSilent(true);
    vindal01mainWindowTester_c tester(*m_pWindow);
    tester.setState(state_t::QueryDevice);
    QTRY_COMPARE(m_pSim->commands(), QByteArrayList({"model_fw"}));
    // A stale second answer in the same read belongs to the finished command, not to "date".
    m_pSim->injectBytes("=OK V1.0\r\n=OK stale\r\n");
    QTRY_COMPARE(m_pSim->commands(), QByteArrayList({"model_fw", "date"}));
    QTest::qWait(100);
    QCOMPARE(m_pSim->commands(), QByteArrayList({"model_fw", "date"}));
    QCOMPARE(m_pWindow->command(), command_t::Date);
    QCOMPARE(tester.lblFirmware()->text(), QStringLiteral("V1.0"));
    QVERIFY(tester.lblBuildDate()->text() != QLatin1String("stale"));
}

void tst_replyParser::anAbortedCommandCompletesWithAnEmptyReply()
{
    openWindow();
    vindal01mainWindowTester_c tester(*m_pWindow);
    tester.modeSelected(static_cast<int>(sensor_n::mode_t::Test));
    // No finger: scan is polled; an abort completes the running scan with an empty reply, which counts as
    // no finger, so the poll goes on.
    QTRY_VERIFY(m_pSim->commands().count("scan") >= 2);
    m_pSim->setSilent(true);
    const int nSeen = m_pSim->commands().size();
    QTRY_VERIFY(m_pSim->commands().size() > nSeen);
    QTest::qWait(100);
    QCOMPARE(m_pSim->commands().last(), QByteArray("scan"));
    m_pSim->clearRecording();
    tester.abortCommand();
    QTRY_COMPARE(m_pSim->commands(), QByteArrayList({"\x03", "scan"}));
}

void tst_replyParser::modeButtonsCarryTheModeNumbers()
{
    openWindow();
    m_pWindow->resize(900, 700);
    m_pWindow->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_pWindow));
    vindal01mainWindowTester_c tester(*m_pWindow);
    QList<QToolButton*> lstButtons;
    for (QToolButton* pButton : m_pWindow->centralWidget()->findChildren<QToolButton*>())
    {
        lstButtons << pButton;
    }
    std::sort(lstButtons.begin(), lstButtons.end(),
              [](QToolButton* a, QToolButton* b)
              { return a->mapToGlobal(QPoint()).x() < b->mapToGlobal(QPoint()).x(); });
    QStringList lstTexts;
    for (QToolButton* pButton : lstButtons)
    {
        lstTexts << pButton->text();
    }
    QCOMPARE(lstTexts, QStringList({"Info", "Bild", "Einlernen", "Training", "Löschen", "Analyse"}));
    QVERIFY(lstButtons.at(0)->isChecked());

    QTest::mouseClick(lstButtons.at(1), Qt::LeftButton);
    QCOMPARE(m_pWindow->mode(), sensor_n::mode_t::Test);
    QCOMPARE(tester.pageStack()->currentIndex(), tester.pageIndex(2));
    QTest::mouseClick(lstButtons.at(2), Qt::LeftButton);
    QCOMPARE(m_pWindow->mode(), sensor_n::mode_t::Enroll);
    QCOMPARE(m_pWindow->state(), state_t::Enroll);
    // Let the writes of both clicks and any scan reply in flight pass before recording anew.
    QTRY_COMPARE(m_pWindow->serialPort()->bytesToWrite(), 0);
    QTest::qWait(100);
    m_pSim->clearRecording();
    // The checked button again selects its mode again.
    QTest::mouseClick(lstButtons.at(2), Qt::LeftButton);
    QTRY_COMPARE(m_pSim->commands(), QByteArrayList({"\x03"}));
    QTest::mouseClick(lstButtons.at(5), Qt::LeftButton);
    QCOMPARE(m_pWindow->mode(), sensor_n::mode_t::AnalyseSensor);
    // The hidden statistics mode and the debug action are reachable by their key chords only.
    QAction* pActDebug = m_pWindow->findChild<QAction*>(QStringLiteral("actionDebug"));
    QVERIFY(!pActDebug->isVisible());
    QTest::keyClick(m_pWindow, Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(pActDebug->isVisible());
    QTest::keyClick(m_pWindow, Qt::Key_M, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(m_pWindow->mode(), sensor_n::mode_t::MatchIdAnalysis);
    QCOMPARE(tester.pageStack()->currentIndex(), tester.pageIndex(6));
}

void tst_replyParser::automaticPortChoice_data()
{
    QTest::addColumn<QStringList>("others");
    QTest::addColumn<int>("adapters");
    QTest::newRow("none") << QStringList({"0483:a097", ""}) << 0;
    QTest::newRow("one") << QStringList({"0403:6010"}) << 1;
    QTest::newRow("two beside other ports") << QStringList({"0403:6010", "", "0483:a097"}) << 2;
}

void tst_replyParser::automaticPortChoice()
{
    QFETCH(QStringList, others);
    QFETCH(int, adapters);
    QVERIFY(fakeUdev_n::isActive());
    // Other ports come first in the enumeration, then the adapters; the first adapter must be chosen.
    QList<QSharedPointer<sensorSimulator_c>> lstSims;
    QStringList lstEntries;
    for (const QString& strIds : others)
    {
        lstSims << QSharedPointer<sensorSimulator_c>::create();
        QVERIFY(lstSims.last()->open());
        const QStringList lstIds = strIds.split(QLatin1Char(':'));
        lstEntries << fakeUdev_n::portEntry(lstSims.last()->slavePath(), lstIds.value(0), lstIds.value(1));
    }
    for (int i = 0; i < adapters; ++i)
    {
        sensorSimulator_c* pSim = m_pSim;
        if (i > 0)
        {
            lstSims << QSharedPointer<sensorSimulator_c>::create();
            pSim = lstSims.last().data();
            QVERIFY(pSim->open());
        }
        lstEntries << fakeUdev_n::portEntry(pSim->slavePath(), "0403", "6001", "Adapter", "Maker");
    }
    fakeUdev_n::setPorts(lstEntries);

    m_pWindow = new vindal01mainWindow_c();
    const QPixmap pixLamp = m_pWindow->portStateLabel()->pixmap(Qt::ReturnByValue);
    if (adapters == 0)
    {
        QVERIFY(m_pWindow->serialPort() == nullptr);
        QVERIFY(sameImage(pixLamp, images_n::lampYellow().scaledToHeight(16, Qt::SmoothTransformation)));
        QVERIFY(m_pWindow->portStateLabel()->toolTip().isEmpty());
        QVERIFY(!m_pWindow->watchdogTimer()->isActive());
        QVERIFY(!m_pWindow->idleTimer()->isActive());
        return;
    }
    const QString strFirst = m_pSim->slavePath().mid(5);
    QVERIFY(m_pWindow->serialPort() != nullptr);
    QCOMPARE(m_pWindow->serialPort()->portName(), strFirst);
    QCOMPARE(m_pWindow->portSelector()->port(), strFirst);
    QVERIFY(sameImage(pixLamp, images_n::lampGreen().scaledToHeight(16, Qt::SmoothTransformation)));
    QTRY_COMPARE(m_pSim->commands().value(0), QByteArray("model_fw"));
    for (const auto& pOther : lstSims)
    {
        QVERIFY(pOther->commands().isEmpty());
    }
    QVERIFY(m_pWindow->serialPortsWindow()->toPlainText().contains(
        QStringLiteral("* %1 VID 0x403 PID 0x6001\n").arg(strFirst)));
}

QTEST_MAIN(tst_replyParser)
#include "tst_replyParser.moc"
