#include "canvas.h"

#include "pixel_font.h"

#include <algorithm>
#include <cmath>

namespace skingen {

namespace {

// 96 dots per inch, written into every file so that no file depends on the machine's screen.
constexpr int DotsPerMeter = 3780;

// How many pixels row i (counted from the top or bottom edge) of a rounded rectangle of the
// given radius is cut in from the side.
int CornerInset(int radius, int i)
{
    if (i >= radius)
        return 0;
    const double dy = radius - i - 0.5;
    return static_cast<int>(std::lround(radius - std::sqrt(radius * radius - dy * dy)));
}

} // namespace

QColor Mix(const QColor& a, const QColor& b, double t)
{
    t = std::clamp(t, 0.0, 1.0);
    auto mix = [t](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * t)); };
    return QColor(mix(a.red(), b.red()), mix(a.green(), b.green()), mix(a.blue(), b.blue()),
                  mix(a.alpha(), b.alpha()));
}

Canvas::Canvas(int width, int height, QColor background)
    : image_(width, height, QImage::Format_ARGB32_Premultiplied)
{
    image_.fill(background);
    painter_ = std::make_unique<QPainter>(&image_);
}

Canvas::~Canvas() = default;

QPainter& Canvas::Smooth()
{
    painter_->setRenderHint(QPainter::Antialiasing, true);
    return *painter_;
}

void Canvas::Fill(const QRect& r, const QColor& c)
{
    painter_->setRenderHint(QPainter::Antialiasing, false);
    painter_->fillRect(r, c);
}

void Canvas::Replace(const QRect& r, const QColor& c)
{
    painter_->setRenderHint(QPainter::Antialiasing, false);
    const auto mode = painter_->compositionMode();
    painter_->setCompositionMode(QPainter::CompositionMode_Source);
    painter_->fillRect(r, c);
    painter_->setCompositionMode(mode);
}

void Canvas::Border(const QRect& r, int t, const QColor& c)
{
    Fill(QRect(r.left(), r.top(), r.width(), t), c);
    Fill(QRect(r.left(), r.bottom() - t + 1, r.width(), t), c);
    Fill(QRect(r.left(), r.top() + t, t, r.height() - 2 * t), c);
    Fill(QRect(r.right() - t + 1, r.top() + t, t, r.height() - 2 * t), c);
}

void Canvas::VGradient(const QRect& r, const QColor& top, const QColor& bottom)
{
    const int n = r.height();
    for (int i = 0; i < n; ++i)
        Fill(QRect(r.left(), r.top() + i, r.width(), 1), Mix(top, bottom, n > 1 ? double(i) / (n - 1) : 0));
}

void Canvas::HGradient(const QRect& r, const QColor& left, const QColor& right)
{
    const int n = r.width();
    for (int i = 0; i < n; ++i)
        Fill(QRect(r.left() + i, r.top(), 1, r.height()), Mix(left, right, n > 1 ? double(i) / (n - 1) : 0));
}

void Canvas::RoundFill(const QRect& r, int radius, const QColor& top, const QColor& bottom)
{
    const int n = r.height();
    radius = std::min({radius, r.width() / 2, n / 2});
    for (int i = 0; i < n; ++i) {
        const int inset = std::max(CornerInset(radius, i), CornerInset(radius, n - 1 - i));
        const QColor c = Mix(top, bottom, n > 1 ? double(i) / (n - 1) : 0);
        Fill(QRect(r.left() + inset, r.top() + i, r.width() - 2 * inset, 1), c);
    }
}

void Canvas::RoundPanel(const QRect& r, int radius, int t, const QColor& rim, const QColor& top,
                        const QColor& bottom)
{
    RoundFill(r, radius, rim);
    RoundFill(r.adjusted(t, t, -t, -t), std::max(radius - t, 0), top, bottom);
}

void Canvas::Pattern(int x, int y, const char* const* rows, int rowCount, const QColor& c, int scale)
{
    for (int j = 0; j < rowCount; ++j)
        for (int i = 0; rows[j][i] != '\0'; ++i)
            if (rows[j][i] == '#')
                Fill(QRect(x + i * scale, y + j * scale, scale, scale), c);
}

void Canvas::Text(int x, int y, std::string_view text, const QColor& c, int scale)
{
    for (char ch : text) {
        if (const char* const* rows = Glyph(ch))
            Pattern(x, y, rows, GlyphHeight, c, scale);
        x += (GlyphWidth + 1) * scale;
    }
}

void Canvas::TextCentred(const QRect& r, std::string_view text, const QColor& c, int scale)
{
    const int w = TextWidth(text) * scale;
    const int h = GlyphHeight * scale;
    Text(r.left() + (r.width() - w) / 2, r.top() + (r.height() - h) / 2, text, c, scale);
}

void Canvas::TriangleDown(int x, int y, int size, const QColor& c)
{
    for (int k = 0; 2 * k < size; ++k)
        Fill(QRect(x + k, y + k, size - 2 * k, 1), c);
}

void Canvas::TriangleUp(int x, int y, int size, const QColor& c)
{
    const int h = (size + 1) / 2;
    for (int k = 0; k < h; ++k)
        Fill(QRect(x + k, y + h - 1 - k, size - 2 * k, 1), c);
}

void Canvas::TriangleRight(int x, int y, int size, const QColor& c)
{
    for (int k = 0; 2 * k < size; ++k)
        Fill(QRect(x + k, y + k, 1, size - 2 * k), c);
}

QImage Canvas::Finish(bool opaque)
{
    painter_.reset();
    QImage out = image_.convertToFormat(opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32);
    out.setDotsPerMeterX(DotsPerMeter);
    out.setDotsPerMeterY(DotsPerMeter);
    return out;
}

} // namespace skingen
