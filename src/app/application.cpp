#include "app/application.h"

#include "app/translations.h"

#include "sensor/kvcomLibrary.h"
#include "ui/vindal01mainWindow.h"

#include <QAction>
#include <QApplication>
#include <QDebug>
#include <QIcon>
#include <QMessageBox>
#include <QScreen>

void prepareScaling()
{
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
}

QSize firstWindowSize(QWidget& p_window)
{
    // Sizes follow the fonts only once the style sheets have been applied.
    p_window.ensurePolished();
    const QSize sizeScreen = p_window.screen()->availableGeometry().size();
    return p_window.sizeHint().boundedTo(sizeScreen * 9 / 10).expandedTo(p_window.minimumSizeHint());
}

int runTool(QApplication& p_app)
{
    translations_n::install(QLocale::system());
    char szVersion[64] = {};
    const bool bLibraryPresent = kvcomLibrary_c::instance().versionLibrary(szVersion, sizeof(szVersion)) != 0;
    // A library must not be trusted to terminate the text within the buffer.
    szVersion[sizeof(szVersion) - 1] = '\0';
    if (!bLibraryPresent)
    {
        const QMessageBox::StandardButton nAnswer = QMessageBox::warning(
            nullptr, vindal01mainWindow_c::tr("Kommunikations-DLL nicht gefunden"),
            vindal01mainWindow_c::tr(
                "Die Kommunikations-DLL konnte nicht gefunden werden. Damit ist das Starten dess "
                "Transparent-Modus für den Zugriff auf das Fingerprint-Modul im IPC nicht möglich."),
            QMessageBox::Cancel | QMessageBox::Ignore);
        if (nAnswer == QMessageBox::Cancel)
        {
            return 0;
        }
        szVersion[0] = '\0';
    }
    qDebug() << "Die Version der verwendeten KVCom ist:" << szVersion;

    QApplication::setApplicationVersion(QStringLiteral("1.0 / Feb  8 2020"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/vindal01-tool.png")));

    auto* pWindow = new vindal01mainWindow_c();
    pWindow->setWindowTitle(vindal01mainWindow_c::tr("Einlernen von Fingern (optischer Sensor)"));
    pWindow->startComServerAction()->setEnabled(bLibraryPresent);
    pWindow->stopComServerAction()->setEnabled(bLibraryPresent);
    pWindow->resize(firstWindowSize(*pWindow));
    pWindow->show();
    const int nResult = p_app.exec();
    delete pWindow;
    return nResult;
}
