// Renders pictures of the main window at work against the simulated module:
// vindal01-screenshots <folder> [de|en], the texts as written in the code or in that language.
#include "app/application.h"
#include "app/translations.h"
#include "fakeudev/fakeUdev.h"
#include "fingerprintImage.h"
#include "sensorSimulator.h"
#include "ui/serviceReport.h"
#include "windowTester.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QProcess>
#include <QSaveFile>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <cstdio>
#include <functional>

namespace
{

bool waitFor(const std::function<bool()>& p_fnDone, int p_nTimeoutMs = 20000)
{
    QElapsedTimer timer;
    timer.start();
    while (!p_fnDone())
    {
        if (timer.elapsed() > p_nTimeoutMs)
        {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

// A finger's centre on a hand widget, so that the picture is made with real clicks.
QPoint fingerCentre(humanHandWidget_c* p_pHand, humanHandWidget_c::finger_t p_nFinger)
{
    const int nWidth = p_pHand->width();
    const int nHeight = p_pHand->height();
    for (int x = 0; x < nWidth; x += 2)
    {
        const QPoint point(x, nHeight * 9 / 10);
        humanHandWidget_c::finger_t nFinger;
        if (humanHandWidget_c::fingerAt(p_pHand->hand(), p_pHand->size(), point, &nFinger) &&
            nFinger == p_nFinger)
        {
            return point + QPoint(4, 0);
        }
    }
    return QPoint(nWidth / 2, nHeight * 9 / 10);
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // As the program does: at QT_SCALE_FACTOR=2 or QT_FONT_DPI=192 the pictures show the window scaled.
    prepareScaling();
    QApplication app(argc, argv);
    const QString strLanguage = argc == 3 ? QString::fromLocal8Bit(argv[2]) : QString();
    if (argc < 2 || argc > 3 || !QDir(QString::fromLocal8Bit(argv[1])).exists() ||
        (argc == 3 && strLanguage != QLatin1String("de") && strLanguage != QLatin1String("en")))
    {
        std::fprintf(stderr, "usage: vindal01-screenshots <existing folder> [de|en]\n");
        return 2;
    }
    if (!strLanguage.isEmpty())
    {
        translations_n::install(QLocale(strLanguage));
    }
    const QDir dirOut(QString::fromLocal8Bit(argv[1]));
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));

    simulator_n::sensorSimulator_c sim;
    sim.setFirmware(QStringLiteral("VD01 V2.13"));
    sim.addTemplate(12, 0, 57, 31);
    sim.addTemplate(12, 5, 90, 44);
    sim.addTemplate(12, 6, 81, 39);
    sim.addTemplate(300, 9, 73, 38);
    sim.addTemplate(4711, 2, 66, 35);
    sim.setPlacementDelay(150);
    sim.setEnrollQuality(57);
    // The module's own picture size, so that the image page looks as it does with a module.
    sim.setImage(256, 288, simulator_n::fingerprintImage(256, 288));
    if (!sim.open())
    {
        std::fprintf(stderr, "cannot open a pseudo-terminal: %s\n", qPrintable(sim.errorString()));
        return 1;
    }

    if (!fakeUdev_n::isActive())
    {
        std::fprintf(stderr, "the libudev stand-in is not active\n");
        return 1;
    }
    fakeUdev_n::setPorts(
        {fakeUdev_n::portEntry(sim.slavePath(), "0403", "6001", "USB_Serial_Adapter", "Simulator")});
    QApplication::setApplicationVersion(QStringLiteral("1.0 / Feb  8 2020"));
    // The window opens the simulator by itself, as it opens the sensor's adapter.
    vindal01mainWindow_c window;
    window.setWindowTitle(vindal01mainWindow_c::tr("Einlernen von Fingern (optischer Sensor)"));
    window.resize(firstWindowSize(window));
    window.show();
    vindal01mainWindowTester_c tester(window);
    auto selectMode = [&window](int p_nMode)
    {
        QTest::mouseClick(window.findChild<QToolButton*>(QStringLiteral("modeButton%1").arg(p_nMode)),
                          Qt::LeftButton);
    };
    int nFailures = 0;
    auto shoot = [&](const char* p_szName, bool p_bReady)
    {
        if (!p_bReady)
        {
            std::fprintf(stderr, "%s: the window did not get there in time\n", p_szName);
            ++nFailures;
        }
        window.grab().save(dirOut.filePath(QString::fromLatin1(p_szName) + QStringLiteral(".png")));
    };

    shoot("info", waitFor([&] { return !tester.lblCapacity()->text().endsWith(QLatin1String("/ ")); }));

    sim.setFinger(12, 5);
    selectMode(2);
    shoot("image", waitFor([&] { return !tester.lblImage()->pixmap(Qt::ReturnByValue).isNull(); }));

    // An image on its way would land in the next mode's replies: let the capture come to rest first.
    sim.removeFinger();
    waitFor([&]
            { return window.command() == sensor_n::command_t::Scan && window.received().endsWith("\r\n"); });
    selectMode(5);
    shoot("analysis", waitFor(
                          [&]
                          {
                              return tester.treeTemplates()->topLevelItemCount() == 5 &&
                                     window.statusBar()->currentMessage().isEmpty();
                          }));

    selectMode(1);
    QTest::keyClicks(tester.leEnrollPid(), QStringLiteral("12"));
    waitFor([&] { return window.state() == sensor_n::state_t::Enroll && tester.fingerFlags().size() == 10; });
    QTest::mouseClick(tester.enrollHand(0), Qt::LeftButton, Qt::NoModifier,
                      fingerCentre(tester.enrollHand(0), humanHandWidget_c::fingerIndex));
    QTest::mouseClick(tester.btnEnrollStart(), Qt::LeftButton);
    waitFor(
        [&]
        {
            return window.statusBar()->currentMessage().startsWith(
                vindal01mainWindow_c::tr("Mit Qualität %1% eingelernt.").section(QLatin1Char('%'), 0, 0));
        });
    tester.enrollHand(0)->setHilight(humanHandWidget_c::fingerIndex, Qt::white);
    shoot("enrol",
          waitFor([&]
                  { return tester.fingerFlags() == "1001111000" || tester.fingerFlags().count('1') == 4; }));

    // The result of an identification stands for two seconds, during which the window waits in a
    // nested event loop: the picture is taken from a timer that runs inside it.
    bool bShot = false;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout,
                     [&]
                     {
                         if (!bShot && !tester.lblTrainPid()->text().isEmpty())
                         {
                             bShot = true;
                             shoot("identification", true);
                         }
                     });
    probe.start(50);
    sim.setFinger(12, 6);
    selectMode(3);
    waitFor([&] { return bShot; });
    if (!bShot)
    {
        shoot("identification", false);
    }
    selectMode(0);

    // The service report of this session: its first page as poppler renders the PDF, for a visit as a
    // technician fills its form.
    const serviceReport_n::visit_s visit = {
        QStringLiteral("A. Technician"), QStringLiteral("Plant 3, gate 2"), QStringLiteral("IPC 4711-0815"),
        QStringLiteral("Sensor cleaned; two fingers enrolled anew.")};
    const QString strPdf = dirOut.filePath(QStringLiteral("service-report.pdf"));
    QSaveFile filePdf(strPdf);
    const QByteArray baPdf =
        serviceReport_n::pdf(window.sessionRecord(), visit, QDateTime::currentDateTime());
    if (!filePdf.open(QIODevice::WriteOnly) || filePdf.write(baPdf) != baPdf.size() || !filePdf.commit() ||
        QProcess::execute(QStringLiteral("pdftoppm"),
                          {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("70"),
                           QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                           QStringLiteral("1"), QStringLiteral("-singlefile"), strPdf,
                           dirOut.filePath(QStringLiteral("report"))}) != 0)
    {
        std::fprintf(stderr,
                     "report: the PDF could not be written or rendered (pdftoppm from poppler-utils)\n");
        ++nFailures;
    }
    QFile::remove(strPdf);
    return nFailures == 0 ? 0 : 1;
}
