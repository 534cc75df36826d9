#pragma once
// A push button drawn from two images (normal; hover and pressed) with its title on top. Its
// click carries the id in wParam as well.

#include "ui/control_base.h"

namespace vexmo {

// The button that reports every move over it (NotifyHover).
inline constexpr std::uint32_t kHoverReportingButtonId = 3502;

class CImageButton : public CControlBase {
public:
    CImageButton(CDlgBase* parent, std::uint32_t id, const UiRect& rect, const QString& title, int alignment = 0,
                 bool visible = true, bool shown = true, bool disabled = false);

    void Draw(QPainter& dc, const UiRect& update) override;
    bool OnMouseMove(std::uint32_t flags, const QPoint& point) override;
    bool OnLButtonDown(std::uint32_t flags, const QPoint& point) override;
    bool OnLButtonUp(std::uint32_t flags, const QPoint& point) override;
    void ReleaseImages() override;

    bool LoadNormalImage(const QString& path);
    // The image of the hover and the pressed look.
    bool LoadHoverImage(const QString& path);

    int Alignment;
    int LeftTextMargin = 0;
    int RightTextMargin = 0;

private:
    QImage normal_;
    QImage hover_;
};

} // namespace vexmo
