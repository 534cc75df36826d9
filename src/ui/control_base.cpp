#include "ui/control_base.h"

#include "ui/dlg_base.h"
#include "ui/image_loading.h"
#include "ui/ui_font.h"

namespace vexmo {

CControlBase::CControlBase(CDlgBase* parent, std::uint32_t id, const UiRect& rect, const QString& title, bool visible,
                           bool shown, bool disabled, bool mouseResponse)
    : Id(id),
      Rect(rect),
      Visible(visible),
      Shown(shown),
      Disabled(disabled),
      MouseResponse(mouseResponse),
      Title(title),
      Parent(parent),
      ControlFont(MakeSkinFont(UiFontFace(), UiFontPixelSize()))
{
}

CControlBase::~CControlBase() = default;

void CControlBase::SetTitle(const QString& title)
{
    if (title == Title)
        return;
    Title = title;
    Invalidate();
}

bool CControlBase::OnMouseMove(std::uint32_t, const QPoint&)
{
    return false;
}

bool CControlBase::OnLButtonDown(std::uint32_t, const QPoint&)
{
    return false;
}

bool CControlBase::OnLButtonUp(std::uint32_t, const QPoint&)
{
    return false;
}

bool CControlBase::OnRButtonUp(std::uint32_t, const QPoint&)
{
    return false;
}

bool CControlBase::OnLButtonDblClk(std::uint32_t, const QPoint&)
{
    return false;
}

void CControlBase::SetFont(int pixelHeight, const QString& face)
{
    ControlFont = MakeSkinFont(face, pixelHeight);
}

LResult CControlBase::Notify(LParam code, WParam wParam)
{
    return SendToParent(Id, wParam, code);
}

LResult CControlBase::SendToParent(std::uint32_t msg, WParam wParam, LParam lParam)
{
    return Parent ? SendMessage(Parent, msg, wParam, lParam) : 0;
}

void CControlBase::Invalidate()
{
    if (Parent)
        Parent->InvalidateRect(Rect);
}

bool CControlBase::LoadImageSlot(QImage& slot, const QString& path)
{
    slot = DecodeImageFile(path);
    if (slot.isNull())
        return false;
    ImageWidth = slot.width();
    ImageHeight = slot.height();
    return true;
}

bool CControlBase::StandardMouseMove(const QPoint& point)
{
    if (Disabled || ButtonState == kStatePressed)
        return false;
    const int before = ButtonState;
    ButtonState = Rect.Contains(point) ? kStateHover : kStateNormal;
    return ButtonState != before;
}

bool CControlBase::StandardLButtonDown(const QPoint& point)
{
    if (Disabled || !Rect.Contains(point))
        return false;
    const int before = ButtonState;
    ButtonState = kStatePressed;
    Notify(NotifyPress);
    return before != kStatePressed;
}

bool CControlBase::StandardLButtonUp(const QPoint& point, const std::function<void()>& clickAction, WParam clickWParam)
{
    if (Disabled)
        return false;
    const int before = ButtonState;
    if (Rect.Contains(point)) {
        ButtonState = kStateHover;
        if (clickAction)
            clickAction();
        Notify(NotifyClick, clickWParam);
        return before != kStateHover;
    }
    ButtonState = kStateNormal;
    return before != kStateNormal;
}

} // namespace vexmo
