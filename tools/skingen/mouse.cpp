#include "art.h"

#include "canvas.h"
#include "palette.h"

#include <QPainterPath>
#include <QTransform>

#include <string>

namespace skingen {

using namespace colour;

namespace {

// The mouse seen from above in its 215 × 398 picture, symmetric about x = 107.5. The button
// numbers the main window lays over the picture (24 × 24 badges at fixed places) land on the
// parts drawn here: 1 and 2 on the main buttons, 3 on the wheel, 4 and 5 on the side buttons.
constexpr double MidX = 107.5;

struct Cubic {
    QPointF c1, c2, to;
};

QPointF Mirror(const QPointF& p) { return QPointF(2 * MidX - p.x(), p.y()); }

QPainterPath Body()
{
    const QPointF start(MidX, 12);
    const Cubic left[] = {
        {{70, 12}, {44, 24}, {32, 52}},
        {{22, 76}, {14, 110}, {12, 150}},
        {{10, 190}, {10, 232}, {14, 272}},
        {{18, 322}, {34, 370}, {68, 386}},
        {{84, 392}, {96, 393}, {MidX, 393}},
    };
    QPainterPath path(start);
    for (const Cubic& s : left)
        path.cubicTo(s.c1, s.c2, s.to);
    // Back up the right side: each left segment mirrored and run backwards.
    const int n = static_cast<int>(std::size(left));
    for (int i = n - 1; i >= 0; --i) {
        const QPointF from = i > 0 ? left[i - 1].to : start;
        path.cubicTo(Mirror(left[i].c2), Mirror(left[i].c1), Mirror(from));
    }
    path.closeSubpath();
    return path;
}

// The line where the two main buttons end and the palm begins, left half.
QPainterPath ButtonEdge()
{
    QPainterPath path(QPointF(0, 190));
    path.cubicTo(QPointF(40, 177), QPointF(80, 168), QPointF(MidX, 168));
    path.cubicTo(QPointF(135, 168), QPointF(175, 177), QPointF(215, 190));
    return path;
}

QPainterPath MainButton(bool right)
{
    QPainterPath area;
    if (!right) {
        area.moveTo(0, 0);
        area.lineTo(MidX - 2, 0);
        area.lineTo(MidX - 2, 168);
        area.cubicTo(QPointF(80, 168), QPointF(40, 177), QPointF(0, 190));
    } else {
        area.moveTo(215, 0);
        area.lineTo(MidX + 2, 0);
        area.lineTo(MidX + 2, 168);
        area.cubicTo(QPointF(135, 168), QPointF(175, 177), QPointF(215, 190));
    }
    area.closeSubpath();
    return area.intersected(Body());
}

QPainterPath Rounded(const QRectF& r, double radius)
{
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    return path;
}

void Badge(Canvas& c, int number, const QRect& r)
{
    QPainter& p = c.Smooth();
    p.setPen(Qt::NoPen);
    p.setBrush(Rgb(0x000000, 150));
    p.drawEllipse(QRectF(r));
    p.setBrush(White);
    p.drawEllipse(QRectF(r).adjusted(1, 1, -1, -1));
    p.setBrush(Accent);
    p.drawEllipse(QRectF(r).adjusted(3, 3, -3, -3));
    c.TextCentred(r, std::to_string(number), White, 2);
}

} // namespace

QImage MousePicture()
{
    Canvas c(215, 398);
    const QPainterPath body = Body();
    QPainter& p = c.Smooth();

    // Soft shadow, built from widening strokes of the outline shifted down and right.
    const QPainterPath shadow = body.translated(3, 4);
    for (int i = 0; i < 4; ++i) {
        p.setPen(QPen(Rgb(0x000000, 22), 8 - 2 * i, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(shadow);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(Rgb(0x000000, 120));
    p.drawPath(shadow);

    // Shell.
    QRadialGradient shell(QPointF(MidX, 250), 210, QPointF(MidX, 230));
    shell.setColorAt(0, Rgb(0x3C3C3C));
    shell.setColorAt(1, Rgb(0x1A1A1A));
    p.setBrush(shell);
    p.drawPath(body);

    // Main buttons with a sheen near their front.
    for (bool right : {false, true}) {
        QLinearGradient g(0, 12, 0, 190);
        g.setColorAt(0, Rgb(0x3A3A3A));
        g.setColorAt(1, Rgb(0x282828));
        p.setBrush(g);
        p.drawPath(MainButton(right));
        QRadialGradient sheen(QPointF(right ? 160 : 55, 70), 55);
        sheen.setColorAt(0, Rgb(0xFFFFFF, 34));
        sheen.setColorAt(1, Rgb(0xFFFFFF, 0));
        p.setBrush(sheen);
        p.drawPath(MainButton(right));
    }

    // Seams: between the buttons and along the button edge.
    p.save();
    p.setClipPath(body);
    p.setBrush(Rgb(0x0C0C0C));
    p.drawRect(QRectF(MidX - 2, 0, 4, 168));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Rgb(0x0C0C0C), 3));
    p.drawPath(ButtonEdge());
    p.setPen(QPen(Rgb(0x4A4A4A), 1));
    p.drawPath(ButtonEdge().translated(0, 2));

    // Lighting strip across the palm, drawn as a glow and a bright core.
    QPainterPath strip(QPointF(30, 340));
    strip.cubicTo(QPointF(70, 362), QPointF(145, 362), QPointF(185, 340));
    p.setPen(QPen(Rgb(0x35A0DE, 50), 10, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(strip);
    p.setPen(QPen(Accent, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(strip);
    p.restore();

    // Wheel in its lit well.
    p.setPen(Qt::NoPen);
    p.setBrush(Rgb(0x35A0DE, 70));
    p.drawPath(Rounded(QRectF(94.5, 56, 26, 62), 11));
    p.setBrush(Rgb(0x0A0A0A));
    p.drawPath(Rounded(QRectF(97.5, 59, 20, 56), 8));
    QLinearGradient wheel(0, 63, 0, 111);
    wheel.setColorAt(0, Rgb(0x6A6A6A));
    wheel.setColorAt(0.5, Rgb(0x4A4A4A));
    wheel.setColorAt(1, Rgb(0x262626));
    p.setBrush(wheel);
    p.drawPath(Rounded(QRectF(101.5, 63, 12, 48), 5));
    for (int y = 67; y < 109; y += 4)
        c.Fill(QRect(102, y, 11, 1), Rgb(0x1A1A1A, 200));

    // Button behind the wheel.
    QPainter& q = c.Smooth();
    q.setPen(QPen(Rgb(0x0C0C0C), 2));
    q.setBrush(Rgb(0x2E2E2E));
    q.drawPath(Rounded(QRectF(101.5, 126, 12, 22), 5));
    q.setPen(Qt::NoPen);
    q.setBrush(AccentLight);
    q.drawEllipse(QPointF(MidX, 137), 2, 2);

    // Side buttons on the left flank.
    for (const QRectF& r : {QRectF(9, 136, 14, 32), QRectF(11, 185, 14, 32)}) {
        QLinearGradient g(r.left(), 0, r.right(), 0);
        g.setColorAt(0, Rgb(0x585858));
        g.setColorAt(1, Rgb(0x2A2A2A));
        q.setPen(QPen(Rgb(0x0A0A0A), 2));
        q.setBrush(g);
        q.drawPath(Rounded(r, 6.5));
    }

    // Mark on the palm.
    QPainterPath mark;
    mark.moveTo(91, 262);
    mark.lineTo(100, 262);
    mark.lineTo(MidX, 281);
    mark.lineTo(115, 262);
    mark.lineTo(124, 262);
    mark.lineTo(MidX, 294);
    mark.closeSubpath();
    q.setPen(QPen(Rgb(0x35A0DE, 60), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    q.setBrush(Accent);
    q.drawPath(mark);

    // Rim light inside the edge, then the dark outline.
    q.save();
    q.setClipPath(body);
    q.setPen(QPen(Rgb(0x8A8A8A, 90), 4));
    q.setBrush(Qt::NoBrush);
    q.drawPath(body);
    q.restore();
    q.setPen(QPen(Rgb(0x080808), 2));
    q.setBrush(Qt::NoBrush);
    q.drawPath(body);
    return c.Finish();
}

QImage ButtonNumber(int number)
{
    Canvas c(21, 19);
    c.RoundPanel(c.Rect(), 3, 1, AccentDark, Rgb(0x1B3142), Rgb(0x13212C));
    c.TextCentred(c.Rect(), std::to_string(number), AccentLight, 2);
    return c.Finish();
}

QImage NumberOverlay(int number)
{
    Canvas c(24, 24);
    Badge(c, number, c.Rect());
    return c.Finish();
}

QImage ProgramIcon()
{
    Canvas c(128, 128);
    QPainter& p = c.Smooth();
    p.setPen(Qt::NoPen);
    QLinearGradient back(0, 4, 0, 124);
    back.setColorAt(0, Rgb(0x303030));
    back.setColorAt(1, Rgb(0x141414));
    p.setBrush(Accent);
    p.drawPath(Rounded(QRectF(4, 4, 120, 120), 26));
    p.setBrush(back);
    p.drawPath(Rounded(QRectF(8, 8, 112, 112), 22));

    QTransform t;
    t.translate(64, 64);
    t.scale(0.265, 0.265);
    t.translate(-MidX, -202);
    const QPainterPath body = t.map(Body());
    QLinearGradient shell(0, 18, 0, 110);
    shell.setColorAt(0, Rgb(0x5A5A5A));
    shell.setColorAt(1, Rgb(0x222222));
    p.setBrush(shell);
    p.drawPath(body);
    p.save();
    p.setClipPath(body);
    p.setPen(QPen(Rgb(0x0C0C0C), 2.5));
    p.setBrush(Qt::NoBrush);
    p.drawPath(t.map(ButtonEdge()));
    p.drawLine(t.map(QPointF(MidX, 0)), t.map(QPointF(MidX, 168)));
    p.restore();
    p.setPen(Qt::NoPen);
    p.setBrush(AccentLight);
    p.drawPath(t.map(Rounded(QRectF(98.5, 60, 18, 54), 9)));
    p.setPen(QPen(Accent, 4));
    p.setBrush(Qt::NoBrush);
    p.drawPath(body);
    return c.Finish();
}

} // namespace skingen
