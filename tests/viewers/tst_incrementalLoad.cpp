// Reopening the log the window shows, as the watchdog does at every firing, lists exactly what opening it
// in a fresh window lists: after records were appended, the last line was completed, the file was
// replaced or shrank.
#include "viewers/serialLogModel.h"
#include "viewers/serialLogReader.h"

#include <QItemSelectionModel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTreeView>
#include <QtTest>

namespace
{
// Every row, then the rows the watchdog's selection picks.
QStringList shown(serialLogReader_c& p_reader)
{
    QStringList lstRows;
    const serialLogModel_c* pModel = p_reader.model();
    for (int i = 0; i < pModel->rowCount(); ++i)
        lstRows << pModel->timeText(i) + '|' + pModel->directionText(i) + '|' +
                       pModel->data(pModel->index(i, 2)).toString() + '|' + pModel->bytes(i).toHex();
    p_reader.selectRows(2);
    for (const QModelIndex& index : p_reader.table()->selectionModel()->selectedRows())
        lstRows << QString::number(index.row());
    return lstRows;
}
} // namespace

class tst_incrementalLoad : public QObject
{
    Q_OBJECT

private slots:
    void reopenEqualsFreshLoad()
    {
        QTemporaryDir dir;
        const QString strFn = dir.filePath(QStringLiteral("serial_x.log"));
        serialLogReader_c reader;
        QSignalSpy spyReset(reader.model(), &QAbstractItemModel::modelReset);
        // Each step: how the file is written (append or rewrite), the bytes, whether it only grew.
        const struct
        {
            QIODevice::OpenMode mode;
            QByteArray baBytes;
            bool bGrown;
        } steps[] = {
            {QIODevice::WriteOnly, "t1 W 7363616e0d0a\nt2 R 3d4f\n", false},
            {QIODevice::Append, "t3 R 4b0d0a\nt4  W 00\nt5 R 41", true},
            {QIODevice::Append, "4243\nt6 W 1\nt7", true},
            {QIODevice::Append, " R 0d0a\n", true},
            {QIODevice::Append, "t8 R 0d\n", true},
            {QIODevice::WriteOnly, "u1 W 7363616e0d0a\nu2 R 3d4f\nu3 W 00\nu4 W 0102\nu5 R ff\nu6 R ee\n",
             false},
            {QIODevice::WriteOnly, "u1 W 7363616e0d0a\nu2 R 3d4f\n", false},
            {QIODevice::WriteOnly, "t1 W 7363616e0d0a\nt2 R 3d4f\nt3 R 4b0d0a\nt4 R 4b\n", false},
        };
        for (const auto& step : steps)
        {
            QFile file(strFn);
            QVERIFY(file.open(step.mode));
            QCOMPARE(file.write(step.baBytes), qint64(step.baBytes.size()));
            file.close();
            const int nResets = spyReset.count();
            QVERIFY(reader.slotOpenFile(strFn));
            QCOMPARE(spyReset.count(), nResets + (step.bGrown ? 0 : 1));
            serialLogReader_c fresh;
            QVERIFY(fresh.slotOpenFile(strFn));
            QCOMPARE(shown(reader), shown(fresh));
        }
    }
};

QTEST_MAIN(tst_incrementalLoad)
#include "tst_incrementalLoad.moc"
