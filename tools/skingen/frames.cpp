#include "art.h"

#include "canvas.h"
#include "palette.h"

#include <QPainterPath>

#include <algorithm>

namespace skingen {

using namespace colour;

namespace {

// Title strip of the dialogs: the close button sits at y 3 .. 4 and the title text at y 3,
// both within these rows.
constexpr int TitleHeight = 24;

// A horizontal accent line that fades out towards both ends.
void AccentLine(Canvas& c, int y, int left, int right, int fade)
{
    for (int x = left; x <= right; ++x) {
        const double t = std::min({1.0, double(x - left + 1) / fade, double(right - x + 1) / fade});
        c.Fill(QRect(x, y, 1, 1), Mix(Title, Accent, t));
        c.Fill(QRect(x, y + 1, 1, 1), Mix(Shadow, AccentDeep, t));
    }
}

// A groove down the window that separates the columns, fading at both ends.
void Groove(Canvas& c, int x, int top, int bottom)
{
    const int fade = 60;
    for (int y = top; y <= bottom; ++y) {
        const double t = std::min({1.0, double(y - top + 1) / fade, double(bottom - y + 1) / fade});
        c.Fill(QRect(x, y, 1, 1), Rgb(0x121212, static_cast<int>(255 * t)));
        c.Fill(QRect(x + 1, y, 1, 1), Rgb(0x3A3A3A, static_cast<int>(255 * t)));
    }
}

void WindowEdge(Canvas& c)
{
    c.Border(c.Rect(), 1, Shadow);
    c.Border(c.Rect().adjusted(1, 1, -1, -1), 1, Rgb(0x3A3A3A));
}

void DrawDialogFrame(Canvas& c)
{
    const int w = c.Width();
    const int h = c.Height();
    c.VGradient(QRect(0, TitleHeight, w, h - TitleHeight), Rgb(0x2C2C2C), Rgb(0x242424));
    c.VGradient(QRect(0, 0, w, TitleHeight), Rgb(0x1E1E1E), Rgb(0x171717));
    AccentLine(c, TitleHeight, 0, w - 1, w / 4);
    WindowEdge(c);
}

} // namespace

QImage DialogFrame(int width, int height)
{
    Canvas c(width, height);
    DrawDialogFrame(c);
    return c.Finish(true);
}

QImage ProgressFrame(bool filled)
{
    // The bar runs from x 8 to 419: the program copies the fill from x 0 up to at most 420
    // columns, so the fill image keeps the frame's own pixels left of the bar.
    Canvas c(429, 140);
    DrawDialogFrame(c);
    const QRect bar(8, 66, 412, 12);
    if (filled) {
        c.RoundPanel(bar, 3, 1, Rgb(0x0E3A55), AccentLight, AccentDark);
        c.Fill(QRect(bar.left() + 2, bar.top() + 2, bar.width() - 4, 1), Rgb(0xB8E4FB));
    } else {
        c.RoundPanel(bar, 3, 1, Edge, Rgb(0x161616), Rgb(0x222222));
    }
    return c.Finish(true);
}

QImage SectionFrame()
{
    // Stretched over boxes from 43 to 205 high and 230 to 262 wide: every line is two pixels
    // thick so that shrinking by nearly half still keeps one of them.
    Canvas c(230, 82);
    c.VGradient(c.Rect(), Rgb(0x2F2F2F), Rgb(0x2A2A2A));
    c.Border(c.Rect(), 2, Edge);
    c.Border(c.Rect().adjusted(2, 2, -2, -2), 2, Rgb(0x363636));
    return c.Finish(true);
}

QImage MainBackground()
{
    Canvas c(1127, 740);
    c.VGradient(c.Rect(), Rgb(0x292929), Rgb(0x1E1E1E));

    QPainter& p = c.Smooth();
    p.setPen(Qt::NoPen);
    // A blue glow behind the mouse picture (457, 171, 215 × 398) and a shadow it stands on.
    QRadialGradient glow(QPointF(564, 360), 330);
    glow.setColorAt(0, Rgb(0x35A0DE, 46));
    glow.setColorAt(0.55, Rgb(0x35A0DE, 14));
    glow.setColorAt(1, Rgb(0x35A0DE, 0));
    p.setBrush(glow);
    p.drawRect(QRectF(234, 30, 660, 660));
    QRadialGradient floor(QPointF(0, 0), 1);
    floor.setColorAt(0, Rgb(0x000000, 110));
    floor.setColorAt(1, Rgb(0x000000, 0));
    p.save();
    p.translate(567, 572);
    p.scale(130, 18);
    p.setBrush(floor);
    p.drawEllipse(QPointF(0, 0), 1, 1);
    p.restore();

    // Title strip with the window buttons (y 12 .. 26) and the program's mark.
    c.VGradient(QRect(0, 0, 1127, 30), Rgb(0x1D1D1D), Rgb(0x151515));
    AccentLine(c, 30, 0, 1126, 300);
    const char* const mark[] = {
        "..###..",
        ".#.#.#.",
        "#..#..#",
        "#######",
        "#.....#",
        "#.....#",
        "#.....#",
        ".#...#.",
        "..###..",
    };
    c.Pattern(16, 10, mark, 9, Accent, 1);
    c.Text(30, 11, "VEXMO", Text);

    // Grooves between the left column, the centre and the right column.
    Groove(c, 286, 44, 724);
    Groove(c, 826, 44, 724);

    WindowEdge(c);
    return c.Finish(true);
}

} // namespace skingen
