// The main window end to end: information, image and analysis modes against the simulated module.
#include "commandLineTable.h"
#include "fakeudev/fakeUdev.h"
#include "serialPort/selector.h"
#include "ui/images.h"
#include "ui/keepResults.h"
#include "windowFixture.h"

#include <memory>

using namespace sensor_n;
using sim_t = windowFixture_c::sim_t;

namespace
{
// A different grey in every pixel of the first rows, so that a flipped or shifted picture cannot pass.
QByteArray testPixels(int p_nCount)
{
    QByteArray baPixels(p_nCount, '\0');
    for (int i = 0; i < baPixels.size(); ++i)
        baPixels[i] = static_cast<char>((i * 7 + i / 24 * 13) & 0xFF);
    return baPixels;
}
// The picture shows these pixels, the first row received at the bottom.
bool shows(const QLabel* p_pLabel, int p_nWidth, const QByteArray& p_baPixels)
{
    const QImage image = p_pLabel->pixmap(Qt::ReturnByValue).toImage();
    const int nHeight = p_baPixels.size() / p_nWidth;
    bool bSame = image.size() == QSize(p_nWidth, nHeight);
    for (int i = 0; bSame && i < p_baPixels.size(); ++i)
    {
        const int nGrey = quint8(p_baPixels.at(i));
        bSame = image.pixel(i % p_nWidth, nHeight - 1 - i / p_nWidth) == qRgb(nGrey, nGrey, nGrey);
    }
    return bSame;
}
} // namespace

class tst_replyParser : public QObject
{
    Q_OBJECT
    windowFixture_c f;

private slots:
    void init() { f.start(false); }
    void cleanup()
    {
        f.stop();
        fakeUdev_n::clearPorts();
    }

    // Replies whole (0) or cut into pieces of these sizes.
    static void chunkRows(std::initializer_list<int> p_lstSizes)
    {
        QTest::addColumn<int>("chunkSize");
        for (int nSize : p_lstSizes)
            QTest::addRow("chunks of %d", nSize) << nSize;
    }

    void infoModeSendsSixCommandsAndFillsTheLabels_data() { chunkRows({0, 1, 3}); }
    void infoModeSendsSixCommandsAndFillsTheLabels()
    {
        QFETCH(int, chunkSize);
        f.sim->setFirmware(QStringLiteral("VD01 V9.99"));
        f.sim->setBuildDate(QStringLiteral("Feb  8 2020"));
        f.sim->setBuildTime(QStringLiteral("14:30:15"));
        f.sim->setCapacity(500);
        f.sim->addTemplate(1, 0);
        f.sim->addTemplate(1, 5);
        f.sim->setChunkSize(chunkSize);
        f.openOnSimulator();
        f.t().modeSelected(int(sensor_n::mode_t::Info));
        QVERIFY(f.t().lblFirmware()->text().isEmpty());
        QCOMPARE(f.status.value(0), QStringLiteral("Informationen auslesen"));
        f.settle();
        QCOMPARE(f.wireSoFar(), QByteArrayList{"\x03"} + wire_n::infoQuery);
        QCOMPARE(QStringList({f.t().lblFirmware()->text(), f.t().lblBuildDate()->text(),
                              f.t().lblBuildTime()->text(), f.t().lblCapacity()->text()}),
                 QStringList({"VD01 V9.99", "Feb  8 2020", "14:30:15", "2 / 500"}));
        QCOMPARE(f.window->state(), state_t::QueryDevice);
    }

    void imageCaptureShowsThePictureBottomRowFirst_data() { chunkRows({0, 64, 37}); }
    // Capture repeats (scan, image, scan ...); a second picture of the same size and checksum is read
    // afresh, nothing counted of the first leaking into it.
    void imageCaptureShowsThePictureBottomRowFirst()
    {
        QFETCH(int, chunkSize);
        const QByteArray baPixels = testPixels(24 * 16);
        QByteArray baReversed = baPixels;
        std::reverse(baReversed.begin(), baReversed.end());
        QVERIFY(f.sim->setImage(24, 16, baPixels));
        f.sim->setStrangerFinger();
        f.sim->setChunkSize(chunkSize);
        f.openOnSimulator();
        f.t().modeSelected(int(sensor_n::mode_t::Test));
        QCOMPARE(f.status.value(0), QStringLiteral("Bild erfassen"));
        QTRY_VERIFY(shows(f.t().lblImage(), 24, baPixels));
        QVERIFY(f.sim->setImage(24, 16, baReversed));
        QTRY_VERIFY(shows(f.t().lblImage(), 24, baReversed));
        QCOMPARE(f.sim->commands().mid(0, 4), QByteArrayList({"\x03", "scan", "read_image2", "scan"}));
        QVERIFY(f.status.contains(QStringLiteral("Bitte Finger auflegen")));
        QVERIFY(f.status.contains(QStringLiteral("Bild lesen... 100%")));
        QVERIFY(f.status.filter(QStringLiteral("Prüfsumme")).isEmpty());
    }

    void aCorruptedImageKeepsTheCommandRunning()
    {
        const QByteArray baPixels = testPixels(8 * 4);
        QVERIFY(f.sim->setImage(8, 4, baPixels));
        f.sim->setFinger(1, 1);
        f.sim->corruptNextChecksum();
        f.openOnSimulator();
        f.t().modeSelected(int(sensor_n::mode_t::Test));
        const quint32 nSum = sim_t::checksum(baPixels);
        QTRY_VERIFY(
            f.status.contains(QStringLiteral("Prüfsumme des Bildes fehlerhaft (erwartet %1, berechnet %2)")
                                  .arg(nSum + 1)
                                  .arg(nSum)));
        QCOMPARE(f.wireSoFar().count("read_image2"), 1);
        QVERIFY(f.t().lblImage()->pixmap(Qt::ReturnByValue).isNull());
    }

    // Fed in pieces with no port: the progress, and pictures without a usable size never made.
    void imageReplyFedInPieces_data()
    {
        QTest::addColumn<QByteArray>("size");
        QTest::addColumn<QStringList>("shown");
        const QString strBad = QStringLiteral("Bildgröße im Bildkopf ungültig (Breite %1, Höhe %2)");
        QTest::newRow("4 x 3") << QByteArray("Width=4 Height=3")
                               << QStringList({"Bild lesen... 0%", "Bild lesen... 25%", "Bild lesen... 50%",
                                               "Bild lesen... 75%", "Bild lesen... 100%", ""});
        QTest::newRow("no width, no height") << QByteArray() << QStringList{strBad.arg(-1).arg(-1)};
        QTest::newRow("zero width") << QByteArray("Width=0 Height=5") << QStringList{strBad.arg(0).arg(5)};
        QTest::newRow("negative") << QByteArray("Width=-1 Height=-1") << QStringList{strBad.arg(-1).arg(-1)};
        QTest::newRow("overflowing") << QByteArray("Width=65536 Height=65536")
                                     << QStringList{strBad.arg(65536).arg(65536)};
    }
    void imageReplyFedInPieces()
    {
        QFETCH(QByteArray, size);
        QFETCH(QStringList, shown);
        const QByteArray baPixels = testPixels(12);
        f.t().setMode(sensor_n::mode_t::Test);
        f.t().setState(state_t::Scan); // no port: its scan goes nowhere
        f.t().setCommand(command_t::ReadImage);
        f.t().feed("\r\n=OK Image " + size + " Sum=" + QByteArray::number(sim_t::checksum(baPixels)) +
                   "\r\n");
        for (int nAt = 0; nAt < 12; nAt += 3)
            f.t().feed(baPixels.mid(nAt, 3));
        QCOMPARE(f.status, shown);
        QVERIFY(shown.size() > 1 || f.window->command() == command_t::ReadImage);
        QCOMPARE(shows(f.t().lblImage(), 4, baPixels), shown.size() > 1);
    }

    void analysisListsEveryTemplate_data()
    {
        QTest::addColumn<int>("chunkSize");
        QTest::addColumn<bool>("corrupt");
        QTest::addColumn<QStringList>("store");
        const QStringList lstThree = {"12|left little finger (0)|57|31", "12|right thumb (5)|90|44",
                                      "300|right little finger (9)|3|250"};
        QTest::newRow("whole replies") << 0 << false << lstThree;
        QTest::newRow("byte by byte") << 1 << false << lstThree;
        QTest::newRow("empty store") << 0 << false << QStringList();
        // A corrupted template keeps its command running and is not listed.
        QTest::newRow("corrupted template") << 0 << true << QStringList{"7|right index finger (6)|80|42"};
    }
    // The store as the tree shows it, one row "pid|finger|quality|minutiae" per template.
    void analysisListsEveryTemplate()
    {
        QFETCH(int, chunkSize);
        QFETCH(bool, corrupt);
        QFETCH(QStringList, store);
        QByteArrayList lstWire = {"\x03", "reg /count", "reg /list", "temp_set 2"};
        QStringList lstProgress;
        for (const QString& strRow : store)
        {
            const QStringList lst = strRow.split('|');
            const QString strFid = lst.at(1).section('(', 1).chopped(1);
            f.sim->addTemplate(lst.at(0).toInt(), strFid.toInt(), lst.at(2).toInt(), lst.at(3).toInt());
            lstProgress
                << QStringLiteral("Sensordaten lesen... %1 / %2").arg(lstProgress.size()).arg(store.size());
            lstWire << ("reg /get " + lst.at(0) + ' ' + strFid).toLatin1();
        }
        f.sim->setChunkSize(chunkSize);
        f.openOnSimulator();
        if (corrupt)
            f.sim->corruptNextChecksum();
        QTreeWidget* pTree = f.t().treeTemplates();
        pTree->sortByColumn(0, Qt::AscendingOrder);
        f.t().modeSelected(int(sensor_n::mode_t::AnalyseSensor));
        QTRY_COMPARE_WITH_TIMEOUT(f.sim->commands(), lstWire, 30000);
        QTRY_VERIFY_WITH_TIMEOUT(corrupt ? !f.status.filter("Prüfsumme des Templates fehlerhaft").isEmpty()
                                         : pTree->topLevelItemCount() == store.size() &&
                                               f.window->statusBar()->currentMessage().isEmpty(),
                                 30000);
        QCOMPARE(f.wireSoFar(), lstWire);
        QCOMPARE(f.window->command(), store.isEmpty() ? command_t::TempalteFormat : command_t::RegGet);
        QCOMPARE(f.status.filter(QStringLiteral("Sensordaten lesen... ")), lstProgress);
        // The rows as the technician copies them, below the header line.
        QCOMPARE(
            keepResults_n::tableText(pTree).replace('\t', '|').split('\n').mid(1, pTree->topLevelItemCount()),
            corrupt ? QStringList() : store);
        QVERIFY(corrupt || store.isEmpty() ||
                pTree->topLevelItem(0)->textAlignment(0) == int(Qt::AlignRight | Qt::AlignVCenter));
    }

    void unexpectedAndLeftoverLines()
    {
        f.openOnSimulator();
        f.sim->setSilent(true);
        const auto* pRecord = f.window->unexpectedResponsesWindow();
        QVERIFY(f.window->sendCommand(command_t::RegFind, {{"pid", 3}, {"fid", 1}}));
        f.sim->injectLine("=OK strange");
        // Time, mode, state and command number, then the command's label and the line.
        const QRegularExpression reRecord(
            R"(^\d{4}\.\d\d\.\d\d \d\d:\d\d:\d\d\.\d{3} M0 S1 C17: reg /find ::> =OK strange$)");
        QTRY_VERIFY(reRecord.match(pRecord->toPlainText()).hasMatch());
        QVERIFY(f.window->sendCommand(command_t::LedOff, {}));
        f.sim->injectLine("garbage");
        QTRY_VERIFY(pRecord->toPlainText().endsWith(QLatin1String("led /on/off ::> garbage")));
        // While a template is read, stray lines are not recorded.
        const QString strBefore = pRecord->toPlainText();
        QVERIFY(f.window->sendCommand(command_t::RegGet, {}));
        f.sim->injectLine("garbage");
        QTRY_COMPARE(f.window->received(), QByteArray("garbage\r\n"));
        QCOMPARE(pRecord->toPlainText(), strBefore);
        // Leftover lines do not complete the next command. (The module has read the template request first:
        // on a loaded machine it may come after the injected line.)
        QTRY_VERIFY(f.sim->commands().contains("reg /get 0 0"));
        f.sim->clearRecording();
        f.t().setState(state_t::QueryDevice);
        QTRY_COMPARE(f.sim->commands(), QByteArrayList({"model_fw"}));
        // A stale second answer in the same read belongs to the finished command, not to "date".
        f.sim->injectBytes("=OK V1.0\r\n=OK stale\r\n");
        QTRY_COMPARE(f.window->command(), command_t::Date);
        QCOMPARE(f.wireSoFar(), QByteArrayList({"model_fw", "date"}));
        QCOMPARE(f.t().lblFirmware()->text(), QStringLiteral("V1.0"));
        QVERIFY(f.t().lblBuildDate()->text() != QLatin1String("stale"));
    }

    void modeButtonsCarryTheModeNumbers()
    {
        f.openOnSimulator();
        f.sim->setSilent(true);
        f.show();
        QList<QToolButton*> lstButtons = f.window->centralWidget()->findChildren<QToolButton*>();
        std::sort(lstButtons.begin(), lstButtons.end(),
                  [](QToolButton* a, QToolButton* b)
                  { return a->mapToGlobal(QPoint()).x() < b->mapToGlobal(QPoint()).x(); });
        QStringList lstTexts;
        for (QToolButton* pButton : lstButtons)
            lstTexts << pButton->text();
        QCOMPARE(lstTexts, QStringList({"Info", "Bild", "Einlernen", "Training", "Löschen", "Analyse"}));
        QVERIFY(lstButtons.at(0)->isChecked());
        using m = sensor_n::mode_t;
        const m anModes[] = {m::Test, m::Enroll, m::Enroll, m::AnalyseSensor};
        const int anButtons[] = {1, 2, 2, 5};
        for (int i = 0; i < 4; ++i)
        {
            QTest::mouseClick(lstButtons.at(anButtons[i]), Qt::LeftButton);
            QCOMPARE(f.window->mode(), anModes[i]);
            QCOMPARE(f.t().pageStack()->currentIndex(), f.t().pageIndex(int(anModes[i])));
            // An abort completes the running scan with an empty reply, which counts as no finger: the poll
            // goes on.
            if (i == 0)
            {
                QTRY_COMPARE(f.sim->commands(), QByteArrayList({"\x03", "scan"}));
                f.t().abortCommand();
                QTRY_COMPARE(f.sim->commands().count("scan"), 2);
            }
        }
        QCOMPARE(f.window->state(), state_t::AnalyseSensor);
        // The checked button again selects its mode again: abort byte each time.
        QCOMPARE(f.wireSoFar(),
                 QByteArrayList({"\x03", "scan", "\x03", "scan", "\x03", "\x03", "\x03", "reg /count"}));
        // The hidden statistics mode and the debug action are reachable by their key chords only.
        QAction* pActDebug = f.window->findChild<QAction*>(QStringLiteral("actionDebug"));
        QVERIFY(!pActDebug->isVisible());
        QTest::keyClick(f.window.get(), Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(pActDebug->isVisible());
        QTest::keyClick(f.window.get(), Qt::Key_M, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(f.window->mode(), sensor_n::mode_t::MatchIdAnalysis);
        QCOMPARE(f.t().pageStack()->currentIndex(), f.t().pageIndex(6));
    }

    void automaticPortChoice_data()
    {
        QTest::addColumn<QStringList>("others");
        QTest::addColumn<int>("adapters");
        QTest::newRow("none") << QStringList({"0483:a097", ""}) << 0;
        QTest::newRow("two beside other ports") << QStringList({"0403:6010", "", "0483:a097"}) << 2;
    }
    // Other ports come first in the enumeration, then the adapters; the first adapter is chosen.
    void automaticPortChoice()
    {
        QFETCH(QStringList, others);
        QFETCH(int, adapters);
        QVERIFY(fakeUdev_n::isActive());
        QList<std::shared_ptr<sim_t>> lstSims;
        QStringList lstEntries;
        for (int i = 0; i < others.size() + adapters; ++i)
        {
            lstSims << std::make_shared<sim_t>();
            QVERIFY(lstSims.last()->open());
            const QStringList lstIds =
                i < others.size() ? others.at(i).split(':') : QStringList({"0403", "6001"});
            lstEntries << fakeUdev_n::portEntry(lstSims.last()->slavePath(), lstIds.value(0), lstIds.value(1),
                                                i < others.size() ? "" : "Adapter",
                                                i < others.size() ? "" : "Maker");
        }
        fakeUdev_n::setPorts(lstEntries);
        f.window = std::make_unique<vindal01mainWindow_c>();
        const QLabel* pLamp = f.window->portStateLabel();
        if (adapters == 0)
        {
            QVERIFY(!f.window->serialPort() && f.showsLamp(pLamp, images_n::lampYellow()) &&
                    pLamp->toolTip().isEmpty());
            QVERIFY(!f.window->watchdogTimer()->isActive() && !f.window->idleTimer()->isActive());
            return;
        }
        const sim_t* pFirst = lstSims.at(others.size()).get();
        const QString strFirst = pFirst->slavePath().mid(5);
        QCOMPARE(f.window->serialPort()->portName(), strFirst);
        QCOMPARE(f.window->portSelector()->port(), strFirst);
        QVERIFY(f.showsLamp(pLamp, images_n::lampGreen()));
        QTRY_COMPARE(pFirst->commands().value(0), QByteArray("model_fw"));
        for (const auto& pOther : lstSims)
            QVERIFY(pOther.get() == pFirst || pOther->commands().isEmpty());
        QVERIFY(f.window->serialPortsWindow()->toPlainText().contains(
            QStringLiteral("* %1 VID 0x403 PID 0x6001\n").arg(strFirst)));
    }
};

QTEST_MAIN(tst_replyParser)
#include "tst_replyParser.moc"
