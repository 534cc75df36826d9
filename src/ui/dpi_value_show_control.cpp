#include "ui/dpi_value_show_control.h"

#include "app/core/process_values.h"

#include <algorithm>

namespace vexmo {

CDPIValueShowControl::CDPIValueShowControl(CDlgBase* parent, std::uint32_t id, const UiRect& rect, int stepCount,
                                           int topMargin, int bottomMargin, const QString& title, bool visible,
                                           bool shown, bool disabled)
    : CControlBase(parent, id, rect, title, visible, shown, disabled, true),
      TopMargin(topMargin),
      BottomMargin(bottomMargin),
      stepCount_(stepCount)
{
}

bool CDPIValueShowControl::LoadFillImage(const QString& path)
{
    return LoadImageSlot(fill_, path);
}

bool CDPIValueShowControl::LoadBackgroundImage(const QString& path)
{
    return LoadImageSlot(background_, path);
}

bool CDPIValueShowControl::OnMouseMove(std::uint32_t, const QPoint& point)
{
    return StandardMouseMove(point);
}

bool CDPIValueShowControl::OnLButtonDown(std::uint32_t, const QPoint& point)
{
    return StandardLButtonDown(point);
}

bool CDPIValueShowControl::OnLButtonUp(std::uint32_t, const QPoint& point)
{
    return StandardLButtonUp(point);
}

int CDPIValueShowControl::FillTop() const
{
    // A value outside the steps is shown as the nearest step.
    const int value = std::clamp(GaugeValue, 0, std::max(stepCount_ - 1, 0));
    const int top = Rect.bottom - (Rect.Height() * (value + 1)) / std::max(stepCount_, 1);
    return AlignFillTop(top, Rect.bottom, UiScale);
}

void CDPIValueShowControl::Draw(QPainter& dc, const UiRect&)
{
    const float s = UiScale;
    const int width = ScaledLength(ImageWidth, s);
    DrawImageStretched(dc, background_, background_.rect(),
                       QRect(Rect.left, Rect.top, width, ScaledLength(ImageHeight, s)));
    if (stepCount_ < 1)
        return;
    const int top = FillTop();
    const FillRows rows = FillRowsFor(top, Rect.bottom, ImageHeight, s);
    DrawImageStretched(dc, fill_, QRect(0, rows.sourceRow, ImageWidth, ImageHeight - rows.sourceRow),
                       QRect(Rect.left, top, width, rows.targetHeight));
}

void CDPIValueShowControl::ReleaseImages()
{
    fill_ = QImage();
    background_ = QImage();
}

} // namespace vexmo
