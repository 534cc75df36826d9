#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QRect>

#include <memory>
#include <string_view>

// Drawing surface of one skin image. Most shapes are filled on whole pixels without smoothing so
// that nearest-neighbour stretching at 1.5 and 2 keeps them sharp; round shapes that need
// smoothing go through Smooth().
namespace skingen {

class Canvas {
public:
    Canvas(int width, int height, QColor background = Qt::transparent);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    int Width() const { return image_.width(); }
    int Height() const { return image_.height(); }
    QRect Rect() const { return image_.rect(); }

    // Painter without smoothing (source-over).
    QPainter& Paint() { return *painter_; }
    // Painter with smoothing on, restored to crisp drawing by the next call of Paint-based helpers.
    QPainter& Smooth();

    void Fill(const QRect& r, const QColor& c);
    // Replaces the pixels instead of blending (to punch transparent holes).
    void Replace(const QRect& r, const QColor& c);
    // A border of thickness t drawn inside r.
    void Border(const QRect& r, int t, const QColor& c);
    void VGradient(const QRect& r, const QColor& top, const QColor& bottom);
    void HGradient(const QRect& r, const QColor& left, const QColor& right);
    // Rectangle with corners cut to a pixel circle of the given radius; the colour may change
    // from top to bottom.
    void RoundFill(const QRect& r, int radius, const QColor& top, const QColor& bottom);
    void RoundFill(const QRect& r, int radius, const QColor& c) { RoundFill(r, radius, c, c); }
    // A rounded panel: border of thickness t in `rim`, inside a vertical gradient.
    void RoundPanel(const QRect& r, int radius, int t, const QColor& rim, const QColor& top,
                    const QColor& bottom);
    // Pixel pattern: rows of '#' (set) and anything else (clear), each pixel scale × scale.
    void Pattern(int x, int y, const char* const* rows, int rowCount, const QColor& c, int scale = 1);
    // Text in the pixel font; each font pixel becomes scale × scale image pixels.
    void Text(int x, int y, std::string_view text, const QColor& c, int scale = 1);
    // Text centred in r (rounded towards the top-left when the room is odd).
    void TextCentred(const QRect& r, std::string_view text, const QColor& c, int scale = 1);
    // Solid triangles on whole pixels: a tip pointing down, up or right; `size` is the length of
    // the base side, the height is (size + 1) / 2.
    void TriangleDown(int x, int y, int size, const QColor& c);
    void TriangleUp(int x, int y, int size, const QColor& c);
    void TriangleRight(int x, int y, int size, const QColor& c);

    // Finishes painting; the image is 32-bit with alpha (or without, when opaque) and carries
    // a fixed resolution so that the written files are the same on every run.
    QImage Finish(bool opaque = false);

private:
    QImage image_;
    std::unique_ptr<QPainter> painter_;
};

// Linear mix of two colours, t = 0 gives a, t = 1 gives b.
QColor Mix(const QColor& a, const QColor& b, double t);

} // namespace skingen
