// Beyond the basics: the window in the technician's language, the sensor picture and the template table
// kept through their context menus, and the tool bar's menus opening with one click.
#include "app/translations.h"
#include "modalAnswerer.h"
#include "scratchDirectory.h"
#include "viewers/dataViewer.h"
#include "viewers/serialLogReader.h"
#include "windowTester.h"

#include <QClipboard>
#include <QGroupBox>
#include <QMenu>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QTranslator>
#include <QtTest>

namespace
{

// Picks p_strEntry from the open popup menu when it is enabled, else closes the menu; the entries as
// shown, disabled ones marked, go to p_plstShown.
void pickFromMenu(const QString& p_strEntry, QStringList* p_plstShown)
{
    auto* pMenu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(pMenu != nullptr);
    for (QAction* pAction : pMenu->actions())
    {
        *p_plstShown << pAction->text() + (pAction->isEnabled() ? "" : " (off)");
        if (pAction->text() == p_strEntry && pAction->isEnabled())
            pMenu->setActiveAction(pAction);
    }
    QTest::keyClick(pMenu, pMenu->activeAction() ? Qt::Key_Return : Qt::Key_Escape);
}

// A real context-menu event on p_pTarget; returns the entries shown.
QStringList useContextMenu(QWidget* p_pTarget, const QString& p_strEntry)
{
    QStringList lstShown;
    QTimer::singleShot(0, std::bind(&pickFromMenu, p_strEntry, &lstShown));
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), p_pTarget->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(p_pTarget, &event);
    return lstShown;
}

} // namespace

class tst_convenience : public QObject
{
    Q_OBJECT

private slots:
    // A data tag begins with the locale the window is started in ("C": no translation).
    void init()
    {
        m_pDir.reset(new scratchDirectory_c());
        m_lstTranslators =
            translations_n::install(QLocale(QString::fromLatin1(QTest::currentDataTag()).section(' ', 0, 0)));
        m_lstSeen.clear();
        m_pAnswerer.reset(new modalAnswerer_c([this](QWidget* p_pModal) { answer(p_pModal); }));
        m_pWindow.reset(new vindal01mainWindow_c());
        m_pWindow->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_pWindow.get()));
    }
    void cleanup()
    {
        m_pWindow.reset();
        qDeleteAll(m_lstTranslators);
        m_pDir.reset();
    }
    void windowSpeaksTheLanguage_data()
    {
        // Mode button "Bild", the delete page's title, finger ID 11, the error-log window's title, action and
        // first tab, and the question of "Remove all finger" with Yes.
        QTest::addColumn<QString>("texts");
        QTest::newRow("C")
            << "Bild|Erase fingerprint data|Unknown Finger ID 11|Serial error log|Select File|"
               "Hex-Viewer|Alle Finger löschen?|Wollen Sie wirklich alle Finger vom Sensor löschen?|&Yes";
        QTest::newRow("de_DE") << "Bild|Fingerabdruckdaten löschen|Unbekannte Finger-ID 11|Serielles "
                                  "Fehlerprotokoll|Datei auswählen|Hex-Ansicht|Alle Finger löschen?|"
                                  "Wollen Sie wirklich alle Finger vom Sensor löschen?|&Ja";
        QTest::newRow("fr_FR (English)")
            << "Image|Erase fingerprint data|Unknown Finger ID 11|Serial error log|Select file|Hex viewer|"
               "Delete all fingers?|Do you really want to delete all fingers from the sensor?|&Yes";
    }

    void windowSpeaksTheLanguage()
    {
        QFETCH(QString, texts);
        vindal01mainWindowTester_c tester(*m_pWindow);
        serialLogReader_c* pLog = m_pWindow->serialErrorLogWindow();
        const QStringList lstShown =
            QStringList{m_pWindow->findChild<QToolButton*>("modeButton2")->text()}
            << qobject_cast<QGroupBox*>(tester.pageStack()->widget(tester.pageIndex(4)))->title()
            << humanHandWidget_c::fingerIdText(11) << pLog->windowTitle()
            << pLog->findChild<QToolBar*>()->actions().value(0)->text()
            << pLog->dataViewer()->findChild<QTabWidget*>()->tabText(0);
        simulator_n::sensorSimulator_c sim;
        QVERIFY(sim.open());
        tester.portChanged(sim.slavePath());
        tester.modeSelected(4);
        QTRY_VERIFY(tester.btnDeleteAll()->isEnabled());
        QTest::mouseClick(tester.btnDeleteAll(), Qt::LeftButton);
        QCOMPARE((lstShown + m_lstSeen).join('|'), texts);
    }

    void oneClickOpensTheMenu_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("popupMode");
        QTest::addColumn<QString>("firstEntry");
        QTest::newRow("Debug") << "actionDebug" << int(QToolButton::InstantPopup) << "Start serial logging";
        QTest::newRow("Start") << "actionStartComServer" << int(QToolButton::MenuButtonPopup) << "Manual";
    }

    void oneClickOpensTheMenu()
    {
        QFETCH(QString, action);
        QFETCH(int, popupMode);
        QFETCH(QString, firstEntry);
        auto* pAction = m_pWindow->findChild<QAction*>(action);
        pAction->setVisible(true);
        auto* pButton =
            qobject_cast<QToolButton*>(m_pWindow->findChild<QToolBar*>()->widgetForAction(pAction));
        QCOMPARE(int(pButton->popupMode()), popupMode);
        const bool bArrow = popupMode == QToolButton::MenuButtonPopup;
        QStringList lstShown;
        QTimer::singleShot(0, std::bind(&pickFromMenu, QString(), &lstShown));
        QTest::mouseClick(pButton, Qt::LeftButton, {}, QPoint(bArrow ? pButton->width() - 3 : 3, 10));
        QCOMPARE(lstShown.value(0), firstEntry);
    }

    void sensorPicture_data()
    {
        QTest::addColumn<bool>("badChecksum");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("fileName");
        QTest::newRow("C saved, suffix added") << false << QString("Save image...") << QString("kept");
        QTest::newRow("C copied") << false << QString("Copy image") << QString();
        QTest::newRow("C save fails") << false << QString("Save image...") << QString("missing/kept");
        QTest::newRow("C bad checksum") << true << QString("Save image...") << QString("kept");
    }

    void sensorPicture()
    {
        QFETCH(bool, badChecksum);
        QFETCH(QString, entry);
        QFETCH(QString, fileName);
        simulator_n::sensorSimulator_c sim;
        sim.setFinger(1, 1);
        if (badChecksum)
            sim.corruptNextChecksum();
        QVERIFY(sim.open());
        vindal01mainWindowTester_c tester(*m_pWindow);
        tester.portChanged(sim.slavePath());
        tester.modeSelected(static_cast<int>(sensor_n::mode_t::Test));
        QTRY_VERIFY(badChecksum ? m_pWindow->statusBar()->currentMessage().startsWith("Prüfsumme des Bildes")
                                : !tester.lblImage()->pixmap(Qt::ReturnByValue).isNull());
        const QImage imageShown = tester.lblImage()->pixmap(Qt::ReturnByValue).toImage();
        QGuiApplication::clipboard()->clear();

        m_strSavePath = m_pDir->filePath(fileName);
        const QString strOff = badChecksum ? " (off)" : "";
        // Image mode: the next capture replaces the picture while the menu is open (this timer runs first).
        sim.setImage(16, 8, QByteArray(16 * 8, '\x80'));
        const auto nextCapture = [&]() { return tester.lblImage()->pixmap(Qt::ReturnByValue).width() == 16; };
        QTimer::singleShot(0, [&]() { QVERIFY(badChecksum || QTest::qWaitFor(nextCapture)); });
        QCOMPARE(useContextMenu(tester.lblImage(), entry),
                 QStringList({"Save image..." + strOff, "Copy image" + strOff}));
        QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(imageShown.format()),
                 entry.startsWith("Copy") ? imageShown : QImage());
        const bool bSaves = !badChecksum && !fileName.isEmpty();
        const bool bFails = fileName.startsWith("missing/");
        QTRY_COMPARE(m_lstSeen.size(), bSaves ? (bFails ? 2 : 1) : 0);
        QVERIFY(!bSaves ||
                QRegularExpression("^fingerprint-\\d{8}-\\d{6}\\.png$").match(m_lstSeen[0]).hasMatch());
        QVERIFY(!bFails || (m_lstSeen[1].startsWith("Save failed|The file ") &&
                            m_lstSeen[1].contains("kept.png could not be saved:\nNo such file")));
        QCOMPARE(QImage(m_strSavePath + ".png", "PNG").convertToFormat(imageShown.format()),
                 bSaves && !bFails ? imageShown : QImage());
    }

    void templateTable_data()
    {
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<QString>("copied");
        QTest::addColumn<QString>("readBack");
        // In the table's own order; the CSV's fields as Python's csv module reads them, joined by '|'.
        const QString strRows = "say \"hi\"|a\tb|two\nlines|4,5\n7|0|57|31\n";
        QTest::newRow("C all rows")
            << QList<int>{}
            << "Personal ID\tFinger ID\tQuality\tMinutiae\n\"say \"\"hi\"\"\"\t\"a\tb\"\t\"two\n"
               "lines\"\t4,5\n7\t0\t57\t31\n"
            << "Personal ID|Finger ID|Quality|Minutiae\n" + strRows;
        QTest::newRow("de_DE UTF-8") << QList<int>{1}
                                     << "Personen-ID\tFinger-ID\tQualität\tMinutien\n7\t0\t57\t31\n"
                                     << "Personen-ID|Finger-ID|Qualität|Minutien\n" + strRows;
    }

    // "Copy" as spreadsheets paste it (the window tests show the module's templates in the table).
    void templateTable()
    {
        QFETCH(QList<int>, selected);
        QFETCH(QString, copied);
        QFETCH(QString, readBack);
        QTreeWidget* pTree = vindal01mainWindowTester_c(*m_pWindow).treeTemplates();
        pTree->addTopLevelItem(new QTreeWidgetItem(QStringList{"7", "0", "57", "31"}));
        pTree->addTopLevelItem(new QTreeWidgetItem(QStringList{"say \"hi\"", "a\tb", "two\nlines", "4,5"}));
        for (int nRow : selected)
            pTree->topLevelItem(nRow)->setSelected(true);
        useContextMenu(pTree->viewport(), vindal01mainWindow_c::tr("Copy"));
        QCOMPARE(QGuiApplication::clipboard()->text(), copied);

        m_strSavePath = m_pDir->filePath("table");
        useContextMenu(pTree->viewport(), vindal01mainWindow_c::tr("Save as CSV..."));
        QVERIFY(QRegularExpression("^templates-\\d{8}-\\d{6}\\.csv$").match(m_lstSeen.value(0)).hasMatch());
        QFile file(m_pDir->filePath("table.csv"));
        QVERIFY(file.open(QIODevice::ReadOnly) && file.read(3) == "\xef\xbb\xbf");
        QProcess python;
        python.start("python3",
                     {"-c",
                      "import csv, sys; sys.stdout.buffer.write(''.join('|'.join(r) + '\\n' for r in "
                      "csv.reader(open(sys.argv[1], encoding='utf-8-sig', newline=''))).encode())",
                      file.fileName()});
        QVERIFY(python.waitForFinished(30000));
        QCOMPARE(QString::fromUtf8(python.readAllStandardOutput() + python.readAllStandardError()), readBack);
    }

private:
    // Answers a save dialog with m_strSavePath, remembering the proposed name, and a message box with its
    // last button (No of a question), remembering "title|text|first button".
    void answer(QWidget* p_pModal)
    {
        auto* pBox = qobject_cast<QMessageBox*>(p_pModal);
        auto* pEdit = p_pModal->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        m_lstSeen << (pBox ? pBox->windowTitle() + '|' + pBox->text() + '|' + pBox->buttons().first()->text()
                           : pEdit->text());
        if (pBox != nullptr)
            return pBox->buttons().last()->click();
        pEdit->setText(m_strSavePath);
        static_cast<QDialog*>(p_pModal)->accept();
    }

    std::unique_ptr<scratchDirectory_c> m_pDir;
    QList<QTranslator*> m_lstTranslators;
    std::unique_ptr<vindal01mainWindow_c> m_pWindow;
    std::unique_ptr<modalAnswerer_c> m_pAnswerer;
    QString m_strSavePath;
    QStringList m_lstSeen;
};

QTEST_MAIN(tst_convenience)
#include "tst_convenience.moc"
