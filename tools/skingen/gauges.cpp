#include "art.h"

#include "canvas.h"
#include "palette.h"

#include <QPainterPath>

#include <cmath>
#include <numbers>
#include <string>

namespace skingen {

using namespace colour;

namespace {

// Battery geometry. The program fills image rows 7 .. 56 by the charge and always draws the
// bottom four rows 57 .. 60 from the full image, so the cell sits between those rows and the
// outline is the same in every battery image.
constexpr int CellTop = 7;
constexpr int CellBottom = 56;
const QColor BatteryRim = Rgb(0xA0A0A0);
const QColor BatteryInside = Rgb(0x1A1A1A);

void BatteryOutline(Canvas& c)
{
    c.RoundFill(QRect(10, 1, 10, 4), 1, BatteryRim);
    c.RoundFill(QRect(2, 4, 26, 57), 3, BatteryRim);
    c.Replace(QRect(4, 6, 22, 53), Qt::transparent);
}

void BatteryCell(Canvas& c, const QColor& light, const QColor& mid, const QColor& dark)
{
    const int h = CellBottom - CellTop + 1;
    c.HGradient(QRect(5, CellTop, 10, h), light, mid);
    c.HGradient(QRect(15, CellTop, 10, h), mid, dark);
    c.Fill(QRect(6, CellTop, 1, h), Mix(light, White, 0.4));
}

// Corner points of the dial's wedges round the apex (70, 71), from the left end of the arc to the
// right end: the program hit-tests exactly these triangles, so the drawn segments follow them.
const QPoint DialCorners[] = {{3, 71}, {7, 51}, {17, 32}, {40, 13}, {70, 5},
                              {100, 14}, {121, 31}, {131, 51}, {134, 71}};
constexpr QPointF DialApex(70, 71);

double AngleOf(const QPoint& p)
{
    return std::atan2(DialApex.y() - p.y(), p.x() - DialApex.x()) * 180.0 / std::numbers::pi;
}

QPainterPath Segment(double fromDeg, double toDeg, double inner, double outer)
{
    const QRectF o(DialApex.x() - outer, DialApex.y() - outer, 2 * outer, 2 * outer);
    const QRectF i(DialApex.x() - inner, DialApex.y() - inner, 2 * inner, 2 * inner);
    QPainterPath path;
    path.arcMoveTo(o, fromDeg);
    path.arcTo(o, fromDeg, toDeg - fromDeg);
    path.arcTo(i, toDeg, fromDeg - toDeg);
    path.closeSubpath();
    return path;
}

} // namespace

QImage Battery(BatteryImage which)
{
    Canvas c(30, 61);
    BatteryOutline(c);
    switch (which) {
    case BatteryImage::Empty:
        c.Fill(QRect(4, 6, 22, 53), BatteryInside);
        break;
    case BatteryImage::Full:
        c.Fill(QRect(4, 6, 22, 53), BatteryInside);
        BatteryCell(c, Rgb(0x6FD87B), Green, GreenDark);
        break;
    case BatteryImage::Charging:
        c.Fill(QRect(4, 6, 22, 53), BatteryInside);
        BatteryCell(c, AccentLight, Accent, AccentDark);
        break;
    case BatteryImage::Lightning: {
        QPainterPath bolt;
        bolt.moveTo(18, 13);
        bolt.lineTo(8, 35);
        bolt.lineTo(14, 35);
        bolt.lineTo(11, 50);
        bolt.lineTo(22, 27);
        bolt.lineTo(16, 27);
        bolt.lineTo(20, 13);
        bolt.closeSubpath();
        QPainter& p = c.Smooth();
        p.setPen(QPen(Rgb(0x141414), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Rgb(0xFFE27A));
        p.drawPath(bolt);
        break;
    }
    }
    return c.Finish();
}

QImage LegendDot(const QColor& colour)
{
    const char* const dot[] = {"..####..", ".######.", "########", "########",
                               "########", "########", ".######.", "..####.."};
    Canvas c(8, 8);
    c.Pattern(0, 0, dot, 8, colour);
    c.Fill(QRect(2, 2, 2, 1), Mix(colour, White, 0.5));
    return c.Finish();
}

QImage PowerDial(int level)
{
    Canvas c(140, 84);
    QPainter& p = c.Smooth();
    p.setPen(Qt::NoPen);
    constexpr double Inner = 40;
    constexpr double Outer = 63;
    constexpr double Gap = 1.4;   // degrees left free on each side of a segment
    double needle = 90;
    // Wedge k (2 .. 9) stands for level k + 1; levels up to the current one are lit.
    for (int k = 2; k <= 9; ++k) {
        const double from = AngleOf(DialCorners[k - 1]) + Gap;
        const double to = AngleOf(DialCorners[k - 2]) - Gap;
        const bool lit = k + 1 <= level;
        const bool current = k + 1 == level;
        QColor fill = Rgb(0x363636);
        if (current)
            fill = AccentLight;
        else if (lit)
            fill = Mix(AccentDark, Accent, (k - 2) / 7.0);
        p.setBrush(lit ? Rgb(0x0E3A55) : Rgb(0x454545));
        p.drawPath(Segment(from, to, Inner, Outer));
        p.setBrush(fill);
        p.drawPath(Segment(from + 0.8, to - 0.8, Inner + 1.2, Outer - 1.2));
        if (current)
            needle = (from + to) / 2;
    }
    // Level numbers in the middle of their segments.
    for (int k = 2; k <= 9; ++k) {
        const double mid = (AngleOf(DialCorners[k - 1]) + AngleOf(DialCorners[k - 2])) / 2;
        const double rad = mid * std::numbers::pi / 180.0;
        const double r = (Inner + Outer) / 2;
        const int cx = static_cast<int>(std::lround(DialApex.x() + r * std::cos(rad)));
        const int cy = static_cast<int>(std::lround(DialApex.y() - r * std::sin(rad)));
        const std::string text = std::to_string(k + 1);
        const QColor ink = k + 1 == level ? AccentInk : k + 1 < level ? White : Rgb(0x8A8A8A);
        c.TextCentred(QRect(cx - 8, cy - 5, 16, 10), text, ink);
    }
    // Needle and hub.
    QPainter& q = c.Smooth();
    q.setPen(Qt::NoPen);
    const double rad = needle * std::numbers::pi / 180.0;
    const QPointF dir(std::cos(rad), -std::sin(rad));
    const QPointF side(-dir.y(), dir.x());
    QPainterPath hand;
    hand.moveTo(DialApex + side * 3.5);
    hand.lineTo(DialApex + dir * 34 + side * 1.0);
    hand.lineTo(DialApex + dir * 34 - side * 1.0);
    hand.lineTo(DialApex - side * 3.5);
    hand.closeSubpath();
    q.setBrush(AccentLight);
    q.drawPath(hand);
    q.setBrush(Rgb(0x141414));
    q.drawEllipse(DialApex, 9, 9);
    q.setBrush(Rgb(0x4B4B4B));
    q.drawEllipse(DialApex, 7.5, 7.5);
    q.setBrush(Accent);
    q.drawEllipse(DialApex, 3, 3);
    return c.Finish();
}

} // namespace skingen
