#include "viewers/serialLogModel.h"

#include <QDebug>
#include <QIODevice>

#include <cstring>
#include <limits>

namespace
{
constexpr qint64 readChunk = 1 << 20;

int hexValue(char p_ch)
{
    if (p_ch >= '0' && p_ch <= '9')
        return p_ch - '0';
    if (p_ch >= 'a' && p_ch <= 'f')
        return p_ch - 'a' + 10;
    if (p_ch >= 'A' && p_ch <= 'F')
        return p_ch - 'A' + 10;
    return -1;
}
} // namespace

serialLogModel_c::serialLogModel_c(QObject* parent) : QAbstractTableModel(parent) {}

void serialLogModel_c::setHeaderLabels(const QStringList& p_lstLabels)
{
    m_lstHeaders = p_lstLabels;
    emit headerDataChanged(Qt::Horizontal, 0, columnCount_ - 1);
}

void serialLogModel_c::clear()
{
    beginResetModel();
    m_vecRecords.clear();
    m_vecText.clear();
    m_vecData.clear();
    m_complete = mark_t();
    m_nRows = 0;
    endResetModel();
}

bool serialLogModel_c::load(QIODevice& p_device)
{
    beginResetModel();
    std::vector<record_t>().swap(m_vecRecords);
    std::vector<char>().swap(m_vecText);
    std::vector<char>().swap(m_vecData);
    m_complete = mark_t();
    m_complete.nOffset = p_device.pos();
    const bool bOk = readLines(p_device);
    m_nRows = int(m_vecRecords.size());
    endResetModel();
    return bOk;
}

bool serialLogModel_c::appendNew(QIODevice& p_device)
{
    if (m_vecRecords.size() > m_complete.nRecords)
    {
        beginRemoveRows(QModelIndex(), int(m_complete.nRecords), m_nRows - 1);
        m_vecRecords.resize(m_complete.nRecords);
        m_nRows = int(m_vecRecords.size());
        endRemoveRows();
    }
    m_vecText.resize(m_complete.nText);
    m_vecData.resize(m_complete.nData);
    if (!p_device.seek(m_complete.nOffset))
        return false;
    const bool bOk = readLines(p_device);
    if (int(m_vecRecords.size()) > m_nRows)
    {
        beginInsertRows(QModelIndex(), m_nRows, int(m_vecRecords.size()) - 1);
        m_nRows = int(m_vecRecords.size());
        endInsertRows();
    }
    return bOk;
}

bool serialLogModel_c::readLines(QIODevice& p_device)
{
    // Lines are cut from a buffer that holds an unfinished line followed by the next chunk;
    // the unfinished part is known to hold no line feed and is not searched again. The pools are not
    // shrunk afterwards, so that appending to a big log does not copy it; pages never written take
    // no memory.
    const qint64 nChunk = qBound<qint64>(4096, p_device.bytesAvailable() + 1, readChunk);
    std::vector<char> vecBuffer;
    qint64 nBufferOffset = p_device.pos();
    qint64 nPending = 0;
    bool bOk = true;
    for (;;)
    {
        vecBuffer.resize(size_t(nPending + nChunk));
        qint64 nRead = p_device.read(vecBuffer.data() + nPending, nChunk);
        const bool bEnd = nRead <= 0;
        if (nRead < 0)
        {
            bOk = false;
            nRead = 0;
        }
        const char* pBuffer = vecBuffer.data();
        const qint64 nFilled = nPending + nRead;
        qint64 nLineStart = 0;
        qint64 nSearch = nPending;
        while (nSearch < nFilled)
        {
            const void* pLf = std::memchr(pBuffer + nSearch, '\n', size_t(nFilled - nSearch));
            if (!pLf)
                break;
            const qint64 nLineEnd = static_cast<const char*>(pLf) - pBuffer + 1;
            parseLine(pBuffer + nLineStart, nLineEnd - nLineStart);
            nLineStart = nSearch = nLineEnd;
        }
        if (nLineStart > 0)
            m_complete = {nBufferOffset + nLineStart, m_vecRecords.size(), m_vecText.size(),
                          m_vecData.size()};
        if (bEnd)
        {
            if (nLineStart < nFilled)
                parseLine(pBuffer + nLineStart, nFilled - nLineStart);
            break;
        }
        nPending = nFilled - nLineStart;
        nBufferOffset += nLineStart;
        std::memmove(vecBuffer.data(), pBuffer + nLineStart, size_t(nPending));
    }
    return bOk;
}

void serialLogModel_c::parseLine(const char* p_pLine, qint64 p_nSize)
{
    // The line counts up to a first zero byte; it must have exactly three blank-separated fields.
    if (const void* pZero = std::memchr(p_pLine, '\0', size_t(p_nSize)))
        p_nSize = static_cast<const char*>(pZero) - p_pLine;
    const char* pEnd = p_pLine + p_nSize;
    const char* pBlank1 = static_cast<const char*>(std::memchr(p_pLine, ' ', size_t(p_nSize)));
    const char* pBlank2 =
        pBlank1 ? static_cast<const char*>(std::memchr(pBlank1 + 1, ' ', size_t(pEnd - pBlank1 - 1)))
                : nullptr;
    if (!pBlank2 || std::memchr(pBlank2 + 1, ' ', size_t(pEnd - pBlank2 - 1)))
    {
        qDebug() << "Serial protocol line" << QString::fromUtf8(p_pLine, int(qMin<qint64>(p_nSize, INT_MAX)))
                 << "is invalid";
        return;
    }

    m_vecRecords.push_back({qint64(m_vecText.size()), qint64(m_vecData.size())});
    m_vecText.insert(m_vecText.end(), p_pLine, pBlank2);

    // Hex decoding as QByteArray::fromHex does it: characters that are not hex digits (the line end
    // among them) are skipped, digits pair from the end, so an odd first digit stands alone.
    qint64 nDigits = 0;
    for (const char* p = pBlank2 + 1; p < pEnd; ++p)
        nDigits += hexValue(*p) >= 0;
    size_t nOut = m_vecData.size();
    m_vecData.resize(nOut + size_t((nDigits + 1) / 2));
    bool bSingle = nDigits % 2 == 1;
    int nHigh = -1;
    for (const char* p = pBlank2 + 1; p < pEnd; ++p)
    {
        const int nValue = hexValue(*p);
        if (nValue < 0)
            continue;
        if (bSingle)
        {
            m_vecData[nOut++] = char(nValue);
            bSingle = false;
        }
        else if (nHigh < 0)
        {
            nHigh = nValue;
        }
        else
        {
            m_vecData[nOut++] = char(nHigh << 4 | nValue);
            nHigh = -1;
        }
    }
}

qint64 serialLogModel_c::textEnd(int p_nRow) const
{
    return size_t(p_nRow) + 1 < m_vecRecords.size() ? m_vecRecords[size_t(p_nRow) + 1].nText
                                                    : qint64(m_vecText.size());
}

qint64 serialLogModel_c::dataEnd(int p_nRow) const
{
    return size_t(p_nRow) + 1 < m_vecRecords.size() ? m_vecRecords[size_t(p_nRow) + 1].nData
                                                    : qint64(m_vecData.size());
}

QByteArray serialLogModel_c::recordText(int p_nRow) const
{
    const qint64 nStart = m_vecRecords[size_t(p_nRow)].nText;
    return QByteArray::fromRawData(m_vecText.data() + nStart, int(textEnd(p_nRow) - nStart));
}

QString serialLogModel_c::timeText(int p_nRow) const
{
    const QByteArray baText = recordText(p_nRow);
    return QString::fromUtf8(baText.constData(), baText.indexOf(' '));
}

QString serialLogModel_c::directionText(int p_nRow) const
{
    const QByteArray baText = recordText(p_nRow);
    const int nBlank = baText.indexOf(' ');
    return QString::fromUtf8(baText.constData() + nBlank + 1, baText.size() - nBlank - 1);
}

qint64 serialLogModel_c::byteCount(int p_nRow) const
{
    return dataEnd(p_nRow) - m_vecRecords[size_t(p_nRow)].nData;
}

QByteArray serialLogModel_c::bytes(int p_nRow) const
{
    return bytesOfRows(p_nRow, p_nRow);
}

QByteArray serialLogModel_c::bytesOfRows(int p_nFirst, int p_nLast) const
{
    if (p_nFirst < 0 || p_nLast < p_nFirst || p_nLast >= rowCount())
        return QByteArray();
    const qint64 nStart = m_vecRecords[size_t(p_nFirst)].nData;
    qint64 nSize = dataEnd(p_nLast) - nStart;
    // A byte array holds at most about 2 GiB; a bigger selection is cut rather than crash.
    const qint64 nMax = std::numeric_limits<int>::max() - 64;
    if (nSize > nMax)
    {
        qWarning() << "Selection of" << nSize << "bytes cut to" << nMax;
        nSize = nMax;
    }
    return QByteArray(m_vecData.data() + nStart, int(nSize));
}

int serialLogModel_c::rowCount(const QModelIndex& p_parent) const
{
    return p_parent.isValid() ? 0 : m_nRows;
}

int serialLogModel_c::columnCount(const QModelIndex& p_parent) const
{
    return p_parent.isValid() ? 0 : columnCount_;
}

QVariant serialLogModel_c::data(const QModelIndex& p_index, int p_nRole) const
{
    if (!p_index.isValid() || p_index.row() >= rowCount())
        return QVariant();
    const int nRow = p_index.row();
    if (p_nRole == Qt::DisplayRole)
    {
        switch (p_index.column())
        {
        case columnTime:
            return timeText(nRow);
        case columnDirection:
            return directionText(nRow);
        case columnBytes:
            return QString::number(byteCount(nRow));
        default:
            return QVariant();
        }
    }
    if (p_nRole == Qt::UserRole && p_index.column() == columnTime)
        return bytes(nRow);
    return QVariant();
}

QVariant serialLogModel_c::headerData(int p_nSection, Qt::Orientation p_orientation, int p_nRole) const
{
    if (p_orientation == Qt::Horizontal && p_nRole == Qt::DisplayRole && p_nSection >= 0 &&
        p_nSection < m_lstHeaders.size())
        return m_lstHeaders.at(p_nSection);
    return QAbstractTableModel::headerData(p_nSection, p_orientation, p_nRole);
}
