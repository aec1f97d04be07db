// The data viewer (tab choice, saving all or nothing), the project's hex view (hits, selection, copy,
// big blocks) and the serial log reader over logs written by the logging port.
#include "modalAnswerer.h"
#include "serialPort/loggingSerialPort.h"
#include "viewers/dataViewer.h"
#include "viewers/hexView.h"
#include "viewers/serialLogReader.h"

#include <QClipboard>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeView>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

namespace
{
// A dialogue as the tool logs it: command lines written, replies read in pieces.
const QList<QPair<int, QByteArray>> g_lstDialogue = {{1, "model_fw\r\n"},
                                                     {0, "=OK "},
                                                     {0, "V1.0\r\n"},
                                                     {1, "reg /count\r\n"},
                                                     {0, QByteArray("=OK 12\r\n\0\xff", 10)},
                                                     {2, "info"},
                                                     {-1, "odd"},
                                                     {1, "date\r\n"},
                                                     {0, "=OK\r\n"},
                                                     {0, "Feb  8 2020\r\n"},
                                                     {0, QByteArray(3000, '\x5a')}};

QByteArray joined(const QList<int>& p_lstRows)
{
    QByteArray ba;
    for (int nRow : p_lstRows)
        ba += g_lstDialogue.at(nRow).second;
    return ba;
}

QByteArray fileContents(const QString& p_strFn)
{
    QFile file(p_strFn);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

QList<int> selectedRows(serialLogReader_c& p_reader)
{
    QList<int> lst;
    for (const QModelIndex& index : p_reader.table()->selectionModel()->selectedRows())
        lst << index.row();
    std::sort(lst.begin(), lst.end());
    return lst;
}

QByteArray shownData(serialLogReader_c& p_reader)
{
    return p_reader.dataViewer()->findChild<dataViewer_c::hexWidget_t*>()->data();
}
} // namespace

class tst_viewers : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(m_dir.isValid()); }
    void dataViewerTabChoice()
    {
        // Per block: whether the text tab is best, and the text shown (every line end as a line break).
        QList<std::tuple<QByteArray, bool, QString>> lstCases = {
            {"=OK\r\n", true, "=OK\n"},          {"\t\n\v\f\r ~", true, "\t\n\v\f\n ~"},
            {QByteArray(), true, QString()},     {QByteArray("=OK\0tail", 8), false, "=OK"},
            {"gr\xc3\xbc", false, "gr\xc3\xbc"}, {"a\xff", false, "a\ufffd"}};
        for (const char* pszControl : {"a\x7f", "\x1b[0m", "\x08"})
            lstCases.append({pszControl, false, pszControl});
        for (const auto& [block, textTab, text] : lstCases)
        {
            dataViewer_c viewer;
            QTabWidget* pTabs = viewer.findChild<QTabWidget*>();
            // Start from the other tab, so that the choice is really made; new data alone keeps the tab.
            viewer.setData(textTab ? QByteArray("\x01", 1) : QByteArray("text"));
            viewer.selectBestView();
            viewer.setData(block);
            QCOMPARE(pTabs->currentIndex(), textTab ? 0 : 1);
            viewer.selectBestView();
            QCOMPARE(pTabs->currentIndex(), textTab ? 1 : 0);
            QCOMPARE(viewer.findChild<dataViewer_c::hexWidget_t*>()->data(), block);
            QPlainTextEdit* pText = viewer.findChild<QPlainTextEdit*>();
            pTabs->setCurrentIndex(1);
            QCOMPARE(pText->toPlainText(), text);
            // While the text tab is current, a new block shows as soon as the event loop runs.
            viewer.setData("third");
            QTRY_COMPARE(pText->toPlainText(), QStringLiteral("third"));
        }
    }
    void dataViewerSavesAllOrNothing()
    {
        dataViewer_c viewer;
        QByteArray baAll;
        for (int i = 0; i < 256; ++i)
            baAll.append(char(i));
        for (const QByteArray& baBlock : {QByteArray(), baAll})
        {
            const QString strFn = m_dir.filePath(QStringLiteral("block%1.bin").arg(baBlock.size()));
            viewer.setData(baBlock);
            modalAnswerer_c answerer(strFn);
            viewer.findChild<QPushButton*>()->click();
            QCOMPARE(answerer.messages(), QStringList());
            QCOMPARE(fileContents(strFn), baBlock);
        }
        // Below a regular file nobody can create a file, root neither.
        const QString strImpossible = m_dir.filePath("block0.bin/x.bin");
        {
            modalAnswerer_c answerer(strImpossible);
            viewer.findChild<QPushButton*>()->click();
            QCOMPARE(answerer.messages().size(), 1);
            QVERIFY2(answerer.messages().first().startsWith(
                         "File creation error|Failed to create save file\n" + strImpossible + '.'),
                     qPrintable(answerer.messages().first()));
        }
        // A disk that fills up during the write, made real with a file size limit (which binds root too):
        // the save fails, says so, and the earlier file of that name is neither truncated nor replaced.
        viewer.setData(QByteArray(1 << 20, 'x'));
        struct rlimit limitOld;
        QCOMPARE(::getrlimit(RLIMIT_FSIZE, &limitOld), 0);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limitSmall = limitOld;
        limitSmall.rlim_cur = 64 * 1024;
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &limitSmall), 0);
        modalAnswerer_c answerer;
        const bool bSaved = viewer.saveToFile(m_dir.filePath("block256.bin"));
        ::setrlimit(RLIMIT_FSIZE, &limitOld);
        std::signal(SIGXFSZ, oldHandler);
        QVERIFY(!bSaved);
        QCOMPARE(answerer.messages().size(), 1);
        QVERIFY(answerer.messages().first().startsWith(QStringLiteral("File creation error|")));
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden),
                 (QStringList{"block0.bin", "block256.bin"}));
        QCOMPARE(fileContents(m_dir.filePath("block256.bin")), baAll);
    }
    void hexViewHitsSelectsAndCopies()
    {
        hexView_c view;
        view.resize(800, 300);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        view.setFocus();
        QByteArray baData;
        for (int i = 0; i < 100; ++i)
            baData.append(char(i));
        view.setData(baData);
        const auto hexPoint = [&](qint64 p_nByte, bool p_bText = false)
        {
            const int nColumn = int(p_nByte % 16);
            return QPoint((p_bText ? view.textColumnX(nColumn) : view.hexColumnX(nColumn)) + 2,
                          int(p_nByte / 16) * view.rowHeight() + view.rowHeight() / 2);
        };
        // The hex and the character column of a byte hit that byte; the address column and past the end hit
        // none.
        for (qint64 nByte : {0, 7, 8, 15, 16, 99})
            QCOMPARE(QList<qint64>({view.byteAt(hexPoint(nByte)), view.byteAt(hexPoint(nByte, true))}),
                     QList<qint64>({nByte, nByte}));
        QCOMPARE(view.byteAt(QPoint(view.charWidth() * 2, 2)), qint64(-1));
        QCOMPARE(view.byteAt(hexPoint(100)), qint64(-1));

        QTest::keyClick(&view, Qt::Key_Right);
        QTest::keyClick(&view, Qt::Key_Right, Qt::ShiftModifier);
        QTest::keyClick(&view, Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(view.selectedData(), baData.mid(1, 17));
        QGuiApplication::clipboard()->clear();
        for (Qt::Key nKey : {Qt::Key_Left, Qt::Key_Up, Qt::Key_Right, Qt::Key_Right})
            QTest::keyClick(&view, nKey, Qt::ShiftModifier);
        QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("01 02"));
        QTest::keyClick(&view, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(view.selectedData(), baData);
        QTest::keyClick(&view, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClick(&view, Qt::Key_Home, Qt::ShiftModifier);
        QCOMPARE(view.selectedData(), baData.mid(96));

        // Dragging, forwards and backwards: the pressed byte stays in the selection.
        const struct
        {
            int nFrom, nTo, nStart, nCount;
        } aDrags[] = {{20, 35, 20, 16}, {40, 38, 38, 3}};
        for (const auto& drag : aDrags)
        {
            QTest::mousePress(view.viewport(), Qt::LeftButton, Qt::NoModifier, hexPoint(drag.nFrom));
            QMouseEvent move(QEvent::MouseMove, hexPoint(drag.nTo), Qt::NoButton, Qt::LeftButton,
                             Qt::NoModifier);
            QApplication::sendEvent(view.viewport(), &move);
            QTest::mouseRelease(view.viewport(), Qt::LeftButton, Qt::NoModifier, hexPoint(drag.nTo));
            QCOMPARE(view.selectedData(), baData.mid(drag.nStart, drag.nCount));
        }
        // A big block scrolls to its end, where its last byte can be hit.
        view.setData(QByteArray(8 << 20, '\x42'));
        QTest::keyClick(&view, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(view.verticalScrollBar()->value(), view.verticalScrollBar()->maximum());
        QCOMPARE(view.byteAt(hexPoint((8 << 20) - 1 - 16 * qint64(view.firstVisibleRow()))),
                 qint64((8 << 20) - 1));
    }
    void logReaderSkipsBadLines()
    {
        // Per case the file and its rows, "time|direction|hex of the bytes|number of bytes": empty lines and
        // a doubled blank; two and four fields; a line cut at a zero byte; odd digits and stray characters,
        // as fromHex does; upper-case hex, no last line end; not a log at all; UTF-8 in the fields.
        const QList<QPair<QByteArray, QStringList>> lstCases = {
            {"\r\n\n20200208-143015.042 R 3d4f4b0d0a\r\n20200208-143015.043  W 41\r\n"
             "20200208-143015.044 W 41\r\n",
             {"20200208-143015.042|R|3d4f4b0d0a|5", "20200208-143015.044|W|41|1"}},
            {"t R\r\nt R 41 42\r\nt X 4243\r\n", {"t|X|4243|2"}},
            {QByteArray("t R 4142\0 more fields here\r\nu W 43\r\n", 37), {"t|R|4142|2", "u|W|43|1"}},
            {"t R 414\r\nu R zz4-1g42\r\nv R \r\n", {"t|R|0414|2", "u|R|4142|2", "v|R||0"}},
            {"t R 4A4b\r\nu W FF", {"t|R|4a4b|2", "u|W|ff|1"}},
            {"hello\nworld\n", {}},
            {"zeit\xc3\xa4 \xc3\xbc 41\n", {QString::fromUtf8("zeit\xc3\xa4|\xc3\xbc|41|1")}}};
        for (const auto& test : lstCases)
        {
            QFile file(m_dir.filePath("written.log"));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(test.first) == test.first.size());
            file.close();
            serialLogReader_c reader;
            QVERIFY(reader.slotOpenFile(file.fileName()));
            const QAbstractItemModel* pModel = reader.table()->model();
            QStringList lstRows;
            for (int nRow = 0; nRow < pModel->rowCount(); ++nRow)
                lstRows << QStringList({pModel->index(nRow, 0).data().toString(),
                                        pModel->index(nRow, 1).data().toString(),
                                        pModel->index(nRow, 0).data(Qt::UserRole).toByteArray().toHex(),
                                        pModel->index(nRow, 2).data().toString()})
                               .join('|');
            QCOMPARE(lstRows, test.second);
        }
    }
    void logReaderSelection()
    {
        serialLogReader_c reader;
        reader.resize(1000, 800);
        reader.show();
        QVERIFY(reader.slotOpenFile(writeLog(g_lstDialogue)));
        QTreeView* pTable = reader.table();
        const auto click = [&](int p_nRow, Qt::KeyboardModifiers p_modifiers = Qt::NoModifier)
        {
            const QRect rect = pTable->visualRect(pTable->model()->index(p_nRow, 1));
            QTest::mouseClick(pTable->viewport(), Qt::LeftButton, p_modifiers, rect.center());
        };
        const auto tab = [&]() { return reader.dataViewer()->findChild<QTabWidget*>()->currentIndex(); };

        // Clicked bottom first, then the top with Shift: the bytes still come in file order, text on the text
        // tab.
        click(3);
        click(1, Qt::ShiftModifier);
        QCOMPARE(selectedRows(reader), (QList<int>{1, 2, 3}));
        QCOMPARE(shownData(reader), joined({1, 2, 3}));
        QCOMPARE(tab(), 1);
        // Scattered rows cannot be selected: Ctrl+click extends the range instead.
        click(8, Qt::ControlModifier);
        const QList<int> lstRange = selectedRows(reader);
        QVERIFY(lstRange.contains(8) && lstRange.last() - lstRange.first() + 1 == lstRange.size());
        // Binary bytes make the hex tab current.
        click(4);
        QCOMPARE(shownData(reader), joined({4}));
        QCOMPARE(tab(), 0);
        QTest::keyClick(pTable, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(shownData(reader), joined({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    }
    // The watchdog's choice, the last run of one direction (its window tests mark runs of one and three):
    // the last run of W, a whole table of one run, an empty table.
    void logReaderSelectsLastRun()
    {
        for (const auto& test :
             QList<QPair<QList<int>, QList<int>>>{{{1, 0, 1, 1}, {2, 3}}, {{0, 0, 0}, {0, 1, 2}}, {{}, {}}})
        {
            QList<QPair<int, QByteArray>> lstBlocks;
            for (int i = 0; i < test.first.size(); ++i)
                lstBlocks.append({test.first.at(i), "block " + QByteArray::number(i) + "\r\n"});
            serialLogReader_c reader;
            QVERIFY(reader.slotOpenFile(writeLog(lstBlocks)));
            reader.table()->selectAll(); // something selected before, which the choice replaces
            reader.selectRows(2);
            QByteArray baExpected;
            for (int nRow : test.second)
                baExpected += lstBlocks.at(nRow).second;
            QCOMPARE(selectedRows(reader), test.second);
            QCOMPARE(shownData(reader), baExpected);
        }
    }
    void logReaderFailures()
    {
        serialLogReader_c reader;
        const QString strFn = writeLog(g_lstDialogue);
        QVERIFY(reader.slotOpenFile(strFn));
        const QAbstractItemModel* pModel = reader.table()->model();
        // Time stamps in ASCII digits under any locale (CTest runs this under Arabic and Persian settings
        // too).
        QVERIFY(pModel->index(0, 0).data().toString().contains(
            QRegularExpression("^[0-9]{8}-[0-9]{6}\\.[0-9]{3}$")));
        for (int n = 0; n < 3; ++n)
            QCOMPARE(pModel->headerData(n, Qt::Horizontal).toString(),
                     QStringList({"Date/Time", "Direction", "Number of Bytes"}).at(n));
        QVERIFY(selectedRows(reader).isEmpty());
        // A missing file is reported and the loaded log stays.
        const QString strMissing = m_dir.filePath("gone.log");
        {
            modalAnswerer_c answerer;
            QVERIFY(!reader.slotOpenFile(strMissing));
            QCOMPARE(
                answerer.messages(),
                QStringList{QStringLiteral("File open error|Failed to open file\n\"%1\".").arg(strMissing)});
        }
        QCOMPARE(reader.windowTitle(), strFn);
        QCOMPARE(pModel->rowCount(), g_lstDialogue.size());
        // /proc/self/mem opens but fails to read (for root too): not a complete, empty log.
        modalAnswerer_c answerer;
        QVERIFY(!reader.slotOpenFile(QStringLiteral("/proc/self/mem")));
        QCOMPARE(answerer.messages().size(), 1);
        QVERIFY(answerer.messages().first().startsWith(QStringLiteral("File open error|")));
        QCOMPARE(reader.windowTitle(), QStringLiteral("/proc/self/mem"));
        QCOMPARE(reader.table()->model()->rowCount(), 0);
    }

private:
    QString writeLog(const QList<QPair<int, QByteArray>>& p_lstBlocks)
    {
        const QString strFn = m_dir.filePath(QStringLiteral("serial_%1.log").arg(++m_nLogs));
        serialPort_n::loggingSerialPort_c port(QStringLiteral("COM3"));
        if (!port.openLog(strFn))
            return QString();
        for (const auto& block : p_lstBlocks)
            port.logData(block.first, block.second);
        return strFn;
    }
    QTemporaryDir m_dir;
    int m_nLogs = 0;
};

QTEST_MAIN(tst_viewers)
#include "tst_viewers.moc"
