// vindal01-simulator: plays a fingerprint sensor module on a pseudo-terminal until it is killed.
//
// The first line on stdout is the path of the pseudo-terminal to open, for example with a terminal
// program ("picocom -b 115200 /dev/pts/7") or with the service tool. Lines typed on stdin change the
// finger on the sensor while it runs (see the help text).

#include "fingerprintImage.h"
#include "sensorSimulator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QRegularExpression>
#include <QSocketNotifier>
#include <QTextStream>

#include <cstdio>
#include <unistd.h>

namespace
{

QTextStream& err()
{
    static QTextStream stream(stderr);
    return stream;
}

// "pid,fid[,quality[,minutiae[,group]]]"
bool addTemplateOption(simulator_n::sensorSimulator_c& p_sim, const QString& p_strValue)
{
    const QStringList lstParts = p_strValue.split(QLatin1Char(','));
    if (lstParts.size() < 2 || lstParts.size() > 5)
    {
        return false;
    }
    QList<int> lstNumbers;
    for (const QString& strPart : lstParts)
    {
        bool bOk = false;
        lstNumbers.append(strPart.trimmed().toInt(&bOk));
        if (!bOk)
        {
            return false;
        }
    }
    return p_sim.addTemplate(lstNumbers.value(0), lstNumbers.value(1), lstNumbers.value(2, 80),
                             lstNumbers.value(3, 42), lstNumbers.value(4, 1));
}

// "none", "stranger" or "pid,fid"
bool setFingerText(simulator_n::sensorSimulator_c& p_sim, const QString& p_strValue)
{
    const QString strValue = p_strValue.trimmed();
    if (strValue == QLatin1String("none"))
    {
        p_sim.removeFinger();
        return true;
    }
    if (strValue == QLatin1String("stranger"))
    {
        p_sim.setStrangerFinger();
        return true;
    }
    const QStringList lstParts = strValue.split(QRegularExpression(QStringLiteral("[ ,]+")));
    bool bPidOk = false;
    bool bFidOk = false;
    const int nPid = lstParts.value(0).toInt(&bPidOk);
    const int nFid = lstParts.value(1).toInt(&bFidOk);
    if (lstParts.size() != 2 || !bPidOk || !bFidOk || nPid == 0 || nFid < 0 || nFid > 9)
    {
        return false;
    }
    p_sim.setFinger(nPid, nFid);
    return true;
}

const char* const c_szConsoleHelp = "Commands on stdin:\n"
                                    "  finger <pid> <fid>   that finger lies on the sensor\n"
                                    "  finger stranger      a finger that is not stored\n"
                                    "  finger none          no finger\n"
                                    "  place                next placement of a manual enrolment\n"
                                    "  list                 show the stored templates\n"
                                    "  quit                 end the simulator\n";

void handleConsoleLine(simulator_n::sensorSimulator_c& p_sim, const QString& p_strLine)
{
    const QString strLine = p_strLine.trimmed();
    if (strLine.isEmpty())
    {
        return;
    }
    if (strLine.startsWith(QLatin1String("finger ")))
    {
        if (!setFingerText(p_sim, strLine.mid(7)))
        {
            err() << "Expected: finger <pid> <fid> | finger stranger | finger none" << Qt::endl;
        }
    }
    else if (strLine == QLatin1String("place"))
    {
        if (!p_sim.placeFinger())
        {
            err() << "No enrolment waits for a placement." << Qt::endl;
        }
    }
    else if (strLine == QLatin1String("list"))
    {
        for (const auto& key : p_sim.templateKeys())
        {
            const simulator_n::storedTemplate_c tmpl = p_sim.storedTemplate(key.first, key.second);
            err() << "pid " << tmpl.m_nPid << " fid " << tmpl.m_nFid << " group " << tmpl.m_nGroup
                  << " quality " << tmpl.m_nQuality << " minutiae " << tmpl.m_nMinutiae << Qt::endl;
        }
        err() << p_sim.templateCount() << " / " << p_sim.capacity() << " templates" << Qt::endl;
    }
    else if (strLine == QLatin1String("quit"))
    {
        QCoreApplication::quit();
    }
    else
    {
        err() << c_szConsoleHelp << Qt::flush;
    }
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vindal01-simulator"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral(
            "Plays a fingerprint sensor module on a pseudo-terminal. The first line printed is the "
            "path to open.\n\n") +
        QString::fromLatin1(c_szConsoleHelp));
    parser.addHelpOption();
    const QCommandLineOption optTemplate(QStringLiteral("template"),
                                         QStringLiteral("Store a template (repeatable)."),
                                         QStringLiteral("pid,fid[,quality[,minutiae[,group]]]"));
    const QCommandLineOption optFinger(
        QStringLiteral("finger"),
        QStringLiteral("The finger on the sensor at start: none, stranger or pid,fid."),
        QStringLiteral("finger"), QStringLiteral("none"));
    const QCommandLineOption optCapacity(QStringLiteral("capacity"),
                                         QStringLiteral("Templates the store holds."), QStringLiteral("n"),
                                         QStringLiteral("500"));
    const QCommandLineOption optFirmware(QStringLiteral("firmware"), QStringLiteral("Firmware text."),
                                         QStringLiteral("text"));
    const QCommandLineOption optPace(QStringLiteral("pace"),
                                     QStringLiteral("Send at the real line rate (115200 baud)."));
    const QCommandLineOption optChunk(QStringLiteral("chunk"),
                                      QStringLiteral("Send replies in pieces of n bytes (0: whole)."),
                                      QStringLiteral("n"), QStringLiteral("0"));
    const QCommandLineOption optManual(QStringLiteral("manual-placement"),
                                       QStringLiteral("Enrolment placements wait for 'place' on stdin."));
    const QCommandLineOption optPlacementDelay(QStringLiteral("placement-delay"),
                                               QStringLiteral("Milliseconds between automatic placements."),
                                               QStringLiteral("ms"), QStringLiteral("1000"));
    const QCommandLineOption optSearchDelay(QStringLiteral("search-delay"),
                                            QStringLiteral("Milliseconds a search or match takes."),
                                            QStringLiteral("ms"), QStringLiteral("200"));
    const QCommandLineOption optIpc(
        QStringLiteral("ipc"),
        QStringLiteral("Answer to COM server requests: accept, silent or refuse:<code>."),
        QStringLiteral("answer"), QStringLiteral("accept"));
    const QCommandLineOption optImage(
        QStringLiteral("image"), QStringLiteral("Size of the fingerprint picture that read_image sends."),
        QStringLiteral("WxH"), QStringLiteral("160x120"));
    const QCommandLineOption optLateAnswer(
        QStringLiteral("late-answer"),
        QStringLiteral("An aborted search, matchId or enrolment step still answers, ms after the abort "
                       "(-1: off)."),
        QStringLiteral("ms"), QStringLiteral("-1"));
    parser.addOptions({optTemplate, optFinger, optCapacity, optFirmware, optPace, optChunk, optManual,
                       optPlacementDelay, optSearchDelay, optIpc, optImage, optLateAnswer});
    parser.process(app);

    simulator_n::sensorSimulator_c sim;
    bool bOk = false;
    sim.setCapacity(parser.value(optCapacity).toInt(&bOk));
    if (!bOk)
    {
        err() << "--capacity expects a number." << Qt::endl;
        return 2;
    }
    for (const QString& strTemplate : parser.values(optTemplate))
    {
        if (!addTemplateOption(sim, strTemplate))
        {
            err() << "Cannot store the template " << strTemplate
                  << " (pid not 0, fid 0..9, group not 0, not twice, within the capacity)." << Qt::endl;
            return 2;
        }
    }
    if (!setFingerText(sim, parser.value(optFinger)))
    {
        err() << "--finger expects none, stranger or pid,fid." << Qt::endl;
        return 2;
    }
    if (parser.isSet(optFirmware))
    {
        sim.setFirmware(parser.value(optFirmware));
    }
    const QStringList lstImageSize = parser.value(optImage).split(QLatin1Char('x'));
    const int nImageWidth = lstImageSize.value(0).toInt();
    const int nImageHeight = lstImageSize.size() == 2 ? lstImageSize.at(1).toInt() : 0;
    if (nImageWidth <= 0 || nImageHeight <= 0 || nImageWidth > 4096 || nImageHeight > 4096)
    {
        err() << "--image expects a size such as 256x288 (1 to 4096 pixels each way)." << Qt::endl;
        return 2;
    }
    sim.setImage(nImageWidth, nImageHeight, simulator_n::fingerprintImage(nImageWidth, nImageHeight));
    sim.setLineRatePacing(parser.isSet(optPace));
    sim.setChunkSize(parser.value(optChunk).toInt());
    sim.setPlacementMode(parser.isSet(optManual) ? simulator_n::sensorSimulator_c::placementManual
                                                 : simulator_n::sensorSimulator_c::placementAutomatic);
    sim.setPlacementDelay(parser.value(optPlacementDelay).toInt());
    sim.setSearchDelay(parser.value(optSearchDelay).toInt());
    sim.setLateAnswer(parser.value(optLateAnswer).toInt(&bOk));
    if (!bOk)
    {
        err() << "--late-answer expects a number of milliseconds (-1: off)." << Qt::endl;
        return 2;
    }
    const QString strIpc = parser.value(optIpc);
    if (strIpc == QLatin1String("accept"))
    {
        sim.setIpcAnswer(simulator_n::sensorSimulator_c::ipcAccept);
    }
    else if (strIpc == QLatin1String("silent"))
    {
        sim.setIpcAnswer(simulator_n::sensorSimulator_c::ipcSilent);
    }
    else if (strIpc.startsWith(QLatin1String("refuse:")) && (strIpc.mid(7).toInt(&bOk), bOk))
    {
        sim.setIpcAnswer(simulator_n::sensorSimulator_c::ipcRefuse, strIpc.mid(7).toInt());
    }
    else
    {
        err() << "--ipc expects accept, silent or refuse:<code>." << Qt::endl;
        return 2;
    }

    if (!sim.open())
    {
        err() << sim.errorString() << Qt::endl;
        return 1;
    }
    std::printf("%s\n", sim.slavePath().toLocal8Bit().constData());
    std::fflush(stdout);

    QObject::connect(&sim, &simulator_n::sensorSimulator_c::commandReceived,
                     [](const QByteArray& p_baCommand)
                     {
                         err() << "<< "
                               << (p_baCommand == "\x03" ? QStringLiteral("<abort>")
                                                         : QString::fromLocal8Bit(p_baCommand))
                               << Qt::endl;
                     });

    // Console control on stdin; a closed stdin (run in the background) simply ends it.
    QSocketNotifier stdinNotifier(STDIN_FILENO, QSocketNotifier::Read);
    QByteArray baConsole;
    QObject::connect(&stdinNotifier, &QSocketNotifier::activated,
                     [&]()
                     {
                         char aBuffer[512];
                         const ssize_t n = ::read(STDIN_FILENO, aBuffer, sizeof(aBuffer));
                         if (n <= 0)
                         {
                             stdinNotifier.setEnabled(false);
                             return;
                         }
                         baConsole.append(aBuffer, int(n));
                         int nEnd = -1;
                         while ((nEnd = baConsole.indexOf('\n')) >= 0)
                         {
                             handleConsoleLine(sim, QString::fromLocal8Bit(baConsole.left(nEnd)));
                             baConsole.remove(0, nEnd + 1);
                         }
                     });

    return app.exec();
}
