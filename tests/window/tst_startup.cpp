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
class versionOnlyLibrary_c : public kvcomLibrary_c
{
public:
    int nResult = 0;
    int versionLibrary(char* p_szBuffer, int p_nSize) override
    {
        return std::memset(p_szBuffer, 'v', nResult != 0 ? p_nSize : 0), nResult;
    }
    int comOpenIV(int, int, int, const QByteArray&, int, int) override { return 0; }
    int openComServerMode(int, int, const QByteArray&, int, int, int, int, int, int, int*) override
    {
        return 0;
    }
    int closeComServerMode(int, int, int*) override { return 0; }
    int comClose(int) override { return 0; }
};
} // namespace

class tst_startup : public QObject
{
    Q_OBJECT

private slots:
    void libraryCheck_data()
    {
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("box"); // the title of the one box, if any
        QTest::addColumn<QString>("window");
        const QString strMissing = QStringLiteral("Kommunikations-DLL nicht gefunden");
        const QString strTitle =
            QStringLiteral("Einlernen von Fingern (optischer Sensor)|1.0 / Feb  8 2020|");
        QTest::newRow("missing, Cancel: the program ends")
            << 0 << int(QMessageBox::Cancel) << strMissing << "";
        QTest::newRow("missing, Ignore: no COM server")
            << 0 << int(QMessageBox::Ignore) << strMissing << strTitle + "00";
        QTest::newRow("present: COM server") << 1 << int(QMessageBox::Cancel) << QString() << strTitle + "11";
    }
    // The window, if shown, as "title|version|<start enabled><stop enabled>".
    void libraryCheck()
    {
        QFETCH(int, result);
        QFETCH(int, answer);
        QFETCH(QString, box);
        QFETCH(QString, window);
        versionOnlyLibrary_c library;
        library.nResult = result;
        kvcomLibrary_c::setInstance(&library);
        std::unique_ptr<modalAnswerer_c> pAnswerer(
            modalAnswerer_c::clicking(QMessageBox::StandardButton(answer)));
        QString strShown;
        QTimer probe;
        connect(&probe, &QTimer::timeout,
                [&]()
                {
                    for (QWidget* pWidget : QApplication::topLevelWidgets())
                    {
                        auto* pWindow = qobject_cast<vindal01mainWindow_c*>(pWidget);
                        if (pWindow == nullptr || !pWindow->isVisible())
                            continue;
                        strShown =
                            QStringList{pWindow->windowTitle(), QApplication::applicationVersion(),
                                        QString::number(pWindow->startComServerAction()->isEnabled()) +
                                            QString::number(pWindow->stopComServerAction()->isEnabled())}
                                .join('|');
                        QApplication::exit(7);
                    }
                });
        probe.start(10);
        QCOMPARE(runTool(*qApp), window.isEmpty() ? 0 : 7);
        kvcomLibrary_c::setInstance(nullptr);
        QCOMPARE(strShown, window);
        QCOMPARE(pAnswerer->count(), box.isEmpty() ? 0 : 1);
        QCOMPARE(pAnswerer->seen().value(0).strTitle, box);
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
