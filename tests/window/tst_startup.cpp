// The program's start with and without the communication library.
#include "app/application.h"
#include "modalAnswerer.h"
#include "sensor/kvcomLibrary.h"
#include "ui/vindal01mainWindow.h"

#include <QAction>
#include <QLabel>
#include <QtTest>
#include <cstring>

namespace
{

// A library whose version call answers as told.
class versionOnlyLibrary_c : public kvcomLibrary_c
{
public:
    explicit versionOnlyLibrary_c(int p_nResult) : m_nResult(p_nResult) {}
    int versionLibrary(char* p_szBuffer, int p_nSize) override
    {
        if (m_nResult != 0)
        {
            // Fills the whole buffer without a terminating NUL, as a careless library might.
            std::memset(p_szBuffer, 'v', p_nSize);
        }
        return m_nResult;
    }
    int comOpenIV(int, int, int, const QByteArray&, int, int) override { return 0; }
    int openComServerMode(int, int, const QByteArray&, int, int, int, int, int, int, int*) override
    {
        return 0;
    }
    int closeComServerMode(int, int, int*) override { return 0; }
    int comClose(int) override { return 0; }

private:
    int m_nResult;
};

vindal01mainWindow_c* shownMainWindow()
{
    for (QWidget* pWidget : QApplication::topLevelWidgets())
    {
        if (auto* pWindow = qobject_cast<vindal01mainWindow_c*>(pWidget);
            pWindow != nullptr && pWindow->isVisible())
        {
            return pWindow;
        }
    }
    return nullptr;
}

} // namespace

class tst_startup : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { kvcomLibrary_c::setInstance(nullptr); }
    void missingLibraryAnsweredCancelEndsTheProgram();
    void missingLibraryAnsweredIgnoreShowsTheWindowWithoutComServer();
    void presentLibraryEnablesComServer();
    void aboutDialogShowsTheVersion();
};

void tst_startup::missingLibraryAnsweredCancelEndsTheProgram()
{
    versionOnlyLibrary_c library(0);
    kvcomLibrary_c::setInstance(&library);
    QScopedPointer<modalAnswerer_c> pAnswerer(modalAnswerer_c::clicking(QMessageBox::Cancel));
    bool bWindowSeen = false;
    QTimer watcher;
    connect(&watcher, &QTimer::timeout, [&]() { bWindowSeen = bWindowSeen || shownMainWindow() != nullptr; });
    watcher.start(10);
    QCOMPARE(runTool(*qApp), 0);
    QCOMPARE(pAnswerer->count(), 1);
    QCOMPARE(pAnswerer->seen().at(0).strTitle, QStringLiteral("Kommunikations-DLL nicht gefunden"));
    QVERIFY(!bWindowSeen);
    QVERIFY(shownMainWindow() == nullptr);
}

void tst_startup::missingLibraryAnsweredIgnoreShowsTheWindowWithoutComServer()
{
    versionOnlyLibrary_c library(0);
    kvcomLibrary_c::setInstance(&library);
    QScopedPointer<modalAnswerer_c> pAnswerer(modalAnswerer_c::clicking(QMessageBox::Ignore));
    bool bChecked = false;
    QTimer probe;
    connect(&probe, &QTimer::timeout,
            [&]()
            {
                vindal01mainWindow_c* pWindow = shownMainWindow();
                if (pWindow == nullptr)
                {
                    return;
                }
                QCOMPARE(pWindow->windowTitle(), QStringLiteral("Einlernen von Fingern (optischer Sensor)"));
                QVERIFY(!pWindow->startComServerAction()->isEnabled());
                QVERIFY(!pWindow->stopComServerAction()->isEnabled());
                QCOMPARE(QApplication::applicationVersion(), QStringLiteral("1.0 / Feb  8 2020"));
                bChecked = true;
                QApplication::exit(7);
            });
    probe.start(10);
    QCOMPARE(runTool(*qApp), 7);
    QVERIFY(bChecked);
}

void tst_startup::presentLibraryEnablesComServer()
{
    versionOnlyLibrary_c library(1);
    kvcomLibrary_c::setInstance(&library);
    bool bChecked = false;
    QTimer probe;
    connect(&probe, &QTimer::timeout,
            [&]()
            {
                if (vindal01mainWindow_c* pWindow = shownMainWindow())
                {
                    bChecked = pWindow->startComServerAction()->isEnabled() &&
                               pWindow->stopComServerAction()->isEnabled();
                    QApplication::exit(0);
                }
            });
    probe.start(10);
    QCOMPARE(runTool(*qApp), 0);
    QVERIFY(bChecked);
}

void tst_startup::aboutDialogShowsTheVersion()
{
    QApplication::setApplicationVersion(QStringLiteral("1.0 / Feb  8 2020"));
    vindal01mainWindow_c window;
    QStringList lstTexts;
    modalAnswerer_c answerer(
        [&lstTexts](QWidget* p_pDialog)
        {
            for (QLabel* pLabel : p_pDialog->findChildren<QLabel*>())
            {
                lstTexts << pLabel->text();
            }
            for (QPushButton* pButton : p_pDialog->findChildren<QPushButton*>())
            {
                if (pButton->text() == QLatin1String("Close"))
                {
                    pButton->click();
                }
            }
        });
    QMetaObject::invokeMethod(&window, "slotInfo");
    QCOMPARE(answerer.count(), 1);
    QCOMPARE(answerer.seen().at(0).strTitle, QStringLiteral("Info"));
    QVERIFY(lstTexts.contains(QStringLiteral("Version: 1.0 / Feb  8 2020")));
}

QTEST_MAIN(tst_startup)
#include "tst_startup.moc"
