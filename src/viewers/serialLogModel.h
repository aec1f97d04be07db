// The records of a serial log file as a flat table: time stamp, direction, byte count; bytes under
// Qt::UserRole.
#pragma once

#include <QAbstractTableModel>
#include <QStringList>

#include <vector>

class QIODevice;

class serialLogModel_c : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum column_t
    {
        columnTime = 0,
        columnDirection = 1,
        columnBytes = 2,
        columnCount_ = 3
    };

    explicit serialLogModel_c(QObject* parent = nullptr);

    void setHeaderLabels(const QStringList& p_lstLabels);

    // Replaces the rows by the records read from the device up to its end. Lines that are not
    // three blank-separated fields are skipped. False when reading failed; the rows read until
    // then stay.
    bool load(QIODevice& p_device);
    // Appends the records of the lines that follow the last line read with its line feed; a last line
    // read without one is read again, it may have grown. For a device that holds what was read before
    // and more: the result is what load would give.
    bool appendNew(QIODevice& p_device);
    // Where the lines read so far with their line feed end in the device.
    qint64 completeEnd() const { return m_complete.nOffset; }
    void clear();

    QString timeText(int p_nRow) const;
    QString directionText(int p_nRow) const;
    qint64 byteCount(int p_nRow) const;
    QByteArray bytes(int p_nRow) const;
    // The bytes of the rows first..last (inclusive) joined in file order.
    QByteArray bytesOfRows(int p_nFirst, int p_nLast) const;

    int rowCount(const QModelIndex& p_parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& p_parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& p_index, int p_nRole = Qt::DisplayRole) const override;
    QVariant headerData(int p_nSection, Qt::Orientation p_orientation,
                        int p_nRole = Qt::DisplayRole) const override;

private:
    // A record points into two pools: the text pool holds "<time> <direction>" of every record,
    // the data pool the decoded bytes, both in file order. Each record ends where the next begins,
    // so a run of rows is one contiguous piece of the data pool.
    struct record_t
    {
        qint64 nText;
        qint64 nData;
    };

    // The store as it was after the last line read with its line feed.
    struct mark_t
    {
        qint64 nOffset = 0;
        size_t nRecords = 0;
        size_t nText = 0;
        size_t nData = 0;
    };

    // Reads the lines from the device's position to its end.
    bool readLines(QIODevice& p_device);
    void parseLine(const char* p_pLine, qint64 p_nSize);
    qint64 textEnd(int p_nRow) const;
    qint64 dataEnd(int p_nRow) const;
    QByteArray recordText(int p_nRow) const;

    std::vector<record_t> m_vecRecords;
    std::vector<char> m_vecText;
    std::vector<char> m_vecData;
    QStringList m_lstHeaders;
    mark_t m_complete;
    // The rows the views know of; records are parsed before the views are told of them.
    int m_nRows = 0;
};
