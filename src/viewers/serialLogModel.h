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

    void parseLine(const char* p_pLine, qint64 p_nSize);
    qint64 textEnd(int p_nRow) const;
    qint64 dataEnd(int p_nRow) const;
    QByteArray recordText(int p_nRow) const;

    std::vector<record_t> m_vecRecords;
    std::vector<char> m_vecText;
    std::vector<char> m_vecData;
    QStringList m_lstHeaders;
};
