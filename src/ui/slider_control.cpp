#include "ui/slider_control.h"

#include "app/core/process_values.h"

#include <algorithm>

namespace vexmo {

CSliderControl::CSliderControl(CDlgBase* parent, std::uint32_t id, const UiRect& rect, int stepCount,
                               int leftMargin, int rightMargin, const QString& title, bool visible, bool shown,
                               bool disabled)
    : CControlBase(parent, id, rect, title, visible, shown, disabled, true),
      leftMargin_(leftMargin),
      rightMargin_(rightMargin),
      stepCount_(std::max(stepCount, 0)),
      span_(rect.Width() - leftMargin - rightMargin)
{
    StepPositions.assign(static_cast<std::size_t>(stepCount_), 0);
    if (stepCount_ > 0) {
        StepPositions.front() = rect.left + leftMargin;
        StepPositions.back() = rect.right - rightMargin;
        for (int i = 1; i < stepCount_ - 1; ++i)
            StepPositions[static_cast<std::size_t>(i)] = i * span_ / (stepCount_ - 1) + rect.left + leftMargin;
    }
    thumbRect_ = ThumbRectFor(0);
}

bool CSliderControl::LoadThumbImage(const QString& path)
{
    return LoadImageSlot(thumb_, path);
}

int CSliderControl::PositionOf(int k) const
{
    if (StepPositions.empty())
        return Rect.left + leftMargin_;
    k = std::clamp(k, 0, static_cast<int>(StepPositions.size()) - 1);
    return StepPositions[static_cast<std::size_t>(k)];
}

UiRect CSliderControl::ThumbRectFor(int k) const
{
    const int position = PositionOf(k);
    return {position - leftMargin_, Rect.top, position + rightMargin_, Rect.bottom};
}

int CSliderControl::NearestStep(int x) const
{
    int i = 0;
    while (i + 1 < stepCount_) {
        const int p = StepPositions[static_cast<std::size_t>(i)];
        const int q = StepPositions[static_cast<std::size_t>(i + 1)];
        if (x < (p + q) / 2)
            return i;
        ++i;
    }
    return i;
}

void CSliderControl::SetStepIndex(int k)
{
    StepIndex = std::clamp(k, 0, std::max(stepCount_ - 1, 0));
    thumbRect_ = ThumbRectFor(StepIndex);
}

void CSliderControl::Follow(int x)
{
    x = std::clamp(x, Rect.left, Rect.right);
    dragX_ = x - leftMargin_;
    StepIndex = NearestStep(x);
    Invalidate();
    notifiedIndex_ = StepIndex;
    Notify(NotifyValue, static_cast<WParam>(notifiedIndex_));
}

bool CSliderControl::OnMouseMove(std::uint32_t, const QPoint& point)
{
    const bool changed = StandardMouseMove(point);
    if (ButtonState == kStateNormal)
        dragging_ = false;
    if (dragging_ && (ButtonState == kStateHover || ButtonState == kStatePressed))
        Follow(point.x());
    return changed;
}

bool CSliderControl::DragTo(int x)
{
    if (!dragging_)
        return false;
    if (ButtonState == kStateHover || ButtonState == kStatePressed) {
        Follow(x);
        thumbRect_ = ThumbRectFor(StepIndex);
    }
    return true;
}

bool CSliderControl::OnLButtonDown(std::uint32_t, const QPoint& point)
{
    if (Disabled || !Rect.Contains(point))
        return false;
    const int before = ButtonState;
    ButtonState = kStatePressed;
    if (thumbRect_.Contains(point))
        dragging_ = true;
    dragX_ = point.x() - leftMargin_;
    Notify(NotifyPress);
    return ButtonState != before;
}

bool CSliderControl::OnLButtonUp(std::uint32_t, const QPoint& point)
{
    if (Disabled)
        return false;
    const int before = ButtonState;
    dragging_ = false;
    if (Rect.Contains(point)) {
        ButtonState = kStateHover;
        dragX_ = point.x() - leftMargin_;
        StepIndex = NearestStep(point.x());
        thumbRect_ = ThumbRectFor(StepIndex);
        notifiedIndex_ = StepIndex;
        Notify(NotifyClick);
    } else {
        ButtonState = kStateNormal;
    }
    return ButtonState != before;
}

void CSliderControl::Draw(QPainter& dc, const UiRect&)
{
    const int width = ScaledLength(ImageWidth, UiScale);
    const int height = ScaledLength(ImageHeight, UiScale);
    int x = 0;
    if (dragging_)
        x = std::max(Rect.left, std::min(dragX_, Rect.right - width));
    else
        x = PositionOf(StepIndex) - leftMargin_;
    DrawImageStretched(dc, thumb_, thumb_.rect(), QRect(x, Rect.top, width, height));
}

void CSliderControl::ReleaseImages()
{
    thumb_ = QImage();
}

} // namespace vexmo
