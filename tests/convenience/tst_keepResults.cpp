// The technician keeps the sensor picture and the template table through their context menus.
#include "app/translations.h"
#include "modalAnswerer.h"
#include "scratchDirectory.h"
#include "windowTester.h"

#include <QClipboard>
#include <QMenu>
#include <QStatusBar>
#include <QTranslator>
#include <QtTest>

using simulator_n::sensorSimulator_c;

namespace
{

// Opens the context menu of p_pTarget with a real context-menu event and picks p_strEntry when it is
// enabled; returns the entries as shown, disabled ones marked.
QStringList useContextMenu(QWidget* p_pTarget, const QString& p_strEntry)
{
    QStringList lstEntries;
    QTimer picker;
    QObject::connect(&picker, &QTimer::timeout,
                     [&]()
                     {
                         auto* pMenu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                         if (pMenu == nullptr)
                             return;
                         picker.stop();
                         for (QAction* pAction : pMenu->actions())
                         {
                             lstEntries << pAction->text() + (pAction->isEnabled() ? "" : " (off)");
                             if (pAction->text() == p_strEntry && pAction->isEnabled())
                                 pMenu->setActiveAction(pAction);
                         }
                         QTest::keyClick(pMenu,
                                         pMenu->activeAction() != nullptr ? Qt::Key_Return : Qt::Key_Escape);
                     });
    picker.start(20);
    const QPoint pos(5, 5);
    QContextMenuEvent event(QContextMenuEvent::Mouse, pos, p_pTarget->mapToGlobal(pos));
    QApplication::sendEvent(p_pTarget, &event);
    return lstEntries;
}

// Answers save dialogs with p_strPath (remembering the proposed name) and message boxes with OK.
modalAnswerer_c* saveAnswerer(const QString& p_strPath, QString* p_pstrProposed)
{
    return new modalAnswerer_c(
        [p_strPath, p_pstrProposed](QWidget* p_pModal)
        {
            if (auto* pDialog = qobject_cast<QFileDialog*>(p_pModal))
            {
                auto* pEdit = pDialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                *p_pstrProposed = pEdit->text();
                pEdit->setText(p_strPath);
                static_cast<QDialog*>(pDialog)->accept();
            }
            else if (auto* pBox = qobject_cast<QMessageBox*>(p_pModal))
            {
                pBox->button(QMessageBox::Ok)->click();
            }
        });
}

} // namespace

class tst_keepResults : public QObject
{
    Q_OBJECT

private slots:
    void sensorPicture_data();
    void sensorPicture();
    void templateTable_data();
    void templateTable();
};

void tst_keepResults::sensorPicture_data()
{
    QTest::addColumn<bool>("badChecksum");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QStringList>("entries");
    const QStringList lstOn{"Save image...", "Copy image"};
    const QStringList lstOff{"Save image... (off)", "Copy image (off)"};
    QTest::newRow("saved as PNG") << false << "Save image..."
                                  << "kept.png" << lstOn;
    QTest::newRow("suffix added") << false << "Save image..."
                                  << "kept" << lstOn;
    QTest::newRow("copied") << false << "Copy image"
                            << "" << lstOn;
    QTest::newRow("save fails") << false << "Save image..."
                                << "missing/kept.png" << lstOn;
    QTest::newRow("bad checksum") << true << "Save image..."
                                  << "kept.png" << lstOff;
}

void tst_keepResults::sensorPicture()
{
    QFETCH(bool, badChecksum);
    QFETCH(QString, entry);
    QFETCH(QString, fileName);
    QFETCH(QStringList, entries);
    scratchDirectory_c dir;
    sensorSimulator_c sim;
    QByteArray baPixels;
    for (int i = 0; i < 24 * 16; ++i)
        baPixels += char(i * 7);
    QVERIFY(sim.setImage(24, 16, baPixels));
    sim.setFinger(1, 1);
    if (badChecksum)
        sim.corruptNextChecksum();
    QVERIFY(sim.open());
    vindal01mainWindow_c window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    vindal01mainWindowTester_c tester(window);
    tester.portChanged(sim.slavePath());
    tester.modeSelected(static_cast<int>(sensor_n::mode_t::Test));
    if (badChecksum)
        QTRY_VERIFY(window.statusBar()->currentMessage().startsWith(QStringLiteral("Prüfsumme des Bildes")));
    else
        QTRY_VERIFY(!tester.lblImage()->pixmap(Qt::ReturnByValue).isNull());
    const QImage imageShown = tester.lblImage()->pixmap(Qt::ReturnByValue).toImage();
    QGuiApplication::clipboard()->clear();

    QString strProposed;
    std::unique_ptr<modalAnswerer_c> pAnswerer(saveAnswerer(dir.filePath(fileName), &strProposed));
    QCOMPARE(useContextMenu(tester.lblImage(), entry), entries);
    const QString strSaved = dir.filePath(fileName.endsWith(".png") ? fileName : fileName + ".png");
    if (badChecksum || fileName.isEmpty())
    {
        QCOMPARE(pAnswerer->count(), 0);
        QCOMPARE(QFile::exists(strSaved), false);
        QCOMPARE(QGuiApplication::clipboard()->image().isNull(), badChecksum);
        if (!badChecksum)
            QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(imageShown.format()), imageShown);
        return;
    }
    QVERIFY(QRegularExpression("^fingerprint-\\d{8}-\\d{6}\\.png$").match(strProposed).hasMatch());
    if (fileName.startsWith("missing/"))
    {
        QTRY_COMPARE(pAnswerer->count(), 2);
        QCOMPARE(pAnswerer->seen().at(1).strTitle, QStringLiteral("Save failed"));
        QVERIFY(pAnswerer->seen().at(1).strText.contains(QStringLiteral("kept.png could not be saved:\n")));
        QCOMPARE(QFile::exists(strSaved), false);
        return;
    }
    QCOMPARE(pAnswerer->count(), 1);
    QImage imageSaved(strSaved, "PNG");
    QCOMPARE(imageSaved.convertToFormat(imageShown.format()), imageShown);
}

void tst_keepResults::templateTable_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<QString>("copied");
    QTest::addColumn<QByteArray>("csv");
    const QByteArray baCsv = "Personal ID,Finger ID,Quality,Minutiae\r\n"
                             "12,3,\"say \"\"hi\"\"\",\"4,5\"\r\n"
                             "7,0,\"two\nlines\",42\r\n";
    QTest::newRow("none selected: all rows")
        << "C" << QList<int>{}
        << "Personal ID\tFinger ID\tQuality\tMinutiae\n12\t3\tsay \"hi\"\t4,5\n7\t0\ttwo\nlines\t42\n"
        << baCsv;
    QTest::newRow("second row selected")
        << "C" << QList<int>{1} << "Personal ID\tFinger ID\tQuality\tMinutiae\n7\t0\ttwo\nlines\t42\n"
        << baCsv;
    QTest::newRow("German header in UTF-8")
        << "de_DE" << QList<int>{0} << "Personen-ID\tFinger-ID\tQualität\tMinutien\n12\t3\tsay \"hi\"\t4,5\n"
        << QByteArray(baCsv).replace("Personal ID,Finger ID,Quality,Minutiae",
                                     "Personen-ID,Finger-ID,Qualit\xc3\xa4t,Minutien");
}

void tst_keepResults::templateTable()
{
    QFETCH(QString, locale);
    QFETCH(QList<int>, selected);
    QFETCH(QString, copied);
    QFETCH(QByteArray, csv);
    scratchDirectory_c dir;
    const QList<QTranslator*> lstTranslators = translations_n::install(QLocale(locale));
    vindal01mainWindow_c window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTreeWidget* pTree = vindal01mainWindowTester_c(window).treeTemplates();
    pTree->setSortingEnabled(false);
    pTree->addTopLevelItem(new QTreeWidgetItem(QStringList{"12", "3", "say \"hi\"", "4,5"}));
    pTree->addTopLevelItem(new QTreeWidgetItem(QStringList{"7", "0", "two\nlines", "42"}));
    for (int nRow : selected)
        pTree->topLevelItem(nRow)->setSelected(true);

    QGuiApplication::clipboard()->clear();
    useContextMenu(pTree->viewport(), vindal01mainWindow_c::tr("Copy"));
    QCOMPARE(QGuiApplication::clipboard()->text(), copied);

    QString strProposed;
    std::unique_ptr<modalAnswerer_c> pAnswerer(saveAnswerer(dir.filePath("table"), &strProposed));
    useContextMenu(pTree->viewport(), vindal01mainWindow_c::tr("Save as CSV..."));
    QVERIFY(QRegularExpression("^templates-\\d{8}-\\d{6}\\.csv$").match(strProposed).hasMatch());
    QFile file(dir.filePath("table.csv"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), csv);
    qDeleteAll(lstTranslators);
}

QTEST_MAIN(tst_keepResults)
#include "tst_keepResults.moc"
