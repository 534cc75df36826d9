#include "ui/image_button.h"

namespace vexmo {

CImageButton::CImageButton(CDlgBase* parent, std::uint32_t id, const UiRect& rect, const QString& title, int alignment,
                           bool visible, bool shown, bool disabled)
    : CControlBase(parent, id, rect, title, visible, shown, disabled, true), Alignment(alignment)
{
}

bool CImageButton::LoadNormalImage(const QString& path)
{
    return LoadImageSlot(normal_, path);
}

bool CImageButton::LoadHoverImage(const QString& path)
{
    return LoadImageSlot(hover_, path);
}

bool CImageButton::OnMouseMove(std::uint32_t, const QPoint& point)
{
    const bool changed = StandardMouseMove(point);
    if (Id == kHoverReportingButtonId && !Disabled && ButtonState != kStatePressed && Rect.Contains(point))
        Notify(NotifyHover);
    return changed;
}

bool CImageButton::OnLButtonDown(std::uint32_t, const QPoint& point)
{
    return StandardLButtonDown(point);
}

bool CImageButton::OnLButtonUp(std::uint32_t, const QPoint& point)
{
    return StandardLButtonUp(point, {}, Id);
}

void CImageButton::Draw(QPainter& dc, const UiRect&)
{
    ColourRef colour = kTextGrey;
    if (ButtonState == kStateNormal) {
        DrawImageOver(dc, normal_, Rect);
    } else {
        DrawImageOver(dc, hover_, Rect);
        colour = ButtonState == kStateHover ? kTextWhite : kTextYellow;
    }
    DrawSkinText(dc, ControlFont, Title, TextRect(LeftTextMargin, RightTextMargin), colour,
                 static_cast<unsigned>(Alignment) | kTextSingleLine | kTextVCenter | kTextWordEllipsis);
}

void CImageButton::ReleaseImages()
{
    normal_ = QImage();
    hover_ = QImage();
}

} // namespace vexmo
