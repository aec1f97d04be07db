// Watches an unmodified program from inside, for the package check: preloaded with LD_PRELOAD, it answers
// the library warning with Ignore, reports every message box on stderr, and ends the program with exit
// code 0 as soon as a label of the main window shows the text in VINDAL_PROBE_EXPECT (the information
// query has then completed). The check's own time-out covers a program that never gets there.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>

namespace
{

void report(const QString& p_strLine)
{
    std::fprintf(stderr, "probe: %s\n", p_strLine.toLocal8Bit().constData());
    std::fflush(stderr);
}

void look()
{
    if (auto* pBox = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
    {
        report(QStringLiteral("box \"%1\": %2").arg(pBox->windowTitle(), pBox->text()));
        QAbstractButton* pIgnore = pBox->button(QMessageBox::Ignore);
        (pIgnore != nullptr ? pIgnore : pBox->buttons().value(0))->click();
        return;
    }
    const QString strExpected = qEnvironmentVariable("VINDAL_PROBE_EXPECT");
    for (QWidget* pTop : QApplication::topLevelWidgets())
    {
        auto* pWindow = qobject_cast<QMainWindow*>(pTop);
        if (pWindow == nullptr || !pWindow->isVisible())
        {
            continue;
        }
        for (QLabel* pLabel : pWindow->findChildren<QLabel*>())
        {
            if (pLabel->text() == strExpected)
            {
                auto* pActStart = pWindow->findChild<QAction*>(QStringLiteral("actionStartComServer"));
                report(QStringLiteral("window \"%1\" shows \"%2\"; COM server start %3")
                           .arg(pWindow->windowTitle(), strExpected,
                                pActStart != nullptr && pActStart->isEnabled() ? QStringLiteral("enabled")
                                                                               : QStringLiteral("disabled")));
                QCoreApplication::exit(0);
                return;
            }
        }
    }
}

void start()
{
    auto* pTimer = new QTimer(QCoreApplication::instance());
    QObject::connect(pTimer, &QTimer::timeout, &look);
    pTimer->start(50);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(start)
