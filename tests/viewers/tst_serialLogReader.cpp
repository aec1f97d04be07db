// Scenarios of the serial log reader: a technician opens a log written by the tool and looks at its records.
#include "viewers/serialLogReader.h"

#include "modalAnswerer.h"
#include "serialPort/loggingSerialPort.h"
#include "viewers/dataViewer.h"
#include "viewers/serialLogModel.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeView>
#include <QtTest>

using serialPort_n::loggingSerialPort_c;

namespace
{
struct block_t
{
    int nDirection;
    QByteArray baData;
};

// A dialogue as the tool logs it: command lines written, replies read in pieces.
const QList<block_t> dialogue = {
    {1, "model_fw\r\n"},
    {0, "=OK "},
    {0, "V1.0\r\n"},
    {1, "reg /count\r\n"},
    {0, QByteArray("=OK 12\r\n\0\xff", 10)},
    {2, "info"},
    {-1, "odd"},
    {1, "date\r\n"},
    {0, "=OK\r\n"},
    {0, "Feb  8 2020\r\n"},
    {0, QByteArray(3000, '\x5a')},
};
} // namespace

class tst_serialLogReader : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void loadsLogOfLoggingPort();
    void badLinesAreSkipped_data();
    void badLinesAreSkipped();
    void clickedRangeJoinsInFileOrder();
    void selectRows_data();
    void selectRows();
    void missingFileKeepsContents();
    void unreadableFileIsReported();

private:
    QString writeLog(const QList<block_t>& p_lstBlocks,
                     const QString& p_strName = QStringLiteral("serial.log"));
    QString writeFile(const QByteArray& p_baContents);
    QByteArray shownBytes() const
    {
        return m_pReader->dataViewer()->findChild<dataViewer_c::hexWidget_t*>()->data();
    }
    QList<int> selectedRows() const
    {
        QList<int> lst;
        for (const QModelIndex& index : m_pReader->table()->selectionModel()->selectedRows())
            lst.append(index.row());
        std::sort(lst.begin(), lst.end());
        return lst;
    }
    void clickRow(int p_nRow, Qt::KeyboardModifiers p_modifiers = Qt::NoModifier)
    {
        QTreeView* pTable = m_pReader->table();
        const QRect rect = pTable->visualRect(pTable->model()->index(p_nRow, 1));
        QTest::mouseClick(pTable->viewport(), Qt::LeftButton, p_modifiers, rect.center());
    }

    std::unique_ptr<serialLogReader_c> m_pReader;
    std::unique_ptr<QTemporaryDir> m_pDir;
};

void tst_serialLogReader::init()
{
    m_pDir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_pDir->isValid());
    m_pReader = std::make_unique<serialLogReader_c>();
    m_pReader->resize(1000, 800);
    m_pReader->show();
}

void tst_serialLogReader::cleanup()
{
    m_pReader.reset();
    m_pDir.reset();
}

QString tst_serialLogReader::writeLog(const QList<block_t>& p_lstBlocks, const QString& p_strName)
{
    const QString strFn = m_pDir->filePath(p_strName);
    loggingSerialPort_c port(QStringLiteral("COM3"));
    if (!port.openLog(strFn))
        return QString();
    for (const block_t& block : p_lstBlocks)
        port.logData(block.nDirection, block.baData);
    return strFn;
}

QString tst_serialLogReader::writeFile(const QByteArray& p_baContents)
{
    const QString strFn = m_pDir->filePath(QStringLiteral("written.log"));
    QFile file(strFn);
    if (!file.open(QIODevice::WriteOnly) || file.write(p_baContents) != p_baContents.size())
        return QString();
    return strFn;
}

void tst_serialLogReader::loadsLogOfLoggingPort()
{
    const QString strFn = writeLog(dialogue);
    QVERIFY(m_pReader->slotOpenFile(strFn));
    QCOMPARE(m_pReader->windowTitle(), strFn);

    const QAbstractItemModel* pModel = m_pReader->table()->model();
    QCOMPARE(pModel->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Date/Time"));
    QCOMPARE(pModel->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Direction"));
    QCOMPARE(pModel->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Number of Bytes"));
    QCOMPARE(pModel->columnCount(), 3);
    QCOMPARE(pModel->rowCount(), dialogue.size());

    const QStringList lstDirections = {"W", "R", "R", "W", "R", "I", "-1", "W", "R", "R", "R"};
    for (int nRow = 0; nRow < dialogue.size(); ++nRow)
    {
        const QString strTime = pModel->index(nRow, 0).data().toString();
        QVERIFY2(QDateTime::fromString(strTime, QStringLiteral("yyyyMMdd-HHmmss.zzz")).isValid(),
                 qPrintable(strTime));
        QCOMPARE(pModel->index(nRow, 1).data().toString(), lstDirections.at(nRow));
        QCOMPARE(pModel->index(nRow, 2).data().toString(), QString::number(dialogue.at(nRow).baData.size()));
        QCOMPARE(pModel->index(nRow, 0).data(Qt::UserRole).toByteArray(), dialogue.at(nRow).baData);
    }
    // Loading selects nothing.
    QVERIFY(selectedRows().isEmpty());
}

void tst_serialLogReader::badLinesAreSkipped_data()
{
    QTest::addColumn<QByteArray>("contents");
    // Rows as "time|direction|hex of the bytes".
    QTest::addColumn<QStringList>("rows");

    QTest::newRow("empty lines and doubled blank")
        << QByteArray("\r\n\n20200208-143015.042 R 3d4f4b0d0a\r\n20200208-143015.043  W 41\r\n"
                      "20200208-143015.044 W 41\r\n")
        << QStringList{"20200208-143015.042|R|3d4f4b0d0a", "20200208-143015.044|W|41"};
    QTest::newRow("two and four fields")
        << QByteArray("20200208-143015.042 R\r\n20200208-143015.043 R 41 42\r\nt X 4243\r\n")
        << QStringList{"t|X|4243"};
    QTest::newRow("line cut at a zero byte")
        << QByteArray("t R 4142\0 more fields here\r\nu W 43\r\n", 37) << QStringList{"t|R|4142", "u|W|43"};
    QTest::newRow("odd digits and stray characters, as fromHex does")
        << QByteArray("t R 414\r\nu R zz4-1g42\r\nv R \r\n") << QStringList{"t|R|0414", "u|R|4142", "v|R|"};
    QTest::newRow("upper-case hex, last line without line end")
        << QByteArray("t R 4A4b\r\nu W FF") << QStringList{"t|R|4a4b", "u|W|ff"};
    QTest::newRow("not a log at all") << QByteArray("hello\nworld\n") << QStringList();
    QTest::newRow("UTF-8 in the fields") << QByteArray("zeit\xc3\xa4 \xc3\xbc 41\n")
                                         << QStringList{QString::fromUtf8("zeit\xc3\xa4|\xc3\xbc|41")};
}

void tst_serialLogReader::badLinesAreSkipped()
{
    QFETCH(QByteArray, contents);
    QFETCH(QStringList, rows);
    QVERIFY(m_pReader->slotOpenFile(writeFile(contents)));

    const QAbstractItemModel* pModel = m_pReader->table()->model();
    QStringList lstRows;
    for (int nRow = 0; nRow < pModel->rowCount(); ++nRow)
    {
        const QByteArray baData = pModel->index(nRow, 0).data(Qt::UserRole).toByteArray();
        lstRows.append(pModel->index(nRow, 0).data().toString() + '|' +
                       pModel->index(nRow, 1).data().toString() + '|' + QString::fromLatin1(baData.toHex()));
        QCOMPARE(pModel->index(nRow, 2).data().toString(), QString::number(baData.size()));
    }
    QCOMPARE(lstRows, rows);
}

void tst_serialLogReader::clickedRangeJoinsInFileOrder()
{
    QVERIFY(m_pReader->slotOpenFile(writeLog(dialogue)));

    // Clicked bottom first, then the top with Shift: the bytes still come in file order.
    clickRow(3);
    QCOMPARE(shownBytes(), dialogue.at(3).baData);
    clickRow(1, Qt::ShiftModifier);
    QCOMPARE(selectedRows(), (QList<int>{1, 2, 3}));
    QCOMPARE(shownBytes(), dialogue.at(1).baData + dialogue.at(2).baData + dialogue.at(3).baData);
    // Text only: the text tab shows it.
    QCOMPARE(m_pReader->dataViewer()->findChild<QTabWidget*>()->currentIndex(), 1);

    // Scattered rows cannot be selected: Ctrl+click extends the range instead.
    clickRow(8, Qt::ControlModifier);
    const QList<int> lstRows = selectedRows();
    QVERIFY(lstRows.contains(8));
    QCOMPARE(lstRows.last() - lstRows.first() + 1, lstRows.size());
    clickRow(8);
    clickRow(10, Qt::ShiftModifier);
    QCOMPARE(selectedRows(), (QList<int>{8, 9, 10}));
    QCOMPARE(shownBytes(), dialogue.at(8).baData + dialogue.at(9).baData + dialogue.at(10).baData);

    // Binary bytes make the hex tab current.
    clickRow(4);
    QCOMPARE(shownBytes(), dialogue.at(4).baData);
    QCOMPARE(m_pReader->dataViewer()->findChild<QTabWidget*>()->currentIndex(), 0);

    // Ctrl+A: every record, in file order.
    QTest::keyClick(m_pReader->table(), Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(selectedRows().size(), dialogue.size());
    QByteArray baAll;
    for (const block_t& block : dialogue)
        baAll.append(block.baData);
    QCOMPARE(shownBytes(), baAll);
}

void tst_serialLogReader::selectRows_data()
{
    QTest::addColumn<QList<int>>("directions");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QList<int>>("selected");

    const QList<int> lstWRRR = {1, 0, 1, 0, 0, 0};
    QTest::newRow("0: nothing") << lstWRRR << 0 << QList<int>();
    QTest::newRow("1: last row") << lstWRRR << 1 << QList<int>{5};
    QTest::newRow("2: last run of R") << lstWRRR << 2 << QList<int>{3, 4, 5};
    QTest::newRow("2: last run of W") << QList<int>{0, 1, 1} << 2 << QList<int>{1, 2};
    QTest::newRow("2: whole table is one run") << QList<int>{0, 0, 0} << 2 << QList<int>{0, 1, 2};
    QTest::newRow("2: only row") << QList<int>{1} << 2 << QList<int>{0};
    QTest::newRow("2: empty table") << QList<int>() << 2 << QList<int>();
    QTest::newRow("1: empty table") << QList<int>() << 1 << QList<int>();
    QTest::newRow("other mode clears") << lstWRRR << 7 << QList<int>();
}

void tst_serialLogReader::selectRows()
{
    QFETCH(QList<int>, directions);
    QFETCH(int, mode);
    QFETCH(QList<int>, selected);

    QList<block_t> lstBlocks;
    for (int i = 0; i < directions.size(); ++i)
        lstBlocks.append({directions.at(i), QByteArray("block ") + QByteArray::number(i) + "\r\n"});
    QVERIFY(m_pReader->slotOpenFile(writeLog(lstBlocks)));
    // Something selected before, so that every mode has to clear it.
    m_pReader->table()->selectAll();
    QVERIFY(!shownBytes().isEmpty() || lstBlocks.isEmpty());

    m_pReader->selectRows(mode);
    QCOMPARE(selectedRows(), selected);
    QByteArray baExpected;
    for (int nRow : selected)
        baExpected.append(lstBlocks.at(nRow).baData);
    QCOMPARE(shownBytes(), baExpected);
    if (mode == 0)
        QVERIFY(m_pReader->dataViewer()->text().isEmpty());
}

void tst_serialLogReader::missingFileKeepsContents()
{
    const QString strFn = writeLog(dialogue);
    QVERIFY(m_pReader->slotOpenFile(strFn));
    m_pReader->selectRows(1);

    const QString strMissing = m_pDir->filePath(QStringLiteral("gone.log"));
    modalAnswerer_c answerer;
    QVERIFY(!m_pReader->slotOpenFile(strMissing));
    QCOMPARE(answerer.messages(),
             QStringList{QStringLiteral("File open error|Failed to open file\n\"%1\".").arg(strMissing)});
    QCOMPARE(m_pReader->windowTitle(), strFn);
    QCOMPARE(m_pReader->table()->model()->rowCount(), dialogue.size());
    QCOMPARE(shownBytes(), dialogue.last().baData);
}

void tst_serialLogReader::unreadableFileIsReported()
{
    // /proc/self/mem opens but fails to read at offset 0 (an I/O error, for root too): the reader
    // must not present that as a complete, empty log.
    modalAnswerer_c answerer;
    QVERIFY(!m_pReader->slotOpenFile(QStringLiteral("/proc/self/mem")));
    QCOMPARE(answerer.messages().size(), 1);
    QVERIFY(answerer.messages().first().startsWith(QStringLiteral("File open error|")));
    // It was the reading that failed, not the opening.
    QCOMPARE(m_pReader->windowTitle(), QStringLiteral("/proc/self/mem"));
    QCOMPARE(m_pReader->table()->model()->rowCount(), 0);
}

QTEST_MAIN(tst_serialLogReader)
#include "tst_serialLogReader.moc"
