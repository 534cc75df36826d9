#include "ui/check_button.h"

namespace vexmo {

CCheckButton::CCheckButton(CDlgBase* parent, std::uint32_t id, const UiRect& rect, const QString& title, int alignment,
                           bool visible, bool shown, bool disabled)
    : CControlBase(parent, id, rect, title, visible, shown, disabled, true), Alignment(alignment)
{
}

bool CCheckButton::LoadStripImage(const QString& path)
{
    return LoadImageSlot(strip_, path);
}

bool CCheckButton::LoadNormalImage(const QString& path)
{
    return LoadImageSlot(normal_, path);
}

bool CCheckButton::LoadHoverImage(const QString& path)
{
    return LoadImageSlot(hover_, path);
}

bool CCheckButton::LoadPressedImage(const QString& path)
{
    return LoadImageSlot(pressed_, path);
}

void CCheckButton::SetTexts(const QString& normalText, const QString& checkedText)
{
    NormalText = normalText;
    CheckedText = checkedText;
}

int CCheckButton::FrameIndex() const
{
    if (ButtonState == kStatePressed)
        return 2;
    if (ButtonState == kStateHover)
        return Checked ? 2 : 1;
    return Checked ? 2 : 0;
}

bool CCheckButton::OnMouseMove(std::uint32_t, const QPoint& point)
{
    return StandardMouseMove(point);
}

bool CCheckButton::OnLButtonDown(std::uint32_t, const QPoint& point)
{
    return StandardLButtonDown(point);
}

bool CCheckButton::OnLButtonUp(std::uint32_t, const QPoint& point)
{
    return StandardLButtonUp(point, [this] { Checked = !Checked; });
}

void CCheckButton::Draw(QPainter& dc, const UiRect&)
{
    const int frame = FrameIndex();
    if (!strip_.isNull()) {
        DrawImageStretched(dc, strip_, StripFrame(strip_, 3, frame), Rect.ToQRect());
        return;
    }
    if (normal_.isNull() && hover_.isNull() && pressed_.isNull())
        return;

    ColourRef colour = NormalTextColour;
    if (frame == 0) {
        DrawImageOver(dc, normal_, Rect);
        if (!NormalText.isEmpty())
            Title = NormalText;
    } else if (frame == 1) {
        DrawImageOver(dc, hover_, Rect);
        colour = HoverTextColour;
        if (!NormalText.isEmpty())
            Title = NormalText;
    } else {
        DrawImageOver(dc, pressed_, Rect);
        colour = PressedTextColour;
        if (!CheckedText.isEmpty())
            Title = CheckedText;
    }
    DrawSkinText(dc, ControlFont, Title, TextRect(LeftTextMargin, RightTextMargin), colour,
                 static_cast<unsigned>(Alignment) | kTextSingleLine | kTextVCenter | kTextWordEllipsis);
}

void CCheckButton::ReleaseImages()
{
    strip_ = QImage();
    normal_ = QImage();
    hover_ = QImage();
    pressed_ = QImage();
}

} // namespace vexmo
