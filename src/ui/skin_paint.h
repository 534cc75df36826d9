#pragma once
// Drawing helpers shared by the skinned windows and controls: colours written 0x00BBGGRR, images
// stretched nearest-neighbour from a source rectangle, and text laid out as the skins expect.

#include "ui/ui_rect.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QString>

#include <cstdint>

namespace vexmo {

// A colour value 0x00BBGGRR.
using ColourRef = std::uint32_t;

constexpr ColourRef Rgb(int r, int g, int b)
{
    return static_cast<ColourRef>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
inline QColor ToQColor(ColourRef c)
{
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF));
}
inline ColourRef FromQColor(const QColor& c)
{
    return Rgb(c.red(), c.green(), c.blue());
}

// Text colours of the button family.
inline constexpr ColourRef kTextGrey = 0xB4B4B4;
inline constexpr ColourRef kTextWhite = 0xFFFFFF;
inline constexpr ColourRef kTextYellow = 0x00FFFF;

// Text layout flags; the low bits are the controls' alignment values (0 left, 1 centred,
// 2 right, 4 vertical centring).
inline constexpr unsigned kTextLeft = 0x0;
inline constexpr unsigned kTextCenter = 0x1;
inline constexpr unsigned kTextRight = 0x2;
inline constexpr unsigned kTextVCenter = 0x4;
inline constexpr unsigned kTextSingleLine = 0x20;
inline constexpr unsigned kTextWordEllipsis = 0x40000;

void FillSolid(QPainter& painter, const UiRect& rect, ColourRef colour);

// Draws `source` of `image` stretched over `target` without smoothing. An empty image, source or
// target draws nothing.
void DrawImageStretched(QPainter& painter, const QImage& image, const QRect& source, const QRect& target);
// The whole image over `target`.
void DrawImageOver(QPainter& painter, const QImage& image, const UiRect& target);

// Frame k of a strip of `frameCount` frames side by side.
QRect StripFrame(const QImage& strip, int frameCount, int k);

// Draws `text` into `rect` (clipped to it) in the colour with the layout flags. Single-line text
// is centred vertically when asked; text of several lines breaks only at line feeds, starts at the
// top (vertical centring applies to single lines only) and is never wrapped. With the ellipsis flag
// every line that does not fit ends in "...".
void DrawSkinText(QPainter& painter, const QFont& font, const QString& text, const UiRect& rect, ColourRef colour,
                  unsigned flags);

// Multiplies a length by the scale and truncates, as every scaled pixel size is taken.
inline int ScaledLength(int length, float scale)
{
    return static_cast<int>(static_cast<float>(length) * scale);
}

// Bottom-up fills (gauges, battery).
// The part of a fill picture to draw for a fill that starts at client row `fillTop` of a control
// whose bottom is `bottom`: the first source row and the drawn height. Keeps the source within
// the picture whatever the numbers.
struct FillRows {
    int sourceRow;
    int targetHeight;
};
FillRows FillRowsFor(int fillTop, int bottom, int imageHeight, float scale);

// The first client row of a bottom-up fill: one row less when the scale is above 1 and the fill
// height would be odd, so that the scaled picture's rows line up.
int AlignFillTop(int fillTop, int bottom, float scale);

} // namespace vexmo
