// The program's start with and without the communication library.
#include "app/application.h"
#include "modalAnswerer.h"
#include "sensor/kvcomLibrary.h"
#include "ui/vindal01mainWindow.h"

#include <QAction>
#include <QLabel>
#include <QtTest>
#include <cstring>
#include <memory>

namespace
{
// A library whose version call answers as told, filling the whole buffer without a terminating NUL as a
// careless library might.
class versionOnlyLibrary_c : public kvcomRuntimeLibrary_c
{
public:
    int nResult = 0;
    int versionLibrary(char* p_szBuffer, int p_nSize) override
    {
        return std::memset(p_szBuffer, 'v', nResult != 0 ? p_nSize : 0), nResult;
    }
};
} // namespace

class tst_startup : public QObject
{
    Q_OBJECT

private slots:
    // The window, if shown, as "title|version|<start enabled><stop enabled>".
    void libraryCheck()
    {
        const QString strMissing = QStringLiteral("Kommunikations-DLL nicht gefunden");
        const QString strTitle =
            QStringLiteral("Einlernen von Fingern (optischer Sensor)|1.0 / Feb  8 2020|");
        // The version call's result, the button clicked, the title of the one box if any, the window.
        const QList<std::tuple<int, QMessageBox::StandardButton, QString, QString>> lstRows = {
            {0, QMessageBox::Cancel, strMissing, ""},              // the program ends
            {0, QMessageBox::Ignore, strMissing, strTitle + "00"}, // no COM server
            {1, QMessageBox::Cancel, QString(), strTitle + "11"}};
        for (const auto& [nResult, nAnswer, strBox, strWindow] : lstRows)
        {
            versionOnlyLibrary_c library;
            library.nResult = nResult;
            kvcomLibrary_c::setInstance(&library);
            std::unique_ptr<modalAnswerer_c> pAnswerer(modalAnswerer_c::clicking(nAnswer));
            QString strShown;
            QTimer probe;
            connect(&probe, &QTimer::timeout,
                    [&]()
                    {
                        for (QWidget* pWidget : QApplication::topLevelWidgets())
                            if (auto* pWindow = qobject_cast<vindal01mainWindow_c*>(pWidget);
                                pWindow != nullptr && pWindow->isVisible())
                            {
                                strShown =
                                    QStringLiteral("%1|%2|%3%4")
                                        .arg(pWindow->windowTitle(), QApplication::applicationVersion(),
                                             QString::number(pWindow->startComServerAction()->isEnabled()),
                                             QString::number(pWindow->stopComServerAction()->isEnabled()));
                                QApplication::exit(7);
                            }
                    });
            probe.start(10);
            QCOMPARE(runTool(*qApp), strWindow.isEmpty() ? 0 : 7);
            kvcomLibrary_c::setInstance(nullptr);
            QCOMPARE(strShown, strWindow);
            QCOMPARE(pAnswerer->count(), strBox.isEmpty() ? 0 : 1);
            QCOMPARE(pAnswerer->seen().value(0).strTitle, strBox);
        }
    }

    void aboutDialogShowsTheVersion()
    {
        QApplication::setApplicationVersion(QStringLiteral("1.0 / Feb  8 2020"));
        vindal01mainWindow_c window;
        QStringList lstTexts;
        modalAnswerer_c answerer(
            [&lstTexts](QWidget* p_pDialog)
            {
                for (QLabel* pLabel : p_pDialog->findChildren<QLabel*>())
                    lstTexts << pLabel->text();
                for (QPushButton* pButton : p_pDialog->findChildren<QPushButton*>())
                    if (pButton->text() == QLatin1String("Close"))
                        pButton->click();
            });
        QMetaObject::invokeMethod(&window, "slotInfo");
        QCOMPARE(answerer.count(), 1);
        QCOMPARE(answerer.seen().at(0).strTitle, QStringLiteral("Info"));
        QVERIFY(lstTexts.contains(QStringLiteral("Version: 1.0 / Feb  8 2020")));
    }
};

QTEST_MAIN(tst_startup)
#include "tst_startup.moc"
