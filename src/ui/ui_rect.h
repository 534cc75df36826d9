#pragma once
// Rectangles the way the skinned windows measure them: left and top inside, right and bottom just
// outside, so width = right - left and a point on the right or bottom edge is not inside.

#include <QPoint>
#include <QRect>

#include <algorithm>

namespace vexmo {

struct UiRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    constexpr UiRect() = default;
    constexpr UiRect(int l, int t, int r, int b) : left(l), top(t), right(r), bottom(b) {}

    static UiRect FromQRect(const QRect& r) { return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }
    // The rectangle (x, y, w, h) of the design space, every edge multiplied by `scale` and truncated.
    static UiRect Scaled(int x, int y, int w, int h, float scale)
    {
        return {static_cast<int>(x * scale), static_cast<int>(y * scale), static_cast<int>((x + w) * scale),
                static_cast<int>((y + h) * scale)};
    }

    constexpr int Width() const { return right - left; }
    constexpr int Height() const { return bottom - top; }
    constexpr bool IsEmpty() const { return right <= left || bottom <= top; }
    constexpr bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool Contains(const QPoint& p) const { return Contains(p.x(), p.y()); }

    UiRect Intersected(const UiRect& o) const
    {
        UiRect r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right), std::min(bottom, o.bottom)};
        return r.IsEmpty() ? UiRect{} : r;
    }
    QRect ToQRect() const { return QRect(left, top, right - left, bottom - top); }

    friend constexpr bool operator==(const UiRect&, const UiRect&) = default;
};

// The "no rectangle" marker of the pressed-control bookkeeping.
inline constexpr UiRect kNoRect{-1, -1, -1, -1};

} // namespace vexmo
