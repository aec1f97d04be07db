// Scenarios of the data viewer: which tab a block opens on, and saving a block all or nothing.
#include "viewers/dataViewer.h"

#include "modalAnswerer.h"

#include <QDir>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

class tst_dataViewer : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void tabChoice_data();
    void tabChoice();
    void setDataKeepsTab();
    void textFollowsBlock();
    void saveWritesExactBytes_data();
    void saveWritesExactBytes();
    void saveToImpossiblePathWarns();
    void failedWriteKeepsEarlierFile();

private:
    QTabWidget* tabs() const { return m_pViewer->findChild<QTabWidget*>(); }
    QPlainTextEdit* textView() const { return m_pViewer->findChild<QPlainTextEdit*>(); }
    dataViewer_c::hexWidget_t* hexView() const { return m_pViewer->findChild<dataViewer_c::hexWidget_t*>(); }
    QWidget* currentView() const { return tabs()->currentWidget(); }
    void clickSave() { m_pViewer->findChild<QPushButton*>()->click(); }

    std::unique_ptr<dataViewer_c> m_pViewer;
    std::unique_ptr<QTemporaryDir> m_pDir;
};

void tst_dataViewer::init()
{
    m_pViewer = std::make_unique<dataViewer_c>();
    m_pViewer->show();
    m_pDir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_pDir->isValid());
}

void tst_dataViewer::cleanup()
{
    m_pViewer.reset();
    m_pDir.reset();
}

void tst_dataViewer::tabChoice_data()
{
    QTest::addColumn<QByteArray>("block");
    QTest::addColumn<bool>("textTab");
    QTest::addColumn<QString>("text");

    // The text view shows every line end as a line break.
    QTest::newRow("reply line") << QByteArray("=OK\r\n") << true << QStringLiteral("=OK\n");
    QTest::newRow("white space") << QByteArray("\t\n\v\f\r ~") << true << QStringLiteral("\t\n\v\f\n ~");
    QTest::newRow("empty") << QByteArray() << true << QString();
    QTest::newRow("zero byte in the middle") << QByteArray("=OK\0tail", 8) << false << QStringLiteral("=OK");
    QTest::newRow("byte 0x80 and up, valid UTF-8")
        << QByteArray("gr\xc3\xbc\xc3\x9f") << false << QString::fromUtf8("gr\xc3\xbc\xc3\x9f");
    QTest::newRow("invalid UTF-8") << QByteArray("a\xff") << false << QStringLiteral("a\ufffd");
    QTest::newRow("DEL") << QByteArray("a\x7f") << false << QStringLiteral("a\x7f");
    QTest::newRow("escape") << QByteArray("\x1b[0m") << false << QStringLiteral("\x1b[0m");
    QTest::newRow("backspace") << QByteArray("\x08") << false << QStringLiteral("\x08");
}

void tst_dataViewer::tabChoice()
{
    QFETCH(QByteArray, block);
    QFETCH(bool, textTab);
    QFETCH(QString, text);

    // Start from the other tab, so that the choice is really made.
    m_pViewer->setData(textTab ? QByteArray("\x01", 1) : QByteArray("text"));
    m_pViewer->selectBestView();
    QCOMPARE(currentView() == textView(), !textTab);

    m_pViewer->setData(block);
    m_pViewer->selectBestView();
    QCOMPARE(currentView() == textView(), textTab);
    QCOMPARE(currentView() == hexView(), !textTab);
    QCOMPARE(hexView()->data(), block);
    // What the technician sees on switching to the text tab.
    tabs()->setCurrentWidget(textView());
    QCOMPARE(textView()->toPlainText(), text);
}

void tst_dataViewer::textFollowsBlock()
{
    // Hex tab current: the text tab shows the new block once it is opened ...
    m_pViewer->setData("first");
    m_pViewer->setData("second");
    QCOMPARE(m_pViewer->text(), QStringLiteral("second"));
    QTest::mouseClick(tabs()->tabBar(), Qt::LeftButton, Qt::NoModifier,
                      tabs()->tabBar()->tabRect(1).center());
    QCOMPARE(currentView(), static_cast<QWidget*>(textView()));
    QCOMPARE(textView()->toPlainText(), QStringLiteral("second"));
    // ... and while it is current, as soon as the event loop runs.
    m_pViewer->setData("third");
    QTRY_COMPARE(textView()->toPlainText(), QStringLiteral("third"));
    m_pViewer->setData(QByteArray());
    QTRY_COMPARE(textView()->toPlainText(), QString());
}

void tst_dataViewer::setDataKeepsTab()
{
    QCOMPARE(currentView(), static_cast<QWidget*>(hexView()));
    m_pViewer->setData("=OK\r\n");
    QCOMPARE(currentView(), static_cast<QWidget*>(hexView()));
    m_pViewer->selectBestView();
    QCOMPARE(currentView(), static_cast<QWidget*>(textView()));
    m_pViewer->setData(QByteArray("\0\xff", 2));
    QCOMPARE(currentView(), static_cast<QWidget*>(textView()));
    QCOMPARE(tabs()->tabText(0), QStringLiteral("Hex-Viewer"));
    QCOMPARE(tabs()->tabText(1), QStringLiteral("Text"));
}

void tst_dataViewer::saveWritesExactBytes_data()
{
    QTest::addColumn<QByteArray>("block");
    QByteArray baAll;
    for (int i = 0; i < 256; ++i)
        baAll.append(char(i));
    QTest::newRow("every byte value") << baAll;
    QTest::newRow("line ends stay as they are") << QByteArray("=OK\r\n\n\r");
    QTest::newRow("empty block, empty file") << QByteArray();
}

void tst_dataViewer::saveWritesExactBytes()
{
    QFETCH(QByteArray, block);
    const QString strFn = m_pDir->filePath(QStringLiteral("block.bin"));
    m_pViewer->setData(block);

    modalAnswerer_c answerer(strFn);
    clickSave();
    QCOMPARE(answerer.fileDialogs(), 1);
    QVERIFY(answerer.messages().isEmpty());

    QFile file(strFn);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), block);
    QCOMPARE(QDir(m_pDir->path()).entryList(QDir::Files), QStringList{QStringLiteral("block.bin")});
}

void tst_dataViewer::saveToImpossiblePathWarns()
{
    // A directory that cannot be written. Tests run as root here, and root ignores directory
    // permissions, so the target is a path below a regular file: that fails for everybody.
    const QString strRegular = m_pDir->filePath(QStringLiteral("regular.txt"));
    {
        QFile file(strRegular);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("keep");
    }
    const QString strFn = strRegular + QStringLiteral("/block.bin");
    m_pViewer->setData("=OK\r\n");

    modalAnswerer_c answerer(strFn);
    clickSave();
    QCOMPARE(answerer.messages().size(), 1);
    QVERIFY2(
        answerer.messages().first().startsWith(
            QStringLiteral("File creation error|Failed to create save file\n") + strFn + QLatin1Char('.')),
        qPrintable(answerer.messages().first()));
    QCOMPARE(QDir(m_pDir->path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("regular.txt")});
    QFile file(strRegular);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("keep"));
    QCOMPARE(hexView()->data(), QByteArray("=OK\r\n"));
}

void tst_dataViewer::failedWriteKeepsEarlierFile()
{
    // A disk that fills up during the write, made real with a file size limit (which binds root
    // too): the warning appears, and the earlier file of that name is neither truncated nor replaced.
    const QString strFn = m_pDir->filePath(QStringLiteral("block.bin"));
    {
        QFile file(strFn);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("earlier contents");
    }
    m_pViewer->setData(QByteArray(1 << 20, 'x'));

    struct rlimit limitOld;
    QCOMPARE(::getrlimit(RLIMIT_FSIZE, &limitOld), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limitSmall = limitOld;
    limitSmall.rlim_cur = 64 * 1024;
    QCOMPARE(::setrlimit(RLIMIT_FSIZE, &limitSmall), 0);
    modalAnswerer_c answerer;
    const bool bSaved = m_pViewer->saveToFile(strFn);
    ::setrlimit(RLIMIT_FSIZE, &limitOld);
    std::signal(SIGXFSZ, oldHandler);

    QVERIFY(!bSaved);
    QCOMPARE(answerer.messages().size(), 1);
    QVERIFY(answerer.messages().first().startsWith(QStringLiteral("File creation error|")));
    QCOMPARE(QDir(m_pDir->path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("block.bin")});
    QFile file(strFn);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("earlier contents"));
}

QTEST_MAIN(tst_dataViewer)
#include "tst_dataViewer.moc"
