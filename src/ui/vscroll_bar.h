#pragma once
// The vertical scroll bar of the macro lists: arrows at both ends and a thumb that shows
// position, page and range. Dragging moves a copy of the thumb and reports positions; on release
// the thumb goes back to the place the stored position gives.

#include "ui/control_base.h"

namespace vexmo {

// wParam of the scroll bar's press: which part was hit.
inline constexpr WParam kScrollPartThumb = 0;
inline constexpr WParam kScrollPartUpArrow = 6;
inline constexpr WParam kScrollPartDownArrow = 7;
inline constexpr WParam kScrollPartAboveThumb = 8;
inline constexpr WParam kScrollPartBelowThumb = 9;

class CVScrollBar : public CControlBase {
public:
    CVScrollBar(CDlgBase* parent, std::uint32_t id, const UiRect& rect, const QString& title = {},
                bool visible = true, bool shown = true, bool disabled = false);

    void Draw(QPainter& dc, const UiRect& update) override;
    bool OnMouseMove(std::uint32_t flags, const QPoint& point) override;
    bool OnLButtonDown(std::uint32_t flags, const QPoint& point) override;
    bool OnLButtonUp(std::uint32_t flags, const QPoint& point) override;
    void ReleaseImages() override;

    // The arrow strips from resources PNG 188 (up) and PNG 187 (down); false when either is
    // missing (the arrows are then not drawn).
    bool LoadArrows();
    // The same with given strips of three frames side by side.
    void SetArrows(const QImage& upStrip, const QImage& downStrip);

    // Places the thumb for the position within the range, sized by the page. A range of 0 shows a
    // thumb over the whole track and keeps the stored values.
    void SetScrollInfo(int position, int page, int range);

    int ScrollPos = 0;
    int Page = 1;
    int Range = 1;

    const UiRect& ThumbRect() const { return thumbRect_; }
    const UiRect& TrackRect() const { return trackRect_; }
    const UiRect& DragRect() const { return dragRect_; }
    const UiRect& UpArrowRect() const { return upRect_; }
    const UiRect& DownArrowRect() const { return downRect_; }
    bool Dragging() const { return dragging_; }
    bool ThumbHover() const { return thumbHover_; }

private:
    QImage up_;
    QImage down_;
    int frameWidth_ = 0;
    int frameHeight_ = 0;
    bool upHover_ = false;
    bool downHover_ = false;
    bool thumbHover_ = false;
    bool dragging_ = false;
    UiRect thumbRect_;
    UiRect trackRect_;
    UiRect upRect_;
    UiRect downRect_;
    UiRect dragRect_;
    int grabOffset_ = 0;
};

} // namespace vexmo
