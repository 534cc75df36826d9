#include "art.h"

#include "canvas.h"
#include "palette.h"

#include <QPainterPath>

#include <string>

namespace skingen {

using namespace colour;

namespace {

const char* const CloseGlyph[] = {
    "##...##",
    "###.###",
    ".#####.",
    "..###..",
    ".#####.",
    "###.###",
    "##...##",
};

// Three-pixel strokes: the macro manager shrinks this image to 11 × 11, which drops every fourth
// row and column, and the mark must stay whole.
const char* const CheckGlyph[] = {
    "........##",
    ".......###",
    "......###.",
    "##...###..",
    "###.###...",
    ".#####....",
    "..###.....",
    "...#......",
};

const char* const SmallCheckGlyph[] = {
    "......#",
    ".....##",
    "#...##.",
    "##.##..",
    ".###...",
    "..#....",
};

// A small mouse seen from above, for the button that opens the desktop's mouse settings.
const char* const MouseGlyph[] = {
    "...####...",
    ".##.##.##.",
    "#...##...#",
    "#...##...#",
    "#...##...#",
    "##########",
    "#........#",
    "#........#",
    "#........#",
    "#........#",
    ".#......#.",
    "..######..",
};

void RaisedButton(Canvas& c, const QRect& r, State state)
{
    if (state == State::Normal) {
        c.RoundPanel(r, 3, 1, Edge, Rgb(0x4A4A4A), Rgb(0x363636));
        c.Fill(QRect(r.left() + 2, r.top() + 1, r.width() - 4, 1), Rgb(0x5C5C5C));
    } else {
        c.RoundPanel(r, 3, 1, Rgb(0x0E3A55), Accent, AccentDark);
        c.Fill(QRect(r.left() + 2, r.top() + 1, r.width() - 4, 1), Rgb(0x8AD2F7));
    }
}

} // namespace

QImage WindowButton(bool close, State state)
{
    Canvas c(15, 15);
    const bool lit = state != State::Normal;
    if (!lit)
        c.RoundPanel(c.Rect(), 3, 1, Line, Rgb(0x3A3A3A), Rgb(0x2C2C2C));
    else if (close)
        c.RoundPanel(c.Rect(), 3, 1, Rgb(0xF07070), Red, RedDark);
    else
        c.RoundPanel(c.Rect(), 3, 1, AccentLight, Accent, AccentDark);
    const QColor ink = lit ? White : Text;
    if (close)
        c.Pattern(4, 4, CloseGlyph, 7, ink);
    else
        c.Fill(QRect(4, 9, 7, 2), ink);
    return c.Finish();
}

QImage CheckBox(State state)
{
    Canvas c(15, 15);
    switch (state) {
    case State::Normal:
        c.RoundPanel(c.Rect(), 3, 2, LineLight, Sunken, Rgb(0x2A2A2A));
        break;
    case State::Hover:
        c.RoundPanel(c.Rect(), 3, 2, Accent, AccentInk, Sunken);
        break;
    case State::Down:
        c.RoundPanel(c.Rect(), 3, 2, AccentLight, Accent, AccentDark);
        c.Pattern(3, 3, CheckGlyph, 8, White);
        break;
    }
    return c.Finish();
}

QImage DpiCheckBox(State state)
{
    Canvas c(11, 11);
    switch (state) {
    case State::Normal:
        c.RoundPanel(c.Rect(), 2, 1, LineLight, Sunken, Rgb(0x2A2A2A));
        break;
    case State::Hover:
        c.RoundPanel(c.Rect(), 2, 1, AccentLight, AccentDeep, AccentInk);
        break;
    case State::Down:
        c.RoundPanel(c.Rect(), 2, 1, AccentLight, Accent, AccentDark);
        c.Pattern(2, 3, SmallCheckGlyph, 6, White);
        break;
    }
    return c.Finish();
}

QImage RadioButton(State state)
{
    Canvas c(15, 15);
    QPainter& p = c.Smooth();
    p.setPen(Qt::NoPen);
    p.setBrush(state == State::Normal ? LineLight : Accent);
    p.drawEllipse(QRectF(0, 0, 15, 15));
    p.setBrush(state == State::Hover ? AccentInk : Sunken);
    p.drawEllipse(QRectF(2, 2, 11, 11));
    if (state == State::Down) {
        p.setBrush(AccentLight);
        p.drawEllipse(QRectF(4, 4, 7, 7));
        p.setBrush(White);
        p.drawEllipse(QRectF(5.5, 5.5, 4, 4));
    }
    return c.Finish();
}

QImage ComboBox(int width, int height, State state)
{
    Canvas c(width, height);
    const bool lit = state != State::Normal;
    const int arrowBox = height + 1;
    const int radius = height >= 20 ? 3 : 2;
    if (lit)
        c.RoundPanel(c.Rect(), radius, 1, Accent, Rgb(0x1E3446), Rgb(0x172633));
    else
        c.RoundPanel(c.Rect(), radius, 1, Line, Rgb(0x1C1C1C), Rgb(0x242424));
    // The arrow sits in its own box at the right end.
    c.Fill(QRect(width - arrowBox, 2, 1, height - 4), lit ? AccentDark : Rgb(0x3C3C3C));
    const int size = height >= 20 ? 9 : 7;
    c.TriangleDown(width - arrowBox + (arrowBox - size) / 2 + 1, (height - (size + 1) / 2) / 2, size,
                   lit ? AccentLight : Text);
    return c.Finish();
}

QImage SectionHeader(State state)
{
    Canvas c(262, 25);
    if (state == State::Down) {
        c.VGradient(c.Rect(), Rgb(0x1F5070), AccentDeep);
        c.Fill(QRect(0, 0, 262, 1), Rgb(0x2C77A6));
        c.Fill(QRect(0, 23, 262, 2), Accent);
        c.Fill(QRect(0, 0, 1, 23), Edge);
        c.Fill(QRect(261, 0, 1, 23), Edge);
        c.TriangleDown(241, 10, 11, AccentLight);
    } else {
        c.VGradient(c.Rect(), Rgb(0x3E3E3E), Rgb(0x303030));
        c.Fill(QRect(0, 0, 262, 1), Rgb(0x4E4E4E));
        c.Fill(QRect(0, 24, 262, 1), Edge);
        c.Fill(QRect(0, 0, 1, 24), Edge);
        c.Fill(QRect(261, 0, 1, 24), Edge);
        c.TriangleRight(244, 7, 11, Text);
    }
    return c.Finish();
}

QImage SectionTitle(State state)
{
    Canvas c(230, 25);
    if (state == State::Down) {
        c.VGradient(c.Rect(), Rgb(0x1F5070), AccentDeep);
        c.Fill(QRect(0, 0, 230, 1), Rgb(0x2C77A6));
        c.Fill(QRect(0, 23, 230, 2), AccentLight);
    } else {
        c.VGradient(c.Rect(), Rgb(0x3A3A3A), Rgb(0x2E2E2E));
        c.Fill(QRect(0, 0, 230, 1), Rgb(0x4A4A4A));
        c.Fill(QRect(0, 23, 230, 2), Accent);
    }
    c.Fill(QRect(0, 0, 1, 23), Edge);
    c.Fill(QRect(229, 0, 1, 23), Edge);
    return c.Finish();
}

QImage PushButton(int width, int height, State state)
{
    Canvas c(width, height);
    RaisedButton(c, c.Rect(), state);
    return c.Finish();
}

QImage SettingsButton()
{
    Canvas c(215, 45);
    RaisedButton(c, c.Rect(), State::Normal);
    c.Fill(QRect(2, 43, 211, 1), Rgb(0x2A2A2A));
    c.Pattern(16, 16, MouseGlyph, 12, AccentLight, 1);
    c.Fill(QRect(15, 13, 12, 1), Rgb(0x4E4E4E));
    return c.Finish();
}

QImage ProfileTab(bool selected, State state)
{
    Canvas c(162, 21);
    const bool hover = state != State::Normal;
    if (!selected) {
        if (hover)
            c.RoundPanel(c.Rect(), 2, 1, LineLight, Rgb(0x404040), Rgb(0x343434));
        else
            c.RoundPanel(c.Rect(), 2, 1, Rgb(0x404040), Rgb(0x303030), Rgb(0x282828));
    } else {
        if (hover)
            c.RoundPanel(c.Rect(), 2, 1, AccentLight, Rgb(0x24618A), AccentDeep);
        else
            c.RoundPanel(c.Rect(), 2, 1, Accent, AccentDeep, Rgb(0x133349));
        c.Fill(QRect(1, 2, 3, 17), hover ? White : AccentLight);
    }
    return c.Finish();
}

QImage MenuRow(bool subList, State state)
{
    Canvas c(160, 22);
    const bool lit = state != State::Normal;
    if (lit) {
        c.VGradient(c.Rect(), Accent, AccentDark);
        c.Fill(QRect(0, 0, 160, 1), Rgb(0x6CC0EE));
    } else {
        c.Fill(c.Rect(), Rgb(0x2A2A2A));
        c.Fill(QRect(6, 21, 148, 1), Rgb(0x333333));
    }
    if (subList)
        c.TriangleRight(149, 7, 9, lit ? White : Text);
    return c.Finish();
}

QImage PopupBackground()
{
    Canvas c(162, 162, Rgb(0x2A2A2A));
    c.Border(c.Rect(), 1, Line);
    return c.Finish();
}

QImage ScrollArrows(bool up)
{
    Canvas c(54, 18);
    for (int k = 0; k < 3; ++k) {
        const QRect frame(18 * k, 0, 18, 18);
        QColor ink = Text;
        if (k == 0)
            c.RoundPanel(frame, 2, 1, Rgb(0x323232), Rgb(0x282828), Rgb(0x1E1E1E));
        else if (k == 1) {
            c.RoundPanel(frame, 2, 1, AccentDark, Rgb(0x1E3446), Rgb(0x172633));
            ink = AccentLight;
        } else {
            c.RoundPanel(frame, 2, 1, AccentLight, Accent, AccentDark);
            ink = White;
        }
        if (up)
            c.TriangleUp(frame.left() + 4, 6, 10, ink);
        else
            c.TriangleDown(frame.left() + 4, 7, 10, ink);
    }
    return c.Finish();
}

QImage SliderTrack()
{
    Canvas c(145, 3);
    c.Fill(QRect(1, 0, 143, 1), Rgb(0x141414));
    c.Fill(QRect(0, 1, 145, 1), Rgb(0x6A6A6A));
    c.Fill(QRect(1, 2, 143, 1), Rgb(0x141414));
    return c.Finish();
}

QImage SliderThumb()
{
    Canvas c(13, 13);
    QPainter& p = c.Smooth();
    p.setPen(Qt::NoPen);
    p.setBrush(AccentInk);
    p.drawEllipse(QRectF(0, 0, 13, 13));
    p.setBrush(Accent);
    p.drawEllipse(QRectF(1, 1, 11, 11));
    p.setBrush(White);
    p.drawEllipse(QRectF(4, 4, 5, 5));
    return c.Finish();
}

QImage DpiGauge(bool fill)
{
    Canvas c(7, 132);
    c.RoundFill(c.Rect(), 2, Rgb(0x121212));
    const QRect inner = c.Rect().adjusted(1, 1, -1, -1);
    if (fill) {
        c.RoundFill(inner, 1, AccentLight, AccentDark);
        c.Fill(QRect(2, 2, 1, 128), Rgb(0xFFFFFF, 60));
    } else {
        c.RoundFill(inner, 1, Rgb(0x2C2C2C), Rgb(0x242424));
        // Marks at the quarters help reading the level of a half-filled gauge.
        for (int y : {33, 66, 99})
            c.Fill(QRect(1, y, 5, 1), Rgb(0x3A3A3A));
    }
    return c.Finish();
}

QImage DpiValue()
{
    Canvas c(26, 11);
    // The DPI number is drawn over it and may be wider than 26: keep it a faint plate.
    c.RoundFill(c.Rect(), 3, Rgb(0x000000, 90), Rgb(0x000000, 60));
    return c.Finish();
}

QImage RateButton(int hertz, State state)
{
    // The four buttons form a 2 × 2 block whose centre shows the chosen rate's caption; each
    // button is the quarter of that block it occupies, with a round bite around the centre.
    int hubX = 0;
    int hubY = 0;
    switch (hertz) {
    case 125: hubX = 72; hubY = 72; break;   // top left
    case 1000: hubX = 0; hubY = 72; break;   // top right
    case 250: hubX = 72; hubY = 0; break;    // bottom left
    default: hubX = 0; hubY = 0; break;      // 500: bottom right
    }
    const bool lit = state != State::Normal;
    Canvas c(72, 72);
    QPainterPath outer;
    outer.addRoundedRect(QRectF(3, 3, 66, 66), 8, 8);
    QPainterPath bite;
    bite.addEllipse(QPointF(hubX, hubY), 31, 31);
    QPainterPath inner;
    inner.addRoundedRect(QRectF(5, 5, 62, 62), 6, 6);
    QPainterPath innerBite;
    innerBite.addEllipse(QPointF(hubX, hubY), 33, 33);

    QPainter& p = c.Smooth();
    p.setPen(Qt::NoPen);
    p.setBrush(lit ? Accent : Rgb(0x4E4E4E));
    p.drawPath(outer.subtracted(bite));
    QLinearGradient g(0, 5, 0, 67);
    g.setColorAt(0, lit ? Rgb(0x236089) : Rgb(0x3C3C3C));
    g.setColorAt(1, lit ? AccentDeep : Rgb(0x2C2C2C));
    p.setBrush(g);
    p.drawPath(inner.subtracted(innerBite));

    const std::string label = std::to_string(hertz);
    const int labelX = hubX == 0 ? 42 : 30;
    const int labelY = hubY == 0 ? 44 : 28;
    const int w = static_cast<int>(label.size()) * 12 - 2;
    c.Text(labelX - w / 2, labelY - 12, label, lit ? White : Text, 2);
    c.Text(labelX - 5, labelY + 6, "Hz", lit ? AccentLight : Rgb(0x8A8A8A));
    return c.Finish();
}

QImage RecordButton(State state)
{
    Canvas c(90, 18);
    const char* const dot[] = {".####.", "######", "######", "######", "######", ".####."};
    if (state == State::Normal) {
        RaisedButton(c, c.Rect(), State::Normal);
        c.Pattern(7, 6, dot, 6, Rgb(0xB03A3A));
    } else {
        c.RoundPanel(c.Rect(), 3, 1, Rgb(0x4A0E0E), Rgb(0xB83434), Rgb(0x7A1C1C));
        c.Fill(QRect(2, 1, 86, 1), Rgb(0xE07070));
        c.Pattern(7, 6, dot, 6, Rgb(0xFFD0D0));
        c.Fill(QRect(9, 8, 2, 2), White);
    }
    return c.Finish();
}

QImage Folder(bool open)
{
    Canvas c(16, 14);
    c.Fill(QRect(1, 1, 6, 1), GoldDark);
    c.Fill(QRect(0, 2, 8, 2), GoldDark);
    if (!open) {
        c.RoundPanel(QRect(0, 3, 16, 11), 1, 1, GoldDark, GoldLight, Gold);
        c.Fill(QRect(1, 4, 14, 1), Rgb(0xFBE3A8));
    } else {
        c.RoundPanel(QRect(0, 3, 15, 11), 1, 1, GoldDark, Rgb(0xA8781F), Rgb(0x8C6420));
        QPainter& p = c.Paint();
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(GoldDark);
        p.setBrush(GoldLight);
        const QPoint flap[] = {QPoint(3, 7), QPoint(15, 7), QPoint(12, 13), QPoint(0, 13)};
        p.drawPolygon(flap, 4);
    }
    return c.Finish();
}

QImage MacroIcon(ActionIcon icon)
{
    Canvas c(13, 13);
    switch (icon) {
    case ActionIcon::Delay: {
        QPainter& p = c.Smooth();
        p.setPen(Qt::NoPen);
        p.setBrush(Rgb(0xE0E0E0));
        p.drawEllipse(QRectF(0, 0, 13, 13));
        p.setBrush(Rgb(0x2E2E2E));
        p.drawEllipse(QRectF(1.5, 1.5, 10, 10));
        c.Fill(QRect(6, 3, 1, 4), White);
        c.Fill(QRect(6, 6, 3, 1), White);
        break;
    }
    case ActionIcon::Press:
        c.Fill(QRect(5, 0, 3, 6), AccentLight);
        c.TriangleDown(2, 6, 9, AccentLight);
        c.Fill(QRect(1, 11, 11, 2), Text);
        break;
    case ActionIcon::Release:
        c.Fill(QRect(1, 0, 11, 2), Text);
        c.TriangleUp(2, 2, 9, Orange);
        c.Fill(QRect(5, 7, 3, 6), Orange);
        break;
    }
    return c.Finish();
}

} // namespace skingen
