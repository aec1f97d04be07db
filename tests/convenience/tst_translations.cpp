// The window in the technician's language: German, English, or the texts as written for the C locale.
#include "app/translations.h"
#include "modalAnswerer.h"
#include "ui/vindal01mainWindow.h"

#include <QAction>
#include <QGroupBox>
#include <QStackedWidget>
#include <QToolButton>
#include <QTranslator>
#include <QtTest>

class tst_translations : public QObject
{
    Q_OBJECT

private slots:
    void languageOfLocale_data();
    void languageOfLocale();
    void windowSpeaksTheLanguage_data();
    void windowSpeaksTheLanguage();
};

void tst_translations::languageOfLocale_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("language");
    QTest::newRow("C") << "C"
                       << "";
    QTest::newRow("POSIX") << "POSIX"
                           << "";
    QTest::newRow("German") << "de_DE"
                            << "de";
    QTest::newRow("Austrian German") << "de_AT"
                                     << "de";
    QTest::newRow("English") << "en_GB"
                             << "en";
    QTest::newRow("French") << "fr_FR"
                            << "en";
}

void tst_translations::languageOfLocale()
{
    QFETCH(QString, locale);
    QFETCH(QString, language);
    QCOMPARE(translations_n::languageFor(QLocale(locale)), language);
}

void tst_translations::windowSpeaksTheLanguage_data()
{
    QTest::addColumn<QString>("locale");
    // Mode buttons "Bild" and "Löschen", the titles of the information and delete pages, the start
    // action, the question box's title and its Yes button.
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("C") << "C"
                       << QStringList{"Bild",
                                      "Löschen",
                                      "Sensor Info",
                                      "Erase fingerprint data",
                                      "Start Fingerprint Sensor Access",
                                      "Alle Finger löschen?",
                                      "&Yes"};
    QTest::newRow("German") << "de_DE"
                            << QStringList{"Bild",
                                           "Löschen",
                                           "Sensor-Info",
                                           "Fingerabdruckdaten löschen",
                                           "Fingerprint-Sensor-Zugriff starten",
                                           "Alle Finger löschen?",
                                           "&Ja"};
    QTest::newRow("English") << "en_US"
                             << QStringList{"Image",
                                            "Delete",
                                            "Sensor Info",
                                            "Erase fingerprint data",
                                            "Start Fingerprint Sensor Access",
                                            "Delete all fingers?",
                                            "&Yes"};
}

void tst_translations::windowSpeaksTheLanguage()
{
    QFETCH(QString, locale);
    QFETCH(QStringList, texts);
    const QList<QTranslator*> lstTranslators = translations_n::install(QLocale(locale));
    QCOMPARE(lstTranslators.isEmpty(), locale == QLatin1String("C"));
    {
        vindal01mainWindow_c window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QStringList lstShown;
        for (int nMode : {2, 4})
        {
            lstShown << window.findChild<QToolButton*>(QStringLiteral("modeButton%1").arg(nMode))->text();
        }
        auto* pStack = window.findChild<QStackedWidget*>();
        for (int nPage : {0, 4})
        {
            lstShown << qobject_cast<QGroupBox*>(pStack->widget(nPage))->title();
        }
        lstShown << window.findChild<QAction*>(QStringLiteral("actionStartComServer"))->text();
        modalAnswerer_c answerer(
            [&lstShown](QWidget* p_pModal)
            {
                auto* pBox = qobject_cast<QMessageBox*>(p_pModal);
                lstShown << pBox->windowTitle() << pBox->button(QMessageBox::Yes)->text();
                pBox->button(QMessageBox::No)->click();
            });
        auto* pStart = window.findChild<QPushButton*>();
        for (QPushButton* pButton : window.findChildren<QPushButton*>())
        {
            pStart = pButton->text().contains(QLatin1Char('\n')) && pButton->isEnabled() ? pButton : pStart;
        }
        QTest::mouseClick(pStart, Qt::LeftButton);
        QCOMPARE(lstShown, texts);
    }
    qDeleteAll(lstTranslators);
    QCOMPARE(QCoreApplication::translate("vindal01mainWindow_c", "Bild"), QStringLiteral("Bild"));
}

QTEST_MAIN(tst_translations)
#include "tst_translations.moc"
