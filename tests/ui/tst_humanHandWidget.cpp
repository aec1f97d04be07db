// The hand picture: real clicks where the widget's own layout puts each finger, the finger picked and
// its module ID, and the colour painted under the click.
#include "ui/humanHandWidget.h"

#include <QSignalSpy>
#include <QtTest>

using hand_t = humanHandWidget_c::hand_t;
using finger_t = humanHandWidget_c::finger_t;
using W = humanHandWidget_c;

class tst_humanHandWidget : public QObject
{
    Q_OBJECT

private slots:
    void clicksAndColours_data()
    {
        QTest::addColumn<int>("hand");
        QTest::addColumn<QSize>("size");
        for (const QSize& size : {QSize(500, 1000), QSize(250, 400), QSize(50, 80)})
            for (hand_t nHand : {W::handLeft, W::handRight})
                QTest::addRow("%s %dx%d", nHand == W::handLeft ? "left" : "right", size.width(),
                              size.height())
                    << int(nHand) << size;
    }
    // Clicks on the corners of each finger's body and fingertip square, just above the tip and just right
    // of the body; the picture shows each finger in its colour, outlined in black, on the background.
    void clicksAndColours()
    {
        QFETCH(int, hand);
        QFETCH(QSize, size);
        W widget(hand_t(hand), nullptr);
        widget.resize(size);
        widget.setFingerColor(W::fingerIndex, Qt::lightGray);
        widget.setFingerColor(W::fingerLittle, Qt::blue);
        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
        QCOMPARE(widget.size(), size);
        const QImage img = widget.grab().toImage();
        const QColor colBackground = widget.palette().color(widget.backgroundRole());
        QSignalSpy spy(&widget, &W::fingerClicked);
        // The module's finger ID the click picked, -1 for none (QTest clicks the centre for a null point).
        const auto idAt = [&](const QPoint& p_pt, Qt::MouseButton p_nButton = Qt::LeftButton) -> int
        {
            spy.clear();
            QTest::mouseClick(&widget, p_nButton, Qt::NoModifier, p_pt);
            if (spy.size() != 1)
                return spy.isEmpty() ? -1 : -2;
            return W::fingerId(spy[0][0].value<hand_t>(), spy[0][1].value<finger_t>());
        };

        const W::fingerLayout_t layout = W::fingerLayout(hand_t(hand), size);
        // Left to right, the left hand gives the IDs 0 to 4 and the right hand 5 to 9.
        int nId = hand == W::handLeft ? 0 : 5;
        for (size_t i = 0; i < layout.size(); ++i, ++nId)
        {
            const QRect body = layout[i].rectBody, tip = layout[i].rectTip;
            const QByteArray where = "finger " + QByteArray::number(layout[i].nFinger);
            for (const QPoint& pt :
                 {body.center(), body.bottomLeft(), body.bottomRight(), body.topRight(), tip.center(),
                  tip.topLeft(), tip.topRight(), QPoint(tip.center().x(), tip.top())})
                QVERIFY2(idAt(pt) == nId,
                         where + " at " + QByteArray::number(pt.x()) + "," + QByteArray::number(pt.y()));
            QCOMPARE(idAt(body.center(), Qt::RightButton), nId);
            if (tip.top() > 0)
            {
                QCOMPARE(idAt(QPoint(tip.center().x(), tip.top() - 1)), -1);
                QCOMPARE(img.pixelColor(tip.center().x(), tip.top() - 1), colBackground);
            }
            // Right of a finger: the next finger where they touch, else the gap or beside the hand.
            const bool bTouching = i + 1 < layout.size() && layout[i + 1].rectBody.left() == body.right() + 1;
            if (body.right() + 1 < size.width())
                QCOMPARE(idAt(body.bottomRight() + QPoint(1, 0)), bTouching ? nId + 1 : -1);
            if (!bTouching && body.right() + 1 < size.width())
                QCOMPARE(img.pixelColor(body.bottomRight() + QPoint(1, -1)), colBackground);

            const QColor colFill = layout[i].nFinger == W::fingerIndex    ? QColor(Qt::lightGray)
                                   : layout[i].nFinger == W::fingerLittle ? QColor(Qt::blue)
                                                                          : QColor(Qt::gray);
            QCOMPARE(img.pixelColor(body.center().x(), size.height() - 2), colFill);
            QCOMPARE(img.pixelColor(tip.center()), colFill);
            for (const QPoint& pt : {body.bottomLeft() - QPoint(0, 1), body.bottomRight() - QPoint(0, 1),
                                     QPoint(body.center().x(), size.height() - 1)})
                QCOMPARE(img.pixelColor(pt), QColor(Qt::black));
        }
    }
    void names()
    {
        // The window tests show the thumb, index, ring and little finger of either hand in their messages.
        QCOMPARE(QStringList(
                     {W::fingerName(W::fingerMiddle), W::fingerName(finger_t(7)), W::handName(hand_t(-3))}),
                 QStringList({"middle finger", "Unknown Finger ID 7", "Unknown Location -3"}));
    }
    void hilight()
    {
        W widget(W::handLeft, nullptr);
        widget.resize(250, 400);
        const W::fingerLayout_t layout = W::fingerLayout(W::handLeft, widget.size());
        // The colours under the body and the fingertip of every finger, thumb first.
        const auto colours = [&]()
        {
            const QImage img = widget.grab().toImage();
            QList<QColor> lst;
            for (int nFinger = 0; nFinger < W::fingerCount; ++nFinger)
                for (const auto& shape : layout)
                    if (shape.nFinger == nFinger)
                        lst << img.pixelColor(shape.rectBody.center().x(), 398)
                            << img.pixelColor(shape.rectTip.center());
            return lst;
        };
        const QColor g = Qt::gray, lg = Qt::lightGray, w = Qt::white;
        QCOMPARE(colours(), (QList<QColor>{g, g, g, g, g, g, g, g, g, g}));
        widget.setHilight(W::fingerMiddle, Qt::white);
        QCOMPARE(colours(), (QList<QColor>{g, g, g, g, w, w, g, g, g, g}));
        // A new highlight replaces the old one; a coloured finger shows the highlight while it has it.
        widget.setFingerColor(W::fingerRing, Qt::lightGray);
        widget.setHilight(W::fingerRing, Qt::white);
        QCOMPARE(colours(), (QList<QColor>{g, g, g, g, g, g, w, w, g, g}));
        QCOMPARE(widget.hilight(), int(W::fingerRing));
        // Clearing, by name from a timer as the window does, keeps the finger colours.
        QTimer::singleShot(0, &widget, SLOT(slotClearHilight()));
        QTRY_COMPARE(widget.hilight(), -1);
        QCOMPARE(colours(), (QList<QColor>{g, g, g, g, g, g, lg, lg, g, g}));
        // -1 is how callers clear a highlight; any number outside the hand highlights nothing, colours
        // nothing.
        for (int nFinger : {-1, 5, 42})
        {
            widget.setHilight(W::fingerThumb, Qt::white);
            widget.setHilight(finger_t(nFinger), Qt::white);
            widget.setFingerColor(finger_t(nFinger), Qt::white);
            QCOMPARE(widget.hilight(), -1);
            QCOMPARE(colours(), (QList<QColor>{g, g, g, g, g, g, lg, lg, g, g}));
        }
    }
};

QTEST_MAIN(tst_humanHandWidget)
#include "tst_humanHandWidget.moc"
