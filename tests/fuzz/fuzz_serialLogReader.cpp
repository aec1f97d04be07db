// Fuzz target: the serial log reader's parsing of a log file, and the rows it lists afterwards.
#include "fuzzSupport.h"
#include "viewers/serialLogModel.h"

#include <QBuffer>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* p_pData, size_t p_nSize)
{
    fuzz_n::quietDebugChannel();
    QByteArray baFile = fuzz_n::bytes(p_pData, p_nSize);
    QBuffer buffer(&baFile);
    buffer.open(QIODevice::ReadOnly);
    serialLogModel_c model;
    model.setHeaderLabels(
        {QStringLiteral("Date/Time"), QStringLiteral("Direction"), QStringLiteral("Number of Bytes")});
    if (!model.load(buffer)) // a buffer never fails to read
        std::abort();

    // Every row is reachable and its parts add up to the whole.
    qint64 nTotal = 0;
    for (int nRow = 0; nRow < model.rowCount(); ++nRow)
    {
        if (model.bytes(nRow).size() != model.byteCount(nRow) ||
            model.data(model.index(nRow, serialLogModel_c::columnBytes)).toString() !=
                QString::number(model.byteCount(nRow)) ||
            model.timeText(nRow).contains(QLatin1Char(' ')) ||
            model.directionText(nRow).contains(QLatin1Char(' ')))
        {
            std::abort();
        }
        model.data(model.index(nRow, serialLogModel_c::columnTime));
        model.data(model.index(nRow, serialLogModel_c::columnTime), Qt::UserRole);
        nTotal += model.byteCount(nRow);
    }
    if (model.rowCount() > 0 && model.bytesOfRows(0, model.rowCount() - 1).size() != nTotal)
        std::abort();
    model.data(model.index(model.rowCount(), 0));
    model.headerData(0, Qt::Horizontal);
    return 0;
}
