#include "pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QVector>

#include <cmath>

namespace
{
constexpr qreal g_dPi = 3.14159265358979323846;

// The mode pictograms and the program icon are drawn on a 96-unit canvas and scaled.
constexpr qreal g_dCanvas = 96.0;

// A picture of p_nWidth x p_nHeight units at p_nScale pixels per unit.
QImage emptyImage(int p_nWidth, int p_nHeight, int p_nScale)
{
    QImage image(p_nWidth * p_nScale, p_nHeight * p_nScale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void prepare(QPainter& p_painter, qreal p_dScale)
{
    p_painter.setRenderHint(QPainter::Antialiasing, true);
    p_painter.scale(p_dScale, p_dScale);
}

// How the ridges of a fingerprint are laid out. Small renderings use fewer, thicker ridges so
// that they stay apart.
struct ridgeStyle_t
{
    int nRidges;
    qreal dSpacing;
    qreal dWidth;
};

constexpr ridgeStyle_t g_detailedRidges{6, 6.5, 3.2};
constexpr ridgeStyle_t g_coarseRidges{4, 9.5, 5.5};
constexpr ridgeStyle_t g_tinyRidges{3, 13.0, 8.0};

// One ridge of a loop pattern: a hairpin around the core whose legs run down and spread a
// little. p_dDistance runs along the ridge from the end of the left leg to the end of the right.
struct ridge_t
{
    QPointF ptCore;
    qreal dRadius;
    qreal dLeg;

    qreal length() const { return 2.0 * dLeg + g_dPi * dRadius; }

    QPointF pointAt(qreal p_dDistance) const
    {
        constexpr qreal dSpread = 0.22;
        const qreal dArc = g_dPi * dRadius;
        if (p_dDistance < dLeg)
        {
            const qreal dDepth = dLeg - p_dDistance;
            return {ptCore.x() - dRadius - dSpread * dDepth, ptCore.y() + dDepth};
        }
        if (p_dDistance < dLeg + dArc)
        {
            const qreal dAngle = g_dPi - (p_dDistance - dLeg) / dRadius;
            return {ptCore.x() + dRadius * std::cos(dAngle), ptCore.y() - dRadius * std::sin(dAngle)};
        }
        const qreal dDepth = p_dDistance - dLeg - dArc;
        return {ptCore.x() + dRadius + dSpread * dDepth, ptCore.y() + dDepth};
    }

    QPolygonF piece(qreal p_dFrom, qreal p_dTo) const
    {
        QPolygonF polyline;
        constexpr qreal dStep = 0.5;
        for (qreal d = p_dFrom; d < p_dTo; d += dStep)
            polyline << pointAt(d);
        polyline << pointAt(p_dTo);
        return polyline;
    }
};

// Where each ridge is broken, as distances from its apex (negative: towards the left leg), in
// 96-unit pixels; real ridges end and fork, and the breaks are what makes the nested hairpins
// read as a fingerprint.
const QVector<QVector<qreal>> g_vecBreaks{{},           {6.0},         {-11.0}, {15.0, -30.0},
                                          {-5.0, 33.0}, {22.0, -40.0}, {-15.0}};

// Draws the ridges of a fingertip inside p_rectTip, in 96-unit coordinates. Returns where the
// ridges break, the minutiae of this fingerprint.
QVector<QPointF> drawFingerprint(QPainter& p_painter, const QRectF& p_rectTip, const QColor& p_colRidge,
                                 const ridgeStyle_t& p_style)
{
    p_painter.save();
    QPainterPath tip;
    tip.addEllipse(p_rectTip);
    p_painter.setClipPath(tip, Qt::IntersectClip);
    p_painter.setPen(QPen(p_colRidge, p_style.dWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p_painter.setBrush(Qt::NoBrush);

    const QPointF ptCore(p_rectTip.center().x(), p_rectTip.top() + 0.44 * p_rectTip.height());
    const qreal dGap = 2.6 * p_style.dWidth;
    QVector<QPointF> vecMinutiae;
    for (int i = 0; i < p_style.nRidges; ++i)
    {
        const qreal dRadius = 2.5 + i * p_style.dSpacing;
        // The innermost ridges are short hairpins; the outer ones reach the bottom of the tip.
        const qreal dLeg = 0.18 * p_rectTip.height() + i * 0.14 * p_rectTip.height() * 7.0 / p_style.nRidges;
        const ridge_t ridge{ptCore, dRadius, dLeg};
        const qreal dLength = ridge.length();

        QVector<qreal> vecBreaks = g_vecBreaks.value(i * 7 / p_style.nRidges);
        qreal dFrom = 0.0;
        for (qreal dBreak : vecBreaks)
        {
            const qreal dAt = dLength / 2.0 + dBreak * p_style.dSpacing / g_detailedRidges.dSpacing;
            vecMinutiae << ridge.pointAt(dAt);
            p_painter.drawPolyline(ridge.piece(dFrom, dAt - dGap / 2.0));
            dFrom = dAt + dGap / 2.0;
        }
        p_painter.drawPolyline(ridge.piece(dFrom, dLength));
    }
    p_painter.restore();

    QVector<QPointF> vecInside;
    for (const QPointF& pt : vecMinutiae)
    {
        if (tip.contains(pt))
            vecInside << pt;
    }
    return vecInside;
}

// The pale fingertip behind the ridges of a pictogram.
void drawTip(QPainter& p_painter, const QRectF& p_rectTip)
{
    QLinearGradient gradient(p_rectTip.topLeft(), p_rectTip.bottomRight());
    gradient.setColorAt(0.0, QColor(0xf4, 0xf8, 0xfc));
    gradient.setColorAt(1.0, QColor(0xd6, 0xe2, 0xef));
    p_painter.setPen(QPen(QColor(0x9a, 0xb0, 0xc8), 1.2));
    p_painter.setBrush(gradient);
    p_painter.drawEllipse(p_rectTip);
}

const QRectF g_rectModeTip(6.0, 3.0, 64.0, 86.0);
const QColor g_colRidge(0x26, 0x46, 0x72);

// The round badge in the lower right corner that carries a mode's symbol.
constexpr qreal g_dBadgeX = 73.0;
constexpr qreal g_dBadgeY = 72.0;
constexpr qreal g_dBadgeRadius = 21.0;

void drawBadge(QPainter& p_painter, const QColor& p_colBadge)
{
    const QPointF ptCentre(g_dBadgeX, g_dBadgeY);
    QRadialGradient gradient(ptCentre - QPointF(6.0, 8.0), 2.0 * g_dBadgeRadius);
    gradient.setColorAt(0.0, p_colBadge.lighter(135));
    gradient.setColorAt(0.6, p_colBadge);
    gradient.setColorAt(1.0, p_colBadge.darker(140));
    p_painter.setPen(QPen(Qt::white, 3.0));
    p_painter.setBrush(gradient);
    p_painter.drawEllipse(ptCentre, g_dBadgeRadius, g_dBadgeRadius);
}

void drawSymbol(QPainter& p_painter, pictures_n::symbol_t p_nSymbol)
{
    const qreal x = g_dBadgeX;
    const qreal y = g_dBadgeY;
    p_painter.setPen(Qt::NoPen);
    p_painter.setBrush(Qt::white);
    switch (p_nSymbol)
    {
    case pictures_n::symbolInfo:
        p_painter.drawEllipse(QPointF(x, y - 10.0), 3.6, 3.6);
        p_painter.drawRoundedRect(QRectF(x - 3.2, y - 4.0, 6.4, 17.0), 1.5, 1.5);
        break;
    case pictures_n::symbolAdd:
        p_painter.drawRoundedRect(QRectF(x - 12.0, y - 3.5, 24.0, 7.0), 1.5, 1.5);
        p_painter.drawRoundedRect(QRectF(x - 3.5, y - 12.0, 7.0, 24.0), 1.5, 1.5);
        break;
    case pictures_n::symbolImage:
    {
        const QRectF rectFrame(x - 12.5, y - 9.5, 25.0, 19.0);
        p_painter.drawRoundedRect(rectFrame, 2.0, 2.0);
        const QRectF rectInner = rectFrame.adjusted(2.5, 2.5, -2.5, -2.5);
        p_painter.setBrush(QColor(0xcf, 0xec, 0xf7));
        p_painter.drawRect(rectInner);
        p_painter.setBrush(QColor(0xf5, 0xb8, 0x00));
        p_painter.drawEllipse(QPointF(rectInner.right() - 4.5, rectInner.top() + 4.0), 2.6, 2.6);
        p_painter.setBrush(QColor(0x1d, 0x7a, 0x45));
        p_painter.drawPolygon(
            QPolygonF({rectInner.bottomLeft(), QPointF(rectInner.left() + 7.0, rectInner.top() + 4.0),
                       QPointF(rectInner.left() + 12.0, rectInner.bottom() - 4.0),
                       QPointF(rectInner.left() + 15.0, rectInner.bottom() - 7.0), rectInner.bottomRight()}));
        break;
    }
    case pictures_n::symbolPerson:
    {
        p_painter.drawEllipse(QPointF(x, y - 7.0), 6.0, 6.0);
        QPainterPath shoulders;
        shoulders.moveTo(x - 12.0, y + 12.0);
        shoulders.cubicTo(x - 12.0, y + 1.0, x - 6.0, y + 0.5, x, y + 0.5);
        shoulders.cubicTo(x + 6.0, y + 0.5, x + 12.0, y + 1.0, x + 12.0, y + 12.0);
        shoulders.closeSubpath();
        p_painter.drawPath(shoulders);
        break;
    }
    case pictures_n::symbolDelete:
        p_painter.save();
        p_painter.translate(x, y);
        p_painter.rotate(45.0);
        p_painter.drawRoundedRect(QRectF(-13.0, -3.5, 26.0, 7.0), 1.5, 1.5);
        p_painter.drawRoundedRect(QRectF(-3.5, -13.0, 7.0, 26.0), 1.5, 1.5);
        p_painter.restore();
        break;
    case pictures_n::symbolAnalyse:
        p_painter.setBrush(Qt::NoBrush);
        p_painter.setPen(QPen(Qt::white, 4.0, Qt::SolidLine, Qt::RoundCap));
        p_painter.drawEllipse(QPointF(x - 3.0, y - 3.0), 7.5, 7.5);
        p_painter.setPen(QPen(Qt::white, 6.0, Qt::SolidLine, Qt::RoundCap));
        p_painter.drawLine(QPointF(x + 3.5, y + 3.5), QPointF(x + 10.5, y + 10.5));
        break;
    }
}

QColor badgeColour(pictures_n::symbol_t p_nSymbol)
{
    switch (p_nSymbol)
    {
    case pictures_n::symbolInfo:
        return QColor(0x1f, 0x6f, 0xd1);
    case pictures_n::symbolAdd:
        return QColor(0x2a, 0x9a, 0x38);
    case pictures_n::symbolImage:
        return QColor(0x14, 0x95, 0xa0);
    case pictures_n::symbolPerson:
        return QColor(0x7b, 0x4f, 0xc2);
    case pictures_n::symbolDelete:
        return QColor(0xd3, 0x2f, 0x2f);
    case pictures_n::symbolAnalyse:
        return QColor(0xe0, 0x7a, 0x00);
    }
    return Qt::gray;
}

// A glossy disc, the common ground of the lamps and the info image.
void drawGlossyDisc(QPainter& p_painter, const QPointF& p_ptCentre, qreal p_dRadius, const QColor& p_colDisc,
                    int p_nShine = 220)
{
    QRadialGradient body(p_ptCentre, p_dRadius, p_ptCentre - QPointF(0.3 * p_dRadius, 0.35 * p_dRadius));
    body.setColorAt(0.0, p_colDisc.lighter(125));
    body.setColorAt(0.7, p_colDisc);
    body.setColorAt(1.0, p_colDisc.darker(150));
    p_painter.setPen(QPen(p_colDisc.darker(220), 1.0));
    p_painter.setBrush(body);
    p_painter.drawEllipse(p_ptCentre, p_dRadius, p_dRadius);

    // The reflection sits high up so that the middle of the disc keeps the lamp's colour.
    const QRectF rectShine(p_ptCentre.x() - 0.62 * p_dRadius, p_ptCentre.y() - 0.9 * p_dRadius,
                           1.24 * p_dRadius, 0.7 * p_dRadius);
    QLinearGradient shine(rectShine.topLeft(), rectShine.bottomLeft());
    shine.setColorAt(0.0, QColor(255, 255, 255, p_nShine));
    shine.setColorAt(1.0, QColor(255, 255, 255, 0));
    p_painter.setPen(Qt::NoPen);
    p_painter.setBrush(shine);
    p_painter.drawEllipse(rectShine);
}
} // namespace

namespace pictures_n
{
QImage modeIcon(symbol_t p_nSymbol, int p_nScale)
{
    QImage image = emptyImage(96, 96, p_nScale);
    QPainter painter(&image);
    prepare(painter, p_nScale);
    drawTip(painter, g_rectModeTip);
    drawFingerprint(painter, g_rectModeTip.adjusted(2.0, 2.0, -2.0, -2.0), g_colRidge, g_detailedRidges);
    drawBadge(painter, badgeColour(p_nSymbol));
    drawSymbol(painter, p_nSymbol);
    return image;
}

QImage fingerprintTemplate(int p_nScale)
{
    QImage image = emptyImage(96, 96, p_nScale);
    QPainter painter(&image);
    prepare(painter, p_nScale);
    const QRectF rectTip(14.0, 4.0, 68.0, 88.0);
    drawTip(painter, rectTip);
    const QVector<QPointF> vecMinutiae =
        drawFingerprint(painter, rectTip.adjusted(2.0, 2.0, -2.0, -2.0), g_colRidge, g_detailedRidges);

    // A template is the set of minutiae found on the ridges: here the ridge endings.
    painter.setPen(QPen(QColor(0xd0, 0x20, 0x20), 2.2));
    painter.setBrush(Qt::NoBrush);
    for (const QPointF& pt : vecMinutiae)
        painter.drawEllipse(pt, 4.5, 4.5);
    return image;
}

QImage programIcon(int p_nSize)
{
    QImage image = emptyImage(p_nSize, p_nSize, 1);
    QPainter painter(&image);
    prepare(painter, p_nSize / g_dCanvas);

    const QRectF rectTile(3.0, 3.0, 90.0, 90.0);
    QLinearGradient tile(rectTile.topLeft(), rectTile.bottomLeft());
    tile.setColorAt(0.0, QColor(0x3a, 0x7b, 0xc8));
    tile.setColorAt(1.0, QColor(0x16, 0x35, 0x66));
    painter.setPen(QPen(QColor(0x10, 0x28, 0x4d), 1.5));
    painter.setBrush(tile);
    painter.drawRoundedRect(rectTile, 16.0, 16.0);

    const bool bSmall = p_nSize < 40;
    const QRectF rectTip = bSmall ? QRectF(16.0, 8.0, 64.0, 84.0) : QRectF(20.0, 10.0, 56.0, 78.0);
    const ridgeStyle_t& style = p_nSize < 20 ? g_tinyRidges : bSmall ? g_coarseRidges : g_detailedRidges;
    drawFingerprint(painter, rectTip, QColor(0xee, 0xf5, 0xff), style);

    // The scanning light of an optical sensor sweeping over the finger.
    if (!bSmall)
    {
        const qreal dY = 58.0;
        QLinearGradient glow(0.0, dY - 7.0, 0.0, dY + 7.0);
        glow.setColorAt(0.0, QColor(0x40, 0xff, 0xa0, 0));
        glow.setColorAt(0.5, QColor(0x40, 0xff, 0xa0, 150));
        glow.setColorAt(1.0, QColor(0x40, 0xff, 0xa0, 0));
        painter.setPen(Qt::NoPen);
        painter.setBrush(glow);
        painter.drawRect(QRectF(12.0, dY - 7.0, 72.0, 14.0));
        painter.setPen(QPen(QColor(0xb0, 0xff, 0xd8), 1.5, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(14.0, dY), QPointF(82.0, dY));
    }
    return image;
}

QImage devices(int p_nScale)
{
    QImage image = emptyImage(128, 62, p_nScale);
    QPainter painter(&image);
    prepare(painter, p_nScale);

    // A panel PC: a metal frame around a touch screen.
    const QRectF rectPanel(3.0, 3.0, 74.0, 52.0);
    QLinearGradient frame(rectPanel.topLeft(), rectPanel.bottomLeft());
    frame.setColorAt(0.0, QColor(0xd8, 0xdc, 0xe0));
    frame.setColorAt(1.0, QColor(0x8c, 0x94, 0x9c));
    painter.setPen(QPen(QColor(0x4a, 0x50, 0x58), 1.2));
    painter.setBrush(frame);
    painter.drawRoundedRect(rectPanel, 3.0, 3.0);
    const QRectF rectScreen = rectPanel.adjusted(5.0, 5.0, -5.0, -9.0);
    QLinearGradient screen(rectScreen.topLeft(), rectScreen.bottomRight());
    screen.setColorAt(0.0, QColor(0x3c, 0x78, 0xc0));
    screen.setColorAt(1.0, QColor(0x0e, 0x24, 0x48));
    painter.setPen(QPen(QColor(0x22, 0x26, 0x2c), 1.0));
    painter.setBrush(screen);
    painter.drawRect(rectScreen);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 60));
    painter.drawPolygon(
        QPolygonF({rectScreen.topLeft(), QPointF(rectScreen.left() + 30.0, rectScreen.top()),
                   QPointF(rectScreen.left() + 12.0, rectScreen.bottom()), rectScreen.bottomLeft()}));
    // The sensor window below the screen and a power lamp.
    painter.setBrush(QColor(0x20, 0x24, 0x2a));
    painter.drawRoundedRect(QRectF(rectPanel.center().x() - 6.0, rectPanel.bottom() - 7.0, 12.0, 5.0), 1.5,
                            1.5);
    painter.setBrush(QColor(0x30, 0xd0, 0x50));
    painter.drawEllipse(QPointF(rectPanel.right() - 6.0, rectPanel.bottom() - 4.5), 1.5, 1.5);

    // A box PC beside it: cooling fins on top, connectors on the front.
    const QRectF rectBox(84.0, 18.0, 41.0, 37.0);
    QLinearGradient box(rectBox.topLeft(), rectBox.bottomLeft());
    box.setColorAt(0.0, QColor(0x6c, 0x74, 0x7e));
    box.setColorAt(1.0, QColor(0x36, 0x3c, 0x44));
    painter.setPen(QPen(QColor(0x22, 0x26, 0x2c), 1.2));
    painter.setBrush(box);
    painter.drawRoundedRect(rectBox, 2.0, 2.0);
    painter.setPen(QPen(QColor(0x9c, 0xa4, 0xae), 1.6));
    for (qreal dX = rectBox.left() + 5.0; dX < rectBox.right() - 2.0; dX += 4.5)
        painter.drawLine(QPointF(dX, rectBox.top() + 3.0), QPointF(dX, rectBox.top() + 13.0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x14, 0x16, 0x1a));
    for (int i = 0; i < 3; ++i)
        painter.drawRect(QRectF(rectBox.left() + 5.0 + i * 10.0, rectBox.top() + 19.0, 7.0, 5.0));
    painter.setBrush(QColor(0xd8, 0xdc, 0xe0));
    painter.drawRect(QRectF(rectBox.left() + 5.0, rectBox.top() + 28.0, 12.0, 4.0));
    painter.setBrush(QColor(0x30, 0xd0, 0x50));
    painter.drawEllipse(QPointF(rectBox.right() - 6.0, rectBox.bottom() - 5.0), 1.6, 1.6);

    // A shadow on the floor under both.
    painter.setBrush(QColor(0, 0, 0, 50));
    painter.drawEllipse(QRectF(6.0, 55.5, 118.0, 5.0));
    return image;
}

QImage start(int p_nScale)
{
    QImage image = emptyImage(32, 32, p_nScale);
    QPainter painter(&image);
    prepare(painter, p_nScale);
    const QPolygonF triangle({QPointF(8.0, 4.5), QPointF(27.5, 16.0), QPointF(8.0, 27.5)});
    QLinearGradient gradient(0.0, 4.0, 0.0, 28.0);
    gradient.setColorAt(0.0, QColor(0x6c, 0xb0, 0xff));
    gradient.setColorAt(1.0, QColor(0x12, 0x4c, 0xb4));
    painter.setPen(QPen(QColor(0x0c, 0x32, 0x78), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(gradient);
    painter.drawPolygon(triangle);
    return image;
}

QImage stop(int p_nScale)
{
    QImage image = emptyImage(32, 32, p_nScale);
    QPainter painter(&image);
    prepare(painter, p_nScale);
    QLinearGradient gradient(0.0, 6.0, 0.0, 26.0);
    gradient.setColorAt(0.0, QColor(0xff, 0x70, 0x60));
    gradient.setColorAt(1.0, QColor(0xb4, 0x10, 0x10));
    painter.setPen(QPen(QColor(0x70, 0x08, 0x08), 1.6));
    painter.setBrush(gradient);
    painter.drawRoundedRect(QRectF(6.0, 6.0, 20.0, 20.0), 3.0, 3.0);
    return image;
}

QImage info(int p_nScale)
{
    QImage image = emptyImage(32, 32, p_nScale);
    QPainter painter(&image);
    prepare(painter, p_nScale);
    // A faint reflection only, so that the dot of the letter stands out.
    drawGlossyDisc(painter, QPointF(16.0, 16.0), 14.0, QColor(0x1f, 0x66, 0xd0), 110);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawEllipse(QPointF(16.0, 9.0), 2.4, 2.4);
    QPainterPath letter;
    letter.moveTo(12.5, 13.0);
    letter.lineTo(18.0, 13.0);
    letter.lineTo(18.0, 22.0);
    letter.lineTo(19.5, 22.0);
    letter.lineTo(19.5, 24.5);
    letter.lineTo(12.5, 24.5);
    letter.lineTo(12.5, 22.0);
    letter.lineTo(14.0, 22.0);
    letter.lineTo(14.0, 15.5);
    letter.lineTo(12.5, 15.5);
    letter.closeSubpath();
    painter.drawPath(letter);
    return image;
}

QImage lamp(const QColor& p_colLamp, int p_nScale)
{
    QImage image = emptyImage(32, 32, p_nScale);
    QPainter painter(&image);
    prepare(painter, p_nScale);
    drawGlossyDisc(painter, QPointF(16.0, 16.0), 13.5, p_colLamp);
    return image;
}

QImage debug(int p_nScale)
{
    QImage image = emptyImage(48, 48, p_nScale);
    QPainter painter(&image);
    prepare(painter, p_nScale);
    const QColor colLegs(0x22, 0x08, 0x08);

    // Legs and feelers first, so that the body covers where they join it.
    painter.setPen(QPen(colLegs, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    for (int nSide : {-1, 1})
    {
        const qreal s = nSide;
        painter.drawPolyline(
            QPolygonF({QPointF(24 + s * 6, 20), QPointF(24 + s * 13, 16), QPointF(24 + s * 16, 10)}));
        painter.drawPolyline(
            QPolygonF({QPointF(24 + s * 8, 28), QPointF(24 + s * 15, 27), QPointF(24 + s * 19, 23)}));
        painter.drawPolyline(
            QPolygonF({QPointF(24 + s * 7, 36), QPointF(24 + s * 14, 39), QPointF(24 + s * 17, 45)}));
        QPainterPath feeler;
        feeler.moveTo(24 + s * 2.5, 9.0);
        feeler.quadTo(24 + s * 4.0, 3.0, 24 + s * 10.0, 3.0);
        painter.setPen(QPen(colLegs, 1.3, Qt::SolidLine, Qt::RoundCap));
        painter.drawPath(feeler);
        painter.setPen(QPen(colLegs, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    }

    painter.setPen(QPen(colLegs, 1.2));
    painter.setBrush(QColor(0x30, 0x0a, 0x0a));
    painter.drawEllipse(QPointF(24.0, 11.5), 5.0, 4.5);

    const QRectF rectBody(13.0, 14.0, 22.0, 30.0);
    QRadialGradient body(QPointF(24.0, 28.0), 16.0, QPointF(19.0, 21.0));
    body.setColorAt(0.0, QColor(0xd0, 0x3a, 0x30));
    body.setColorAt(0.6, QColor(0x98, 0x14, 0x14));
    body.setColorAt(1.0, QColor(0x50, 0x06, 0x06));
    painter.setBrush(body);
    painter.drawEllipse(rectBody);
    // The neck shield and the seam between the wing cases.
    painter.setBrush(QColor(0x3a, 0x0a, 0x0a));
    painter.drawChord(QRectF(15.0, 14.0, 18.0, 12.0), 0, 180 * 16);
    painter.setPen(QPen(QColor(0x30, 0x06, 0x06), 1.4));
    painter.drawLine(QPointF(24.0, 20.0), QPointF(24.0, 43.5));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x28, 0x04, 0x04));
    for (const QPointF& pt :
         {QPointF(19.0, 27.0), QPointF(29.0, 27.0), QPointF(18.5, 35.0), QPointF(29.5, 35.0)})
        painter.drawEllipse(pt, 2.2, 2.2);
    painter.setBrush(QColor(255, 255, 255, 110));
    painter.drawEllipse(QRectF(16.5, 22.0, 4.0, 7.0));
    return image;
}

QImage serviceReport(int p_nScale)
{
    QImage image = emptyImage(32, 32, p_nScale);
    QPainter painter(&image);
    prepare(painter, p_nScale);
    // The sheet with its top right corner folded over.
    QPainterPath sheet;
    sheet.moveTo(5.5, 2.5);
    sheet.lineTo(19.5, 2.5);
    sheet.lineTo(25.5, 8.5);
    sheet.lineTo(25.5, 29.5);
    sheet.lineTo(5.5, 29.5);
    sheet.closeSubpath();
    QLinearGradient paper(0.0, 2.0, 0.0, 30.0);
    paper.setColorAt(0.0, Qt::white);
    paper.setColorAt(1.0, QColor(0xe4, 0xea, 0xf2));
    painter.setPen(QPen(QColor(0x5a, 0x6a, 0x80), 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(paper);
    painter.drawPath(sheet);
    painter.setBrush(QColor(0xc8, 0xd2, 0xe0));
    painter.drawPolygon(QPolygonF({QPointF(19.5, 2.5), QPointF(19.5, 8.5), QPointF(25.5, 8.5)}));
    // Lines of text, the first one a heading.
    painter.setPen(QPen(g_colRidge, 2.0, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(8.5, 7.0), QPointF(16.5, 7.0));
    painter.setPen(QPen(QColor(0x7a, 0x8c, 0xa6), 1.2, Qt::SolidLine, Qt::FlatCap));
    for (qreal dY : {12.0, 15.5, 19.0})
        painter.drawLine(QPointF(8.5, dY), QPointF(22.5, dY));
    painter.drawLine(QPointF(8.5, 22.5), QPointF(14.0, 22.5));
    // The tick of a finished visit on a green disc.
    drawGlossyDisc(painter, QPointF(22.5, 24.0), 6.5, QColor(0x2a, 0x9a, 0x38), 90);
    painter.setPen(QPen(Qt::white, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(QPolygonF({QPointF(19.5, 24.0), QPointF(21.7, 26.3), QPointF(25.6, 21.6)}));
    return image;
}

QImage update(int p_nScale)
{
    QImage image = emptyImage(32, 32, p_nScale);
    QPainter painter(&image);
    prepare(painter, p_nScale);
    const QPointF ptCentre(16.0, 16.0);
    const qreal dRadius = 10.0;
    const QRectF rectCircle(ptCentre.x() - dRadius, ptCentre.y() - dRadius, 2 * dRadius, 2 * dRadius);
    const QColor colDark(0x14, 0x5a, 0x1c);
    const QColor colLight(0x3c, 0xc0, 0x46);

    // Two arrows chasing each other clockwise round the circle. Angles count counter-clockwise
    // from three o'clock, as QPainter's arcs do; each arrow's head ends at p_dEnd.
    for (qreal dEnd : {20.0, 200.0})
    {
        constexpr qreal dBodySpan = 120.0;
        constexpr qreal dHeadSpan = 38.0;
        const auto pointAt = [&](qreal p_dDegrees, qreal p_dRadius)
        {
            const qreal dAngle = p_dDegrees * g_dPi / 180.0;
            return ptCentre + QPointF(p_dRadius * std::cos(dAngle), -p_dRadius * std::sin(dAngle));
        };
        for (const QPen& pen : {QPen(colDark, 5.6, Qt::SolidLine, Qt::FlatCap),
                                QPen(colLight, 3.2, Qt::SolidLine, Qt::FlatCap)})
        {
            painter.setPen(pen);
            painter.setBrush(Qt::NoBrush);
            painter.drawArc(rectCircle, int((dEnd + dHeadSpan - 2.0) * 16), int(dBodySpan * 16));
        }
        const qreal dBase = dEnd + dHeadSpan;
        const QPolygonF head(
            {pointAt(dEnd, dRadius), pointAt(dBase, dRadius + 6.0), pointAt(dBase, dRadius - 6.0)});
        painter.setPen(QPen(colDark, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(colLight);
        painter.drawPolygon(head);
    }
    return image;
}
} // namespace pictures_n
