#pragma once
// The vertical bar of one DPI level: filled from the bottom in `count` steps up to GaugeValue,
// the top step filling it completely. The owner sets the value; the mouse only presses and
// clicks it.

#include "ui/control_base.h"

namespace vexmo {

class CDPIValueShowControl : public CControlBase {
public:
    CDPIValueShowControl(CDlgBase* parent, std::uint32_t id, const UiRect& rect, int stepCount, int topMargin,
                         int bottomMargin, const QString& title = {}, bool visible = true, bool shown = true,
                         bool disabled = false);

    void Draw(QPainter& dc, const UiRect& update) override;
    bool OnMouseMove(std::uint32_t flags, const QPoint& point) override;
    bool OnLButtonDown(std::uint32_t flags, const QPoint& point) override;
    bool OnLButtonUp(std::uint32_t flags, const QPoint& point) override;
    void ReleaseImages() override;

    bool LoadFillImage(const QString& path);
    bool LoadBackgroundImage(const QString& path);

    // Replaces the step count.
    void SetStepCount(int count) { stepCount_ = count; }
    int StepCount() const { return stepCount_; }
    // The first client row of the fill for the current value.
    int FillTop() const;

    // 0..count - 1.
    int GaugeValue = 0;
    // Given by the layout; the bar is drawn over the whole rectangle regardless.
    int TopMargin;
    int BottomMargin;

private:
    QImage fill_;
    QImage background_;
    int stepCount_;
};

} // namespace vexmo
