// One human hand as five stylised fingers: the technician picks a finger by clicking it, operations colour
// them.
#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <QWidget>

#include <array>

class humanHandWidget_c : public QWidget
{
    Q_OBJECT

public:
    // Fixed underlying type: callers pass -1 as "no finger" (setHilight) and arbitrary numbers to the name
    // functions, which must stay valid values of the enumeration.
    enum hand_t : int
    {
        handLeft = 0,
        handRight = 1
    };
    Q_ENUM(hand_t)

    enum finger_t : int
    {
        fingerThumb = 0,
        fingerIndex = 1,
        fingerMiddle = 2,
        fingerRing = 3,
        fingerLittle = 4
    };
    Q_ENUM(finger_t)

    static constexpr int fingerCount = 5;

    // Where one finger lies for a given widget size; both rectangles are inclusive of their corners.
    struct fingerShape_t
    {
        finger_t nFinger = fingerThumb;
        QRect rectBody; // from the fingertip's centre line down to the bottom edge
        QRect rectTip;  // the square in which the fingertip circle is inscribed
    };
    using fingerLayout_t = std::array<fingerShape_t, fingerCount>;

    humanHandWidget_c(hand_t p_nHand, QWidget* parent);

    // The fingers of a hand in drawing order, left to right, for a widget of the given size.
    static fingerLayout_t fingerLayout(hand_t p_nHand, const QSize& p_size);
    // The finger under a point of a widget of the given size; false in gaps, beside and above the fingers.
    static bool fingerAt(hand_t p_nHand, const QSize& p_size, const QPoint& p_pt, finger_t* p_pnFinger);

    // The module's finger ID (0 to 9) of a finger, and back.
    static int fingerId(hand_t p_nHand, finger_t p_nFinger);
    static hand_t handOfFingerId(int p_nFingerId);
    static finger_t fingerOfFingerId(int p_nFingerId);
    // True for the IDs 0 to 9; any other ID names no finger on either hand.
    static bool isFingerId(int p_nFingerId) { return p_nFingerId >= 0 && p_nFingerId < 2 * fingerCount; }
    // "left little finger (0)" for an ID, or the unknown-finger text for an ID outside 0 to 9.
    static QString fingerIdText(int p_nFingerId);

    static QString fingerName(finger_t p_nFinger);
    static QString handName(hand_t p_nHand);

    hand_t hand() const { return m_nHand; }
    // The highlighted finger, or -1 when none is.
    int hilight() const;
    QColor hilightColor() const { return m_colHilight; }
    QColor fingerColor(finger_t p_nFinger) const;

    void setHilight(finger_t p_nFinger, const QColor& p_col);
    void setFingerColor(finger_t p_nFinger, const QColor& p_col);

    // In lines of the widget's text, so that the hand grows with the font and the screen's scale.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void fingerClicked(humanHandWidget_c::hand_t p_nHand, humanHandWidget_c::finger_t p_nFinger);

public slots:
    void slotClearHilight();

protected:
    void mousePressEvent(QMouseEvent* p_pEvent) override;
    void paintEvent(QPaintEvent* p_pEvent) override;

private:
    static bool isFinger(int p_nFinger) { return p_nFinger >= 0 && p_nFinger < fingerCount; }

    const hand_t m_nHand;
    int m_nHilight = -1;
    QColor m_colHilight;
    std::array<QColor, fingerCount> m_acolFinger;
};
