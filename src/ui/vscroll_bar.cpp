#include "ui/vscroll_bar.h"

#include "app/core/process_values.h"
#include "ui/image_loading.h"

#include <algorithm>

namespace vexmo {

namespace {

constexpr ColourRef kTrackColour = 0x101010;
constexpr ColourRef kThumbOuter = 0x1F1F1F;
constexpr ColourRef kThumbInner = 0x323232;
constexpr ColourRef kThumbHoverOuter = 0xDEA035;
constexpr ColourRef kThumbHoverInner = 0x1F1F1F;

int Nearest(double value)
{
    return static_cast<int>(value + 0.5);
}

} // namespace

CVScrollBar::CVScrollBar(CDlgBase* parent, std::uint32_t id, const UiRect& rect, const QString& title, bool visible,
                         bool shown, bool disabled)
    : CControlBase(parent, id, rect, title, visible, shown, disabled, true), thumbRect_(rect), trackRect_(rect)
{
}

bool CVScrollBar::LoadArrows()
{
    QImage up, down;
    const bool loaded = LoadImageFromResource(QStringLiteral("PNG"), 188, up) &&
                        LoadImageFromResource(QStringLiteral("PNG"), 187, down);
    SetArrows(up, down);
    return loaded;
}

void CVScrollBar::SetArrows(const QImage& upStrip, const QImage& downStrip)
{
    up_ = upStrip;
    down_ = downStrip;
    frameWidth_ = up_.width() / 3;
    frameHeight_ = up_.height();
    upRect_ = {Rect.left, Rect.top, Rect.right, Rect.top + frameHeight_ - 1};
    downRect_ = {Rect.left, Rect.bottom - frameHeight_ + 1, Rect.right, Rect.bottom};
    const int arrowHeight = ScaledLength(frameHeight_, UiScale);
    thumbRect_ = {Rect.left, Rect.top + arrowHeight, Rect.right, Rect.bottom - arrowHeight};
    trackRect_ = thumbRect_;
}

void CVScrollBar::SetScrollInfo(int position, int page, int range)
{
    if (range == 0) {
        thumbRect_ = trackRect_;
        return;
    }
    ScrollPos = position;
    Page = page;
    Range = range;
    const int trackHeight = trackRect_.bottom - trackRect_.top + 1;
    const int thumbHeight =
        std::min(trackHeight, Nearest(static_cast<double>(page) / range * trackHeight));
    const int top = trackRect_.top + Nearest(static_cast<double>(position) / range * trackHeight);
    thumbRect_ = {trackRect_.left, top, trackRect_.right, std::min(trackRect_.bottom, top + thumbHeight - 1)};
    Invalidate();
}

bool CVScrollBar::OnMouseMove(std::uint32_t, const QPoint& point)
{
    const int stateBefore = ButtonState;
    const bool upBefore = upHover_, downBefore = downHover_, thumbBefore = thumbHover_;
    if (!Disabled && ButtonState != kStatePressed) {
        if (Rect.Contains(point)) {
            ButtonState = kStateHover;
            upHover_ = upRect_.Contains(point);
            downHover_ = downRect_.Contains(point);
            thumbHover_ = thumbRect_.Contains(point);
        } else {
            ButtonState = kStateNormal;
            upHover_ = downHover_ = thumbHover_ = false;
        }
    }
    if (ButtonState == kStateNormal)
        dragging_ = false;

    if (dragging_) {
        const int anchor = dragRect_.top + grabOffset_;
        bool shifted = false;
        if (point.y() > anchor && dragRect_.bottom < trackRect_.bottom) {
            const int shift = std::min(point.y() - anchor, trackRect_.bottom - dragRect_.bottom);
            dragRect_.top += shift;
            dragRect_.bottom += shift;
            shifted = true;
        } else if (point.y() < anchor && dragRect_.top > trackRect_.top) {
            const int shift = std::min(anchor - point.y(), dragRect_.top - trackRect_.top);
            dragRect_.top -= shift;
            dragRect_.bottom -= shift;
            shifted = true;
        }
        if (shifted) {
            Invalidate();
            const int trackHeight = trackRect_.bottom - trackRect_.top + 1;
            const int position =
                static_cast<int>(static_cast<long long>(dragRect_.top - trackRect_.top) * Range / trackHeight);
            if (position != ScrollPos) {
                ScrollPos = position;
                Notify(NotifyValue, 0);
            }
        }
    }
    return ButtonState != stateBefore || upHover_ != upBefore || downHover_ != downBefore ||
           thumbHover_ != thumbBefore;
}

bool CVScrollBar::OnLButtonDown(std::uint32_t, const QPoint& point)
{
    if (Disabled || !Rect.Contains(point))
        return false;
    const int before = ButtonState;
    ButtonState = kStatePressed;
    if (thumbRect_.Contains(point)) {
        dragging_ = true;
        grabOffset_ = point.y() - thumbRect_.top;
        dragRect_ = thumbRect_;
    }
    WParam part = kScrollPartBelowThumb;
    if (upRect_.Contains(point))
        part = kScrollPartUpArrow;
    else if (downRect_.Contains(point))
        part = kScrollPartDownArrow;
    else if (thumbRect_.Contains(point))
        part = kScrollPartThumb;
    else if (point.y() < thumbRect_.top)
        part = kScrollPartAboveThumb;
    Notify(NotifyPress, part);
    return ButtonState != before;
}

bool CVScrollBar::OnLButtonUp(std::uint32_t, const QPoint& point)
{
    if (Disabled)
        return false;
    const int stateBefore = ButtonState;
    const bool thumbBefore = thumbHover_;
    if (Rect.Contains(point)) {
        ButtonState = kStateHover;
        dragging_ = false;
        Notify(NotifyClick);
    } else {
        ButtonState = kStateNormal;
        if (dragging_) {
            thumbHover_ = false;
            dragging_ = false;
            Notify(NotifyClick);
        }
    }
    // The thumb rests where the stored position puts it, wherever the drag left it.
    SetScrollInfo(ScrollPos, Page, Range);
    return ButtonState != stateBefore || thumbHover_ != thumbBefore;
}

void CVScrollBar::Draw(QPainter& dc, const UiRect&)
{
    const float s = UiScale;
    const int scaledOne = ScaledLength(1, s);
    FillSolid(dc, Rect, kTrackColour);
    const int w = ScaledLength(frameWidth_, s);
    const int h = ScaledLength(frameHeight_, s);
    if (!up_.isNull())
        DrawImageStretched(dc, up_, StripFrame(up_, 3, upHover_ ? 1 : 0), QRect(Rect.left, Rect.top, w, h));
    if (!down_.isNull())
        DrawImageStretched(dc, down_, StripFrame(down_, 3, downHover_ ? 1 : 0),
                           QRect(Rect.left, Rect.bottom - h + scaledOne, w, h));
    const UiRect& thumb = dragging_ ? dragRect_ : thumbRect_;
    const ColourRef outer = thumbHover_ ? kThumbHoverOuter : kThumbOuter;
    const ColourRef inner = thumbHover_ ? kThumbHoverInner : kThumbInner;
    FillSolid(dc, {thumb.left, thumb.top, thumb.right, thumb.bottom + scaledOne}, outer);
    FillSolid(dc, {thumb.left + scaledOne, thumb.top + scaledOne, thumb.right - scaledOne, thumb.bottom}, inner);
}

void CVScrollBar::ReleaseImages()
{
    up_ = QImage();
    down_ = QImage();
}

} // namespace vexmo
