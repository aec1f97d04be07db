// Writes a big serial log with the logging port and loads it into the serial log reader:
// records per second for both, time per scrolled page, selections, the hex view with a big block,
// and the peak memory.
#include "benchSupport.h"
#include "serialPort/loggingSerialPort.h"
#include "viewers/hexView.h"
#include "viewers/serialLogModel.h"
#include "viewers/serialLogReader.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTreeView>

#include <cstdio>

namespace
{
QByteArray statusValue(const char* p_pszKey)
{
    QFile file(QStringLiteral("/proc/self/status"));
    if (!file.open(QIODevice::ReadOnly))
        return "?";
    for (const QByteArray& baLine : file.readAll().split('\n'))
        if (baLine.startsWith(p_pszKey))
            return baLine.mid(int(qstrlen(p_pszKey))).simplified();
    return "?";
}

double perSecond(qint64 p_nCount, qint64 p_nNs)
{
    return p_nNs > 0 ? double(p_nCount) * 1e9 / double(p_nNs) : 0.0;
}
} // namespace

int main(int argc, char** argv)
{
    bench_n::useOffscreenUnlessChosen();
    QApplication app(argc, argv);
    const int nRecords = argc > 1 ? QByteArray(argv[1]).toInt() : 1000000;

    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    const QString strFn = dir.filePath(QStringLiteral("serial_bench.log"));

    // A dialogue as the tool has it: a command line written, its reply read in one to three pieces.
    QRandomGenerator random(42);
    const QByteArray baCommand("reg /count\r\n");
    QByteArray baReply;
    for (int i = 0; i < 64; ++i)
        baReply.append(char(random.bounded(256)));
    QElapsedTimer timer;
    {
        serialPort_n::loggingSerialPort_c port(QStringLiteral("pts/0"));
        if (!port.openLog(strFn))
            return 1;
        timer.start();
        for (int i = 0; i < nRecords; ++i)
        {
            if (i % 3 == 0)
                port.logData(serialPort_n::loggingSerialPort_c::directionWrite, baCommand);
            else
                port.logData(serialPort_n::loggingSerialPort_c::directionRead,
                             baReply.left(1 + int(random.bounded(40))));
        }
    }
    const qint64 nWriteNs = timer.nsecsElapsed();
    std::printf("records:            %d\n", nRecords);
    std::printf("log file:           %.1f MB\n", double(QFileInfo(strFn).size()) / 1e6);
    std::printf("write:              %.2f s, %.0f records/s\n", double(nWriteNs) / 1e9,
                perSecond(nRecords, nWriteNs));
    std::printf("VmHWM after write:  %s\n", statusValue("VmHWM:").constData());

    serialLogReader_c reader;
    reader.resize(1200, 800);
    reader.show();
    app.processEvents();
    timer.start();
    if (!reader.slotOpenFile(strFn))
        return 1;
    const qint64 nLoadNs = timer.nsecsElapsed();
    const int nRows = reader.model()->rowCount();
    std::printf("load:               %.2f s, %.0f records/s (%d rows)\n", double(nLoadNs) / 1e9,
                perSecond(nRows, nLoadNs), nRows);
    std::printf("VmHWM after load:   %s\n", statusValue("VmHWM:").constData());

    // Scrolling: jump to random places and paint the visible rows each time.
    QTreeView* pTable = reader.table();
    QScrollBar* pScroll = pTable->verticalScrollBar();
    const int nPages = 200;
    timer.start();
    for (int i = 0; i < nPages; ++i)
    {
        pScroll->setValue(int(random.bounded(pScroll->maximum() + 1)));
        pTable->viewport()->repaint();
    }
    const qint64 nScrollNs = timer.nsecsElapsed();
    std::printf("scroll and paint:   %.2f ms per page\n", double(nScrollNs) / 1e6 / nPages);

    timer.start();
    reader.selectRows(2);
    app.processEvents();
    std::printf("selectRows(2):      %.2f ms\n", double(timer.nsecsElapsed()) / 1e6);

    timer.start();
    pTable->selectionModel()->select(
        QItemSelection(reader.model()->index(0, 0), reader.model()->index(9999, 2)),
        QItemSelectionModel::ClearAndSelect);
    app.processEvents();
    std::printf("select 10000 rows:  %.2f ms\n", double(timer.nsecsElapsed()) / 1e6);

    timer.start();
    pTable->selectionModel()->select(
        QItemSelection(reader.model()->index(0, 0), reader.model()->index(nRows - 1, 2)),
        QItemSelectionModel::ClearAndSelect);
    app.processEvents();
    std::printf("select all as range: %.2f s\n", double(timer.nsecsElapsed()) / 1e9);
    pTable->clearSelection();

    timer.start();
    pTable->selectAll();
    app.processEvents();
    std::printf("select all (Ctrl+A): %.2f s\n", double(timer.nsecsElapsed()) / 1e9);

    // The hex view on its own with a block of 16 MB: only the visible rows are painted (grab() paints
    // whether or not the window is exposed).
    hexView_c hexView;
    hexView.resize(800, 600);
    hexView.show();
    QByteArray baBlock(16 << 20, '\0');
    for (int i = 0; i < baBlock.size(); ++i)
        baBlock[i] = char(random.bounded(256));
    timer.start();
    hexView.setData(baBlock);
    hexView.viewport()->grab();
    std::printf("hex view, 16 MB:    %.2f ms to show\n", double(timer.nsecsElapsed()) / 1e6);
    timer.start();
    for (int i = 0; i < nPages; ++i)
    {
        hexView.verticalScrollBar()->setValue(
            int(random.bounded(hexView.verticalScrollBar()->maximum() + 1)));
        hexView.viewport()->grab();
    }
    std::printf("hex view scrolling: %.2f ms per page\n", double(timer.nsecsElapsed()) / 1e6 / nPages);
    std::printf("VmHWM at the end:   %s\n", statusValue("VmHWM:").constData());
    return 0;
}
