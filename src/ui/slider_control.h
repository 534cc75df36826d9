#pragma once
// A horizontal stepped slider: a thumb that rests on one of `count` evenly spread positions. A
// click anywhere jumps to the nearest step; a press on the thumb drags it and reports the step
// under the pointer on every move. Only the thumb is drawn; the track is a separate picture.

#include "ui/control_base.h"

#include <vector>

namespace vexmo {

class CSliderControl : public CControlBase {
public:
    CSliderControl(CDlgBase* parent, std::uint32_t id, const UiRect& rect, int stepCount, int leftMargin,
                   int rightMargin, const QString& title = {}, bool visible = true, bool shown = true,
                   bool disabled = false);

    void Draw(QPainter& dc, const UiRect& update) override;
    bool OnMouseMove(std::uint32_t flags, const QPoint& point) override;
    bool OnLButtonDown(std::uint32_t flags, const QPoint& point) override;
    bool OnLButtonUp(std::uint32_t flags, const QPoint& point) override;
    void ReleaseImages() override;

    bool LoadThumbImage(const QString& path);

    // The step whose position is nearest to x (ties go to the right); 0 without steps.
    int NearestStep(int x) const;
    // Puts the thumb on step k (kept within the steps) without repainting or reporting.
    void SetStepIndex(int k);
    // Continues a drag that has left the slider: false when no drag is going on.
    bool DragTo(int x);

    bool Dragging() const { return dragging_; }
    const UiRect& ThumbRect() const { return thumbRect_; }
    int StepCount() const { return stepCount_; }

    int StepIndex = 0;
    std::vector<int> StepPositions;

private:
    int PositionOf(int k) const;
    UiRect ThumbRectFor(int k) const;
    // The drag's common step: follow x (kept on the slider), report the step under it.
    void Follow(int x);

    QImage thumb_;
    int dragX_ = 0;
    int leftMargin_;
    int rightMargin_;
    int notifiedIndex_ = 0;
    int stepCount_;
    int span_;
    bool dragging_ = false;
    UiRect thumbRect_;
};

} // namespace vexmo
