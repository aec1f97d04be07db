// The hand picture: finger geometry, real clicks, the finger ID convention and what the widget paints.
#include "ui/humanHandWidget.h"

#include <QImage>
#include <QSignalSpy>
#include <QtTest>

using hand_t = humanHandWidget_c::hand_t;
using finger_t = humanHandWidget_c::finger_t;

namespace
{
const hand_t L = humanHandWidget_c::handLeft;
const hand_t R = humanHandWidget_c::handRight;

// One finger as the widget must lay it out: first and last pixel column, fingertip top, body top.
struct column_t
{
    finger_t nFinger;
    int nX0;
    int nX1;
    int nTop;
    int nBodyTop;
};
using columns_t = QVector<column_t>;

// Figures worked out by hand from the finger table (integer divisions), left to right.
columns_t expectedColumns(hand_t p_nHand, QSize p_size)
{
    const finger_t T = humanHandWidget_c::fingerThumb, I = humanHandWidget_c::fingerIndex,
                   M = humanHandWidget_c::fingerMiddle, N = humanHandWidget_c::fingerRing,
                   S = humanHandWidget_c::fingerLittle;
    if (p_size == QSize(500, 1000))
        return p_nHand == L ? columns_t{{S, 0, 71, 373, 409},
                                        {N, 81, 166, 125, 168},
                                        {M, 176, 271, 0, 48},
                                        {I, 281, 376, 146, 194},
                                        {T, 386, 498, 600, 656}}
                            : columns_t{{T, 0, 112, 600, 656},
                                        {I, 122, 217, 146, 194},
                                        {M, 227, 322, 0, 48},
                                        {N, 332, 417, 125, 168},
                                        {S, 427, 498, 373, 409}};
    if (p_size == QSize(250, 400))
        return p_nHand == L ? columns_t{{S, 0, 35, 149, 167},
                                        {N, 40, 82, 50, 71},
                                        {M, 87, 134, 0, 24},
                                        {I, 139, 186, 58, 82},
                                        {T, 191, 246, 240, 268}}
                            : columns_t{{T, 0, 55, 240, 268},
                                        {I, 60, 107, 58, 82},
                                        {M, 112, 159, 0, 24},
                                        {N, 164, 206, 50, 71},
                                        {S, 211, 246, 149, 167}};
    // 50 pixels wide: the gap is 0 and the fingers touch.
    if (p_size == QSize(50, 80))
        return p_nHand == L ? columns_t{{S, 0, 6, 29, 32},
                                        {N, 7, 14, 10, 14},
                                        {M, 15, 23, 0, 4},
                                        {I, 24, 32, 11, 15},
                                        {T, 33, 43, 48, 53}}
                            : columns_t{{T, 0, 10, 48, 53},
                                        {I, 11, 19, 11, 15},
                                        {M, 20, 28, 0, 4},
                                        {N, 29, 36, 10, 14},
                                        {S, 37, 43, 29, 32}};
    return {};
}

QColor pixel(const QImage& p_img, int p_nX, int p_nY)
{
    return p_img.pixelColor(p_nX, p_nY);
}
} // namespace

class tst_humanHandWidget : public QObject
{
    Q_OBJECT

private slots:
    void geometry_data();
    void geometry();
    void clicks_data();
    void clicks();
    void anyButtonPicksAFinger();
    void fingerIdConvention();
    void outermostFingersGiveOutermostIds();
    void names();
    void paintsFingersInTheirColours_data();
    void paintsFingersInTheirColours();
    void hilightIsPaintedAndCleared();
    void strayFingerNumbersAreHarmless();
    void signalAndSlotByName();
    void geometryOfTheLargestWidget();

private:
    static void addSizes();
};

void tst_humanHandWidget::addSizes()
{
    QTest::addColumn<int>("hand");
    QTest::addColumn<QSize>("size");
    for (const QSize& size : {QSize(500, 1000), QSize(250, 400), QSize(50, 80)})
        for (hand_t nHand : {L, R})
            QTest::addRow("%s %dx%d", nHand == L ? "left" : "right", size.width(), size.height())
                << int(nHand) << size;
}

void tst_humanHandWidget::geometry_data()
{
    addSizes();
}

void tst_humanHandWidget::geometry()
{
    QFETCH(int, hand);
    QFETCH(QSize, size);
    const columns_t expected = expectedColumns(hand_t(hand), size);
    const auto layout = humanHandWidget_c::fingerLayout(hand_t(hand), size);
    QCOMPARE(int(layout.size()), expected.size());
    for (int i = 0; i < expected.size(); ++i)
    {
        const column_t& c = expected[i];
        const int nD = c.nX1 - c.nX0 + 1;
        QCOMPARE(layout[i].nFinger, c.nFinger);
        QCOMPARE(layout[i].rectTip, QRect(c.nX0, c.nTop, nD, nD));
        QCOMPARE(layout[i].rectBody, QRect(QPoint(c.nX0, c.nBodyTop), QPoint(c.nX1, size.height() - 1)));
    }
}

void tst_humanHandWidget::clicks_data()
{
    addSizes();
}

// Real mouse clicks on the edges of every finger, into the gaps, beside the hand and above the fingertips.
void tst_humanHandWidget::clicks()
{
    QFETCH(int, hand);
    QFETCH(QSize, size);
    humanHandWidget_c widget(hand_t(hand), nullptr);
    widget.resize(size);
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));
    QCOMPARE(widget.size(), size);
    QSignalSpy spy(&widget, &humanHandWidget_c::fingerClicked);

    // Returns the finger the click picked, or -1 when it picked none. (QTest clicks the centre for the null
    // point, so no case clicks at (0, 0).)
    auto clickAt = [&](int p_nX, int p_nY) -> int
    {
        spy.clear();
        QTest::mouseClick(&widget, Qt::LeftButton, Qt::NoModifier, QPoint(p_nX, p_nY));
        if (spy.isEmpty())
            return -1;
        if (spy.size() != 1 || spy.at(0).at(0).value<hand_t>() != hand_t(hand))
            return -2;
        return spy.at(0).at(1).value<finger_t>();
    };

    const int nBottom = size.height() - 1;
    const columns_t columns = expectedColumns(hand_t(hand), size);
    for (int i = 0; i < columns.size(); ++i)
    {
        const column_t& c = columns[i];
        const int nD = c.nX1 - c.nX0 + 1;
        const int nF = c.nFinger;
        const QByteArray where = QByteArray("finger ") + QByteArray::number(nF);
        QVERIFY2(clickAt(c.nX0, nBottom) == nF, where + " left edge, bottom row");
        QVERIFY2(clickAt(c.nX1, nBottom) == nF, where + " last column, bottom row");
        QVERIFY2(clickAt(c.nX1, c.nBodyTop) == nF, where + " body's top right corner");
        QVERIFY2(clickAt(c.nX0 + nD / 2, c.nTop) == nF, where + " top of the fingertip");
        // The square around the fingertip counts, also beside the circle.
        QVERIFY2(clickAt(c.nX0, c.nTop) == nF, where + " fingertip square, top left corner");
        QVERIFY2(clickAt(c.nX1, c.nTop) == nF, where + " fingertip square, top right corner");
        if (c.nTop > 0)
        {
            QVERIFY2(clickAt(c.nX0 + nD / 2, c.nTop - 1) == -1, where + " just above the fingertip");
            QVERIFY2(clickAt(c.nX1, c.nTop - 1) == -1, where + " above the fingertip square's corner");
        }
        // The column right of a finger belongs to the gap, to the next finger when there is no gap, or lies
        // beside the hand.
        const bool bTouching = i + 1 < columns.size() && columns[i + 1].nX0 == c.nX1 + 1;
        const int nRight = clickAt(c.nX1 + 1, nBottom);
        if (bTouching)
            QVERIFY2(nRight == columns[i + 1].nFinger, where + " next finger touches");
        else
            QVERIFY2(nRight == -1, where + " first pixel right of the finger");
    }
    QCOMPARE(clickAt(size.width() - 1, nBottom), -1);
}

void tst_humanHandWidget::anyButtonPicksAFinger()
{
    humanHandWidget_c widget(R, nullptr);
    widget.resize(500, 1000);
    QSignalSpy spy(&widget, &humanHandWidget_c::fingerClicked);
    QTest::mouseClick(&widget, Qt::RightButton, Qt::NoModifier, QPoint(250, 900));
    QTest::mouseClick(&widget, Qt::MiddleButton, Qt::NoModifier, QPoint(450, 900));
    QCOMPARE(spy.size(), 2);
    QCOMPARE(spy.at(0).at(1).value<finger_t>(), humanHandWidget_c::fingerMiddle);
    QCOMPARE(spy.at(1).at(1).value<finger_t>(), humanHandWidget_c::fingerLittle);
}

void tst_humanHandWidget::fingerIdConvention()
{
    const struct
    {
        int nId;
        hand_t nHand;
        finger_t nFinger;
    } aTable[] = {
        {0, L, humanHandWidget_c::fingerLittle}, {1, L, humanHandWidget_c::fingerRing},
        {2, L, humanHandWidget_c::fingerMiddle}, {3, L, humanHandWidget_c::fingerIndex},
        {4, L, humanHandWidget_c::fingerThumb},  {5, R, humanHandWidget_c::fingerThumb},
        {6, R, humanHandWidget_c::fingerIndex},  {7, R, humanHandWidget_c::fingerMiddle},
        {8, R, humanHandWidget_c::fingerRing},   {9, R, humanHandWidget_c::fingerLittle},
    };
    for (const auto& row : aTable)
    {
        QCOMPARE(humanHandWidget_c::fingerId(row.nHand, row.nFinger), row.nId);
        QCOMPARE(humanHandWidget_c::handOfFingerId(row.nId), row.nHand);
        QCOMPARE(humanHandWidget_c::fingerOfFingerId(row.nId), row.nFinger);
    }
}

// Read left to right, the two hands side by side give the finger IDs 0 to 9 in order.
void tst_humanHandWidget::outermostFingersGiveOutermostIds()
{
    QWidget window;
    window.resize(1000, 1000);
    humanHandWidget_c left(L, &window);
    humanHandWidget_c right(R, &window);
    left.setGeometry(0, 0, 500, 1000);
    right.setGeometry(500, 0, 500, 1000);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QVector<int> vecIds;
    auto record = [&](hand_t p_nHand, finger_t p_nFinger)
    { vecIds.append(humanHandWidget_c::fingerId(p_nHand, p_nFinger)); };
    connect(&left, &humanHandWidget_c::fingerClicked, this, record);
    connect(&right, &humanHandWidget_c::fingerClicked, this, record);
    for (humanHandWidget_c* pWidget : {&left, &right})
        for (const auto& shape : humanHandWidget_c::fingerLayout(pWidget->hand(), pWidget->size()))
            QTest::mouseClick(pWidget, Qt::LeftButton, Qt::NoModifier, shape.rectBody.center());
    QCOMPARE(vecIds, (QVector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

void tst_humanHandWidget::names()
{
    QCOMPARE(humanHandWidget_c::fingerName(humanHandWidget_c::fingerThumb), QString("thumb"));
    QCOMPARE(humanHandWidget_c::fingerName(humanHandWidget_c::fingerIndex), QString("index finger"));
    QCOMPARE(humanHandWidget_c::fingerName(humanHandWidget_c::fingerMiddle), QString("middle finger"));
    QCOMPARE(humanHandWidget_c::fingerName(humanHandWidget_c::fingerRing), QString("ring finger"));
    QCOMPARE(humanHandWidget_c::fingerName(humanHandWidget_c::fingerLittle), QString("little finger"));
    QCOMPARE(humanHandWidget_c::fingerName(finger_t(7)), QString("Unknown Finger ID 7"));
    QCOMPARE(humanHandWidget_c::fingerName(finger_t(-1)), QString("Unknown Finger ID -1"));
    QCOMPARE(humanHandWidget_c::handName(L), QString("left"));
    QCOMPARE(humanHandWidget_c::handName(R), QString("right"));
    QCOMPARE(humanHandWidget_c::handName(hand_t(2)), QString("Unknown Location 2"));
    QCOMPARE(humanHandWidget_c::handName(hand_t(-3)), QString("Unknown Location -3"));
}

void tst_humanHandWidget::paintsFingersInTheirColours_data()
{
    addSizes();
}

// Every finger is filled, outlined in black on its first and last column, and the gaps stay background.
void tst_humanHandWidget::paintsFingersInTheirColours()
{
    QFETCH(int, hand);
    QFETCH(QSize, size);
    humanHandWidget_c widget(hand_t(hand), nullptr);
    widget.resize(size);
    widget.setFingerColor(humanHandWidget_c::fingerIndex, Qt::lightGray);
    widget.setFingerColor(humanHandWidget_c::fingerLittle, Qt::blue);
    const QImage img = widget.grab().toImage();
    QCOMPARE(img.size(), size);
    const QColor colBackground = widget.palette().color(widget.backgroundRole());

    const int nY = size.height() - 2;
    const columns_t columns = expectedColumns(hand_t(hand), size);
    for (int i = 0; i < columns.size(); ++i)
    {
        const column_t& c = columns[i];
        QColor colFill = Qt::gray;
        if (c.nFinger == humanHandWidget_c::fingerIndex)
            colFill = Qt::lightGray;
        else if (c.nFinger == humanHandWidget_c::fingerLittle)
            colFill = Qt::blue;
        const int nMid = (c.nX0 + c.nX1) / 2;
        QCOMPARE(pixel(img, nMid, nY), colFill);
        QCOMPARE(pixel(img, nMid, c.nTop + (c.nX1 - c.nX0) / 2), colFill); // fingertip centre
        QCOMPARE(pixel(img, c.nX0, nY), QColor(Qt::black));
        QCOMPARE(pixel(img, c.nX1, nY), QColor(Qt::black));
        QCOMPARE(pixel(img, nMid, size.height() - 1), QColor(Qt::black));
        if (c.nTop > 0)
            QCOMPARE(pixel(img, nMid, c.nTop - 1), colBackground);
        const bool bTouching = i + 1 < columns.size() && columns[i + 1].nX0 == c.nX1 + 1;
        if (!bTouching && c.nX1 + 1 < size.width())
            QCOMPARE(pixel(img, c.nX1 + 1, nY), colBackground);
    }
}

void tst_humanHandWidget::hilightIsPaintedAndCleared()
{
    const QSize size(250, 400);
    humanHandWidget_c widget(L, nullptr);
    widget.resize(size);
    const columns_t columns = expectedColumns(L, size);
    // Samples the body and the fingertip centre of each finger, by finger.
    auto colours = [&]()
    {
        const QImage img = widget.grab().toImage();
        QMap<int, QPair<QColor, QColor>> map;
        for (const column_t& c : columns)
        {
            const int nMid = (c.nX0 + c.nX1) / 2;
            map[c.nFinger] = {pixel(img, nMid, size.height() - 2),
                              pixel(img, nMid, c.nTop + (c.nX1 - c.nX0) / 2)};
        }
        return map;
    };
    auto expect = [&](int p_nHilighted, const QColor& p_colHilight, const QColor& p_colRing)
    {
        const auto map = colours();
        for (int nF = 0; nF < 5; ++nF)
        {
            QColor col = nF == humanHandWidget_c::fingerRing ? p_colRing : QColor(Qt::gray);
            if (nF == p_nHilighted)
                col = p_colHilight;
            if (map[nF].first != col || map[nF].second != col)
                return false;
        }
        return true;
    };

    QVERIFY(expect(-1, QColor(), Qt::gray));
    QCOMPARE(widget.hilight(), -1);

    widget.setHilight(humanHandWidget_c::fingerMiddle, Qt::white);
    QVERIFY(expect(humanHandWidget_c::fingerMiddle, Qt::white, Qt::gray));

    // A new highlight replaces the old one; a coloured finger shows the highlight while it has it.
    widget.setFingerColor(humanHandWidget_c::fingerRing, Qt::lightGray);
    widget.setHilight(humanHandWidget_c::fingerRing, Qt::green);
    QVERIFY(expect(humanHandWidget_c::fingerRing, Qt::green, Qt::lightGray));
    QCOMPARE(widget.hilight(), int(humanHandWidget_c::fingerRing));

    // Clearing keeps the finger colours.
    widget.slotClearHilight();
    QVERIFY(expect(-1, QColor(), Qt::lightGray));
    QCOMPARE(widget.fingerColor(humanHandWidget_c::fingerRing), QColor(Qt::lightGray));

    // -1 is how callers clear a highlight; any number outside the hand highlights nothing.
    for (int nF : {-1, 5, 42})
    {
        widget.setHilight(humanHandWidget_c::fingerThumb, Qt::white);
        widget.setHilight(finger_t(nF), Qt::white);
        QVERIFY2(expect(-1, QColor(), Qt::lightGray), QByteArray::number(nF));
        QCOMPARE(widget.hilight(), -1);
    }

    // The highlight is cleared by name, as a single-shot timer does it.
    widget.setHilight(humanHandWidget_c::fingerThumb, Qt::green);
    QTimer::singleShot(0, &widget, SLOT(slotClearHilight()));
    QTRY_COMPARE(widget.hilight(), -1);
    QVERIFY(expect(-1, QColor(), Qt::lightGray));
}

void tst_humanHandWidget::strayFingerNumbersAreHarmless()
{
    humanHandWidget_c widget(R, nullptr);
    widget.resize(100, 100);
    widget.setFingerColor(finger_t(5), Qt::red);
    widget.setFingerColor(finger_t(-1), Qt::red);
    for (int nF = 0; nF < 5; ++nF)
        QCOMPARE(widget.fingerColor(finger_t(nF)), QColor(Qt::gray));
    const QImage img = widget.grab().toImage();
    for (int nX = 0; nX < img.width(); ++nX)
        for (int nY = 0; nY < img.height(); ++nY)
            QVERIFY(img.pixelColor(nX, nY) != QColor(Qt::red));
}

// The window reaches the widget by name too: the clear slot through a timer, the signal through spies.
void tst_humanHandWidget::signalAndSlotByName()
{
    const QMetaObject* pMeta = &humanHandWidget_c::staticMetaObject;
    QCOMPARE(pMeta->methodCount() - pMeta->methodOffset(), 2);
    const QMetaMethod signal = pMeta->method(pMeta->methodOffset());
    QCOMPARE(signal.methodType(), QMetaMethod::Signal);
    QCOMPARE(signal.name(), QByteArray("fingerClicked"));
    QCOMPARE(signal.parameterType(0), qMetaTypeId<hand_t>());
    QCOMPARE(signal.parameterType(1), qMetaTypeId<finger_t>());
    QCOMPARE(pMeta->method(pMeta->methodOffset() + 1).methodSignature(), QByteArray("slotClearHilight()"));
}

// Qt's largest widget height times a per-mille figure exceeds an int.
void tst_humanHandWidget::geometryOfTheLargestWidget()
{
    const QSize size(1000, QWIDGETSIZE_MAX);
    const auto layout = humanHandWidget_c::fingerLayout(R, size);
    QCOMPARE(layout[0].rectTip, QRect(0, 10066329, 226, 226)); // thumb: 16777215 * 600 / 1000
    QCOMPARE(layout[0].rectBody.top(), 10066329 + 113);
    QCOMPARE(layout[4].rectTip.top(), 6257901); // little finger: * 373 / 1000
    QCOMPARE(layout[4].rectBody.bottom(), QWIDGETSIZE_MAX - 1);
}

QTEST_MAIN(tst_humanHandWidget)
#include "tst_humanHandWidget.moc"
