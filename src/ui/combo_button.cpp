#include "ui/combo_button.h"

namespace vexmo {

CComboButton::CComboButton(CDlgBase* parent, std::uint32_t notifyMessage, std::uint32_t id, const UiRect& rect,
                           const QString& title, int alignment, bool visible, bool shown, bool disabled,
                           const QString& valueText)
    : CControlBase(parent, id, rect, title, visible, shown, disabled, true), ValueText(valueText),
      NotifyMessage(notifyMessage), Alignment(alignment)
{
}

bool CComboButton::LoadStripImage(const QString& path)
{
    return LoadImageSlot(strip_, path);
}

bool CComboButton::LoadNormalImage(const QString& path)
{
    return LoadImageSlot(normal_, path);
}

bool CComboButton::LoadHoverImage(const QString& path)
{
    return LoadImageSlot(hover_, path);
}

void CComboButton::SetValueText(const QString& text)
{
    ValueText = text;
    Invalidate();
}

bool CComboButton::OnMouseMove(std::uint32_t, const QPoint& point)
{
    if (Disabled || ButtonState == kStatePressed)
        return false;
    const int before = ButtonState;
    if (Rect.Contains(point)) {
        ButtonState = kStateHover;
        // The first few moves after entering are reported, then no more until the mouse leaves.
        if (!hoverStop_) {
            leaveArmed_ = false;
            ++hoverCount_;
            if (hoverCount_ >= kHoverReports)
                hoverStop_ = true;
            SendToParent(NotifyMessage, Id, NotifyHoverEnter);
        }
    } else {
        ButtonState = kStateNormal;
        if (!leaveArmed_ && !HeldOpen) {
            hoverStop_ = false;
            hoverCount_ = 0;
            leaveArmed_ = true;
            SendToParent(NotifyMessage, Id, NotifyHoverLeave);
        }
    }
    return ButtonState != before;
}

bool CComboButton::OnLButtonDown(std::uint32_t, const QPoint& point)
{
    if (Disabled || !Rect.Contains(point))
        return false;
    const int before = ButtonState;
    ButtonState = kStatePressed;
    if (!Locked)
        Notify(NotifyPress);
    return ButtonState != before;
}

bool CComboButton::OnLButtonUp(std::uint32_t, const QPoint& point)
{
    if (Disabled)
        return false;
    const int before = ButtonState;
    if (Rect.Contains(point)) {
        ButtonState = kStateHover;
        if (!Locked)
            SendToParent(NotifyMessage, Id, NotifyClick);
    } else {
        ButtonState = kStateNormal;
    }
    return ButtonState != before;
}

void CComboButton::Draw(QPainter& dc, const UiRect&)
{
    ColourRef colour = kTextGrey;
    if (!strip_.isNull()) {
        int frame = 0;
        if (Locked) {
            frame = ButtonState != kStateNormal ? 4 : 3;
            colour = kTextWhite;
        } else {
            frame = HeldOpen ? 1 : ButtonState;
            colour = frame != 0 ? kTextWhite : kTextGrey;
        }
        DrawImageStretched(dc, strip_, StripFrame(strip_, 5, frame), Rect.ToQRect());
    } else if (HeldOpen || ButtonState != kStateNormal) {
        DrawImageOver(dc, hover_, Rect);
        colour = kTextWhite;
    } else {
        DrawImageOver(dc, normal_, Rect);
    }
    const QString text = ShowDisableText ? QStringLiteral("Disable") : ValueText;
    DrawSkinText(dc, ControlFont, text, TextRect(LeftTextMargin, RightTextMargin), colour,
                 static_cast<unsigned>(Alignment) | kTextSingleLine | kTextVCenter | kTextWordEllipsis);
}

void CComboButton::ReleaseImages()
{
    strip_ = QImage();
    normal_ = QImage();
    hover_ = QImage();
}

} // namespace vexmo
