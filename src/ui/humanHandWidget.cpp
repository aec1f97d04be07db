#include "ui/humanHandWidget.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace
{
// Per finger (thumb to little finger): top of the fingertip in thousandths of the widget height and the
// finger's width in five-hundredths of the widget width. With a gap of 9/500 after each finger the hand
// spans 499/500 of the width.
constexpr int aFingerTopPerMille[humanHandWidget_c::fingerCount] = {600, 146, 0, 125, 373};
constexpr int aFingerWidth500[humanHandWidget_c::fingerCount] = {113, 96, 96, 86, 72};
constexpr int nGap500 = 9;

// Inclusive on all four edges; an inverted rectangle (a fingertip centre below the bottom edge) holds
// nothing.
bool containsInclusive(const QRect& p_rect, const QPoint& p_pt)
{
    return p_pt.x() >= p_rect.left() && p_pt.x() <= p_rect.right() && p_pt.y() >= p_rect.top() &&
           p_pt.y() <= p_rect.bottom();
}
} // namespace

humanHandWidget_c::humanHandWidget_c(hand_t p_nHand, QWidget* parent) : QWidget(parent), m_nHand(p_nHand)
{
    // Registered by name, so that queued connections and signal spies can carry the signal's arguments.
    qRegisterMetaType<humanHandWidget_c::hand_t>();
    qRegisterMetaType<humanHandWidget_c::finger_t>();
    m_acolFinger.fill(QColor(Qt::gray));
}

humanHandWidget_c::fingerLayout_t humanHandWidget_c::fingerLayout(hand_t p_nHand, const QSize& p_size)
{
    // 64-bit products: a tall widget times a per-mille figure would overflow an int.
    const qint64 nW = p_size.width();
    const qint64 nH = p_size.height();
    const int nGap = int(nW * nGap500 / 500);

    fingerLayout_t layout;
    int nX = 0;
    for (int nPos = 0; nPos < fingerCount; ++nPos)
    {
        // Both hands are seen from above, palms down: the left hand starts with its little finger.
        const finger_t nFinger = p_nHand == handLeft ? finger_t(fingerLittle - nPos) : finger_t(nPos);
        const int nD = int(nW * aFingerWidth500[nFinger] / 500);
        const int nTop = int(nH * aFingerTopPerMille[nFinger] / 1000);
        // The body starts at the fingertip's centre line, by its own division rather than half of nD.
        const int nBodyTop = nTop + int(nW * aFingerWidth500[nFinger] / 1000);

        fingerShape_t& shape = layout[nPos];
        shape.nFinger = nFinger;
        shape.rectTip = QRect(QPoint(nX, nTop), QPoint(nX + nD - 1, nTop + nD - 1));
        shape.rectBody = QRect(QPoint(nX, nBodyTop), QPoint(nX + nD - 1, p_size.height() - 1));
        nX += nD + nGap;
    }
    return layout;
}

bool humanHandWidget_c::fingerAt(hand_t p_nHand, const QSize& p_size, const QPoint& p_pt,
                                 finger_t* p_pnFinger)
{
    for (const fingerShape_t& shape : fingerLayout(p_nHand, p_size))
    {
        // The whole square counts as the fingertip, including its corners beside the circle.
        if (containsInclusive(shape.rectBody, p_pt) || containsInclusive(shape.rectTip, p_pt))
        {
            if (p_pnFinger)
                *p_pnFinger = shape.nFinger;
            return true;
        }
    }
    return false;
}

int humanHandWidget_c::fingerId(hand_t p_nHand, finger_t p_nFinger)
{
    return p_nHand == handLeft ? 4 - p_nFinger : 5 + p_nFinger;
}

humanHandWidget_c::hand_t humanHandWidget_c::handOfFingerId(int p_nFingerId)
{
    return p_nFingerId < 5 ? handLeft : handRight;
}

humanHandWidget_c::finger_t humanHandWidget_c::fingerOfFingerId(int p_nFingerId)
{
    // Floored modulo, so that a stray negative ID still names a finger of the hand.
    const int nFinger = ((p_nFingerId % 5) + 5) % 5;
    return handOfFingerId(p_nFingerId) == handLeft ? finger_t(4 - nFinger) : finger_t(nFinger);
}

QString humanHandWidget_c::fingerIdText(int p_nFingerId)
{
    if (!isFingerId(p_nFingerId))
    {
        return tr("Unknown Finger ID %1").arg(p_nFingerId);
    }
    return QStringLiteral("%1 %2 (%3)")
        .arg(handName(handOfFingerId(p_nFingerId)), fingerName(fingerOfFingerId(p_nFingerId)))
        .arg(p_nFingerId);
}

QString humanHandWidget_c::fingerName(finger_t p_nFinger)
{
    switch (p_nFinger)
    {
    case fingerThumb:
        return tr("thumb");
    case fingerIndex:
        return tr("index finger");
    case fingerMiddle:
        return tr("middle finger");
    case fingerRing:
        return tr("ring finger");
    case fingerLittle:
        return tr("little finger");
    }
    return tr("Unknown Finger ID %1").arg(int(p_nFinger));
}

QString humanHandWidget_c::handName(hand_t p_nHand)
{
    switch (p_nHand)
    {
    case handLeft:
        return tr("left");
    case handRight:
        return tr("right");
    }
    return tr("Unknown Location %1").arg(int(p_nHand));
}

int humanHandWidget_c::hilight() const
{
    return isFinger(m_nHilight) ? m_nHilight : -1;
}

QColor humanHandWidget_c::fingerColor(finger_t p_nFinger) const
{
    return isFinger(p_nFinger) ? m_acolFinger[p_nFinger] : QColor();
}

void humanHandWidget_c::setHilight(finger_t p_nFinger, const QColor& p_col)
{
    m_nHilight = p_nFinger;
    m_colHilight = p_col;
    update();
}

void humanHandWidget_c::setFingerColor(finger_t p_nFinger, const QColor& p_col)
{
    // A finger number from outside the hand must not write beside the colour table.
    if (!isFinger(p_nFinger))
        return;
    m_acolFinger[p_nFinger] = p_col;
    update();
}

QSize humanHandWidget_c::sizeHint() const
{
    const int nLine = fontMetrics().height();
    return QSize(16 * nLine, 14 * nLine);
}

QSize humanHandWidget_c::minimumSizeHint() const
{
    // The narrowest finger is then about as wide as a line of text: still easy to hit.
    const int nLine = fontMetrics().height();
    return QSize(7 * nLine, 7 * nLine);
}

void humanHandWidget_c::slotClearHilight()
{
    m_nHilight = -1;
    update();
}

void humanHandWidget_c::mousePressEvent(QMouseEvent* p_pEvent)
{
    // Any button picks a finger; the press is consumed either way.
    finger_t nFinger = fingerThumb;
    if (fingerAt(m_nHand, size(), p_pEvent->localPos().toPoint(), &nFinger))
        emit fingerClicked(m_nHand, nFinger);
    p_pEvent->accept();
}

void humanHandWidget_c::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.eraseRect(rect());
    painter.setPen(QPen(Qt::black, 1));
    for (const fingerShape_t& shape : fingerLayout(m_nHand, size()))
    {
        if (shape.rectTip.width() <= 0)
            continue;
        painter.setBrush(shape.nFinger == m_nHilight ? m_colHilight : m_acolFinger[shape.nFinger]);
        // An aliased one-pixel outline covers width + 1 columns: shrink by one so that the drawing
        // ends on the same last pixel column and row as the hit test.
        if (shape.rectBody.height() > 0)
            painter.drawRect(shape.rectBody.adjusted(0, 0, -1, -1));
        painter.drawEllipse(shape.rectTip.adjusted(0, 0, -1, -1));
    }
}
