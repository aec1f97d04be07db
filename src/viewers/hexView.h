// A read-only hex dump of a block of bytes: address, hex and character columns; paints only the visible rows.
#pragma once

#include <QAbstractScrollArea>
#include <QByteArray>

class hexView_c : public QAbstractScrollArea
{
    Q_OBJECT

public:
    static constexpr int bytesPerRow = 16;

    explicit hexView_c(QWidget* parent = nullptr);

    void setData(const QByteArray& p_baData);
    QByteArray data() const { return m_baData; }
    // The view never edits; the flag is kept for callers that set it.
    void setReadOnly(bool p_bReadOnly) { m_bReadOnly = p_bReadOnly; }
    bool isReadOnly() const { return m_bReadOnly; }

    // Selection as a half-open range of byte indices [start, end).
    qint64 selectionStart() const { return qMin(m_nAnchor, m_nCursor); }
    qint64 selectionEnd() const { return qMax(m_nAnchor, m_nCursor); }
    QByteArray selectedData() const;
    void setSelection(qint64 p_nStart, qint64 p_nEnd);
    // Puts the selected bytes on the clipboard as hex pairs separated by blanks.
    void copy() const;

    // Layout in viewport coordinates (without scrolling); used for painting and mouse hits.
    int rowHeight() const;
    int charWidth() const;
    int hexColumnX(int p_nColumn) const;
    int textColumnX(int p_nColumn) const;
    int contentWidth() const;
    qint64 rowCount() const;
    int firstVisibleRow() const;
    // The byte under a viewport point, or -1 when the point is on no byte.
    qint64 byteAt(const QPoint& p_pos) const;

protected:
    void paintEvent(QPaintEvent* p_pEvent) override;
    void resizeEvent(QResizeEvent* p_pEvent) override;
    void keyPressEvent(QKeyEvent* p_pEvent) override;
    void mousePressEvent(QMouseEvent* p_pEvent) override;
    void mouseMoveEvent(QMouseEvent* p_pEvent) override;
    void changeEvent(QEvent* p_pEvent) override;

private:
    void updateScrollBars();
    void moveCursorTo(qint64 p_nPos, bool p_bExtend);
    void ensureCursorVisible();
    int visibleRows() const;
    int addressDigits() const;

    QByteArray m_baData;
    bool m_bReadOnly = true;
    qint64 m_nCursor = 0; // a position between bytes, 0 .. size
    qint64 m_nAnchor = 0;
    qint64 m_nPressByte = -1;
};
