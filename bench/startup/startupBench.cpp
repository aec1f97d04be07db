// vindal01-bench-startup: from the start of a new process to the first paint of the main window, on the
// offscreen platform. The program starts itself again with "--child" a number of times; the child runs
// the tool's own start (library check, main window, event loop) and ends at the first paint.
#include "app/application.h"
#include "ui/vindal01mainWindow.h"

#include <QApplication>
#include <QEvent>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace
{

qint64 monotonicNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

// Prints the time of the main window's first paint and ends the program.
class firstPaint_c : public QObject
{
protected:
    bool eventFilter(QObject* p_pObject, QEvent* p_pEvent) override
    {
        if (p_pEvent->type() == QEvent::Paint && qobject_cast<vindal01mainWindow_c*>(p_pObject) != nullptr &&
            !m_bSeen)
        {
            m_bSeen = true;
            std::printf("%lld\n", static_cast<long long>(monotonicNs()));
            std::fflush(stdout);
            QMetaObject::invokeMethod(qApp, "quit", Qt::QueuedConnection);
        }
        return false;
    }

private:
    bool m_bSeen = false;
};

} // namespace

int main(int argc, char* argv[])
{
    if (argc > 1 && QByteArray(argv[1]) == "--child")
    {
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
        QApplication app(argc, argv);
        firstPaint_c probe;
        app.installEventFilter(&probe);
        return runTool(app);
    }

    const int nRuns = argc > 1 ? QByteArray(argv[1]).toInt() : 10;
    std::vector<double> vecMs;
    for (int i = 0; i < nRuns; ++i)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        // The communication library stand-in lives apart from the programs: without it the start waits for
        // the technician's answer to the library warning.
        env.insert(QStringLiteral("LD_LIBRARY_PATH"),
                   QStringLiteral(VINDAL_STAND_IN_DIR ":") + env.value(QStringLiteral("LD_LIBRARY_PATH")));
        QProcess child;
        child.setProcessEnvironment(env);
        const qint64 nStart = monotonicNs();
        child.start(QString::fromLocal8Bit(argv[0]), {QStringLiteral("--child")});
        if (!child.waitForFinished(30000))
        {
            std::printf("run %d: no window within 30 s\n", i);
            child.kill();
            child.waitForFinished();
            return 1;
        }
        const qint64 nShown = child.readAllStandardOutput().trimmed().toLongLong();
        if (nShown <= nStart)
        {
            std::printf("run %d: the child did not report its window\n", i);
            return 1;
        }
        vecMs.push_back(double(nShown - nStart) / 1e6);
    }
    std::sort(vecMs.begin(), vecMs.end());
    std::printf(
        "start-up to first painted main window (offscreen, %d runs): median %.1f ms, min %.1f ms, max %.1f "
        "ms\n",
        nRuns, vecMs[vecMs.size() / 2], vecMs.front(), vecMs.back());
    return 0;
}
