#include "viewers/hexView.h"

#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

namespace
{
constexpr int marginChars = 1;
constexpr int gapChars = 2;

char hexDigit(int p_nValue)
{
    return "0123456789abcdef"[p_nValue & 0xf];
}
} // namespace

hexView_c::hexView_c(QWidget* parent) : QAbstractScrollArea(parent)
{
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::IBeamCursor);
    updateScrollBars();
}

void hexView_c::setData(const QByteArray& p_baData)
{
    m_baData = p_baData;
    m_nCursor = m_nAnchor = 0;
    m_nPressByte = -1;
    verticalScrollBar()->setValue(0);
    updateScrollBars();
    viewport()->update();
}

QByteArray hexView_c::selectedData() const
{
    return m_baData.mid(int(selectionStart()), int(selectionEnd() - selectionStart()));
}

void hexView_c::setSelection(qint64 p_nStart, qint64 p_nEnd)
{
    const qint64 nSize = m_baData.size();
    m_nAnchor = qBound<qint64>(0, p_nStart, nSize);
    m_nCursor = qBound<qint64>(0, p_nEnd, nSize);
    ensureCursorVisible();
    viewport()->update();
}

void hexView_c::copy() const
{
    if (selectionEnd() > selectionStart())
        QGuiApplication::clipboard()->setText(QString::fromLatin1(selectedData().toHex(' ')));
}

int hexView_c::rowHeight() const
{
    return fontMetrics().height();
}

int hexView_c::charWidth() const
{
    return fontMetrics().horizontalAdvance(QLatin1Char('0'));
}

int hexView_c::addressDigits() const
{
    return 8;
}

int hexView_c::hexColumnX(int p_nColumn) const
{
    // Three characters per byte, one extra blank between the two halves of a row.
    const int nChars =
        marginChars + addressDigits() + gapChars + 3 * p_nColumn + (p_nColumn >= bytesPerRow / 2);
    return nChars * charWidth();
}

int hexView_c::textColumnX(int p_nColumn) const
{
    return hexColumnX(bytesPerRow) + (gapChars - 1 + p_nColumn) * charWidth();
}

int hexView_c::contentWidth() const
{
    return textColumnX(bytesPerRow) + marginChars * charWidth();
}

qint64 hexView_c::rowCount() const
{
    return (qint64(m_baData.size()) + bytesPerRow - 1) / bytesPerRow;
}

int hexView_c::firstVisibleRow() const
{
    return verticalScrollBar()->value();
}

int hexView_c::visibleRows() const
{
    return qMax(1, viewport()->height() / qMax(1, rowHeight()));
}

qint64 hexView_c::byteAt(const QPoint& p_pos) const
{
    const int nX = p_pos.x() + horizontalScrollBar()->value();
    if (p_pos.y() < 0)
        return -1;
    const qint64 nRow = firstVisibleRow() + p_pos.y() / qMax(1, rowHeight());
    int nColumn = -1;
    const int nCw = charWidth();
    if (nX >= hexColumnX(0) && nX < hexColumnX(bytesPerRow - 1) + 3 * nCw)
    {
        for (int i = bytesPerRow - 1; i >= 0; --i)
        {
            if (nX >= hexColumnX(i))
            {
                nColumn = i;
                break;
            }
        }
    }
    else if (nX >= textColumnX(0) && nX < textColumnX(bytesPerRow))
    {
        nColumn = (nX - textColumnX(0)) / nCw;
    }
    if (nColumn < 0)
        return -1;
    const qint64 nByte = nRow * bytesPerRow + nColumn;
    return nByte < m_baData.size() ? nByte : -1;
}

void hexView_c::updateScrollBars()
{
    const qint64 nRows = rowCount();
    verticalScrollBar()->setRange(0, int(qMax<qint64>(0, nRows - visibleRows())));
    verticalScrollBar()->setPageStep(visibleRows());
    verticalScrollBar()->setSingleStep(1);
    horizontalScrollBar()->setRange(0, qMax(0, contentWidth() - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    horizontalScrollBar()->setSingleStep(charWidth());
}

void hexView_c::resizeEvent(QResizeEvent* p_pEvent)
{
    QAbstractScrollArea::resizeEvent(p_pEvent);
    updateScrollBars();
}

void hexView_c::changeEvent(QEvent* p_pEvent)
{
    QAbstractScrollArea::changeEvent(p_pEvent);
    if (p_pEvent->type() == QEvent::FontChange)
        updateScrollBars();
}

void hexView_c::paintEvent(QPaintEvent* p_pEvent)
{
    Q_UNUSED(p_pEvent)
    QPainter painter(viewport());
    const QPalette& pal = palette();
    painter.fillRect(viewport()->rect(), pal.base());
    painter.translate(-horizontalScrollBar()->value(), 0);

    const int nRh = rowHeight();
    const int nCw = charWidth();
    const int nAscent = fontMetrics().ascent();
    const qint64 nSize = m_baData.size();
    const qint64 nSelStart = selectionStart();
    const qint64 nSelEnd = selectionEnd();
    const bool bFocus = hasFocus();
    const char* pData = m_baData.constData();

    const qint64 nFirst = firstVisibleRow();
    const qint64 nLast = qMin(rowCount(), nFirst + visibleRows() + 1);
    for (qint64 nRow = nFirst; nRow < nLast; ++nRow)
    {
        const int nY = int(nRow - nFirst) * nRh;
        const qint64 nOffset = nRow * bytesPerRow;

        char szAddress[17];
        for (int i = 0; i < addressDigits(); ++i)
            szAddress[i] = hexDigit(int(nOffset >> (4 * (addressDigits() - 1 - i))));
        painter.setPen(pal.color(QPalette::Disabled, QPalette::Text));
        painter.drawText(marginChars * nCw, nY + nAscent, QString::fromLatin1(szAddress, addressDigits()));

        const int nColumns = int(qMin<qint64>(bytesPerRow, nSize - nOffset));
        for (int nCol = 0; nCol < nColumns; ++nCol)
        {
            const qint64 nByte = nOffset + nCol;
            const uchar uch = uchar(pData[nByte]);
            const bool bSelected = nByte >= nSelStart && nByte < nSelEnd;
            const QChar aHex[2] = {QLatin1Char(hexDigit(uch >> 4)), QLatin1Char(hexDigit(uch))};
            const QChar chText = (uch >= 0x20 && uch < 0x7f) ? QLatin1Char(char(uch)) : QLatin1Char('.');
            if (bSelected)
            {
                // The gap after a selected byte is highlighted too, unless the selection ends there.
                const int nHexWidth = (nByte + 1 < nSelEnd && nCol + 1 < bytesPerRow)
                                          ? hexColumnX(nCol + 1) - hexColumnX(nCol)
                                          : 2 * nCw;
                painter.fillRect(hexColumnX(nCol), nY, nHexWidth, nRh, pal.highlight());
                painter.fillRect(textColumnX(nCol), nY, nCw, nRh, pal.highlight());
                painter.setPen(pal.color(QPalette::HighlightedText));
            }
            else
            {
                painter.setPen(pal.color(QPalette::Text));
            }
            painter.drawText(hexColumnX(nCol), nY + nAscent, QString(aHex, 2));
            painter.drawText(textColumnX(nCol), nY + nAscent, QString(chText));
        }

        // The cursor: a thin bar before the byte it stands on (or after the last byte).
        if (bFocus && m_nCursor >= nOffset && m_nCursor < nOffset + bytesPerRow && m_nCursor <= nSize)
        {
            const int nCol = int(m_nCursor - nOffset);
            painter.fillRect(hexColumnX(nCol) - 1, nY, 2, nRh, pal.text());
        }
    }
    if (bFocus && nSize > 0 && m_nCursor == nSize && nSize % bytesPerRow == 0 && nLast == rowCount())
        painter.fillRect(hexColumnX(0) - 1, int(nLast - nFirst) * nRh, 2, nRh, pal.text());
}

void hexView_c::ensureCursorVisible()
{
    const qint64 nRow = qMin(m_nCursor, qint64(qMax(0, m_baData.size() - 1))) / bytesPerRow;
    const int nFirst = firstVisibleRow();
    if (nRow < nFirst)
        verticalScrollBar()->setValue(int(nRow));
    else if (nRow >= nFirst + visibleRows())
        verticalScrollBar()->setValue(int(nRow - visibleRows() + 1));
}

void hexView_c::moveCursorTo(qint64 p_nPos, bool p_bExtend)
{
    m_nCursor = qBound<qint64>(0, p_nPos, m_baData.size());
    if (!p_bExtend)
        m_nAnchor = m_nCursor;
    ensureCursorVisible();
    viewport()->update();
}

void hexView_c::keyPressEvent(QKeyEvent* p_pEvent)
{
    if (p_pEvent == QKeySequence::Copy)
    {
        copy();
        return;
    }
    if (p_pEvent == QKeySequence::SelectAll)
    {
        setSelection(0, m_baData.size());
        return;
    }

    const bool bExtend = p_pEvent->modifiers() & Qt::ShiftModifier;
    const bool bCtrl = p_pEvent->modifiers() & Qt::ControlModifier;
    const qint64 nPage = qint64(visibleRows()) * bytesPerRow;
    const qint64 nRowStart = m_nCursor - m_nCursor % bytesPerRow;
    switch (p_pEvent->key())
    {
    case Qt::Key_Left:
        moveCursorTo(m_nCursor - 1, bExtend);
        break;
    case Qt::Key_Right:
        moveCursorTo(m_nCursor + 1, bExtend);
        break;
    case Qt::Key_Up:
        moveCursorTo(m_nCursor - bytesPerRow, bExtend);
        break;
    case Qt::Key_Down:
        moveCursorTo(m_nCursor + bytesPerRow, bExtend);
        break;
    case Qt::Key_PageUp:
        moveCursorTo(m_nCursor - nPage, bExtend);
        break;
    case Qt::Key_PageDown:
        moveCursorTo(m_nCursor + nPage, bExtend);
        break;
    case Qt::Key_Home:
        moveCursorTo(bCtrl ? 0 : nRowStart, bExtend);
        break;
    case Qt::Key_End:
        moveCursorTo(bCtrl ? m_baData.size() : nRowStart + bytesPerRow, bExtend);
        break;
    default:
        QAbstractScrollArea::keyPressEvent(p_pEvent);
        break;
    }
}

void hexView_c::mousePressEvent(QMouseEvent* p_pEvent)
{
    if (p_pEvent->button() != Qt::LeftButton)
    {
        QAbstractScrollArea::mousePressEvent(p_pEvent);
        return;
    }
    const qint64 nByte = byteAt(p_pEvent->pos());
    m_nPressByte = nByte;
    if (nByte < 0)
        return;
    if (p_pEvent->modifiers() & Qt::ShiftModifier)
        moveCursorTo(nByte >= m_nAnchor ? nByte + 1 : nByte, true);
    else
        setSelection(nByte, nByte + 1);
}

void hexView_c::mouseMoveEvent(QMouseEvent* p_pEvent)
{
    if (!(p_pEvent->buttons() & Qt::LeftButton) || m_nPressByte < 0)
        return;
    const qint64 nByte = byteAt(p_pEvent->pos());
    if (nByte < 0)
        return;
    if (nByte >= m_nPressByte)
        setSelection(m_nPressByte, nByte + 1);
    else
        setSelection(m_nPressByte + 1, nByte);
}
