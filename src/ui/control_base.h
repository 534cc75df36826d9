#pragma once
// The windowless controls of the skinned dialogs: plain objects that the dialog owns, draws into
// its off-screen picture and feeds with mouse input. A control reports to its dialog with a
// synchronous message whose number is its id and whose lParam is the event code.

#include "ui/messages.h"
#include "ui/skin_paint.h"
#include "ui/ui_rect.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QString>

#include <cstdint>
#include <functional>

namespace vexmo {

class CDlgBase;

// ButtonState values of the button-like controls.
inline constexpr int kStateNormal = 0;
inline constexpr int kStateHover = 1;
inline constexpr int kStatePressed = 2;

class CControlBase {
public:
    CControlBase(CDlgBase* parent, std::uint32_t id, const UiRect& rect, const QString& title, bool visible, bool shown,
                 bool disabled, bool mouseResponse);
    virtual ~CControlBase();

    CControlBase(const CControlBase&) = delete;
    CControlBase& operator=(const CControlBase&) = delete;

    // Paints the control into the dialog's off-screen picture.
    virtual void Draw(QPainter& dc, const UiRect& update) = 0;
    // The dialog lets go of this control as its pressed control; no control reacts to it.
    virtual int OnPressDropped(int) { return 0; }

    virtual void SetControlRect(const UiRect& rect) { Rect = rect; }
    virtual UiRect GetControlRect() const { return Rect; }
    // Replaces the title and repaints the control when the text differs.
    virtual void SetTitle(const QString& title);
    virtual QString GetTitle() const { return Title; }
    // Page-level and individual visibility; neither repaints.
    virtual void SetVisible(bool visible) { Visible = visible; }
    virtual void SetShown(bool shown) { Shown = shown; }

    // Mouse input in client coordinates; each returns whether the control's look changed.
    virtual bool OnMouseMove(std::uint32_t flags, const QPoint& point);
    virtual bool OnLButtonDown(std::uint32_t flags, const QPoint& point);
    virtual bool OnLButtonUp(std::uint32_t flags, const QPoint& point);
    virtual bool OnRButtonUp(std::uint32_t flags, const QPoint& point);
    virtual bool OnLButtonDblClk(std::uint32_t flags, const QPoint& point);

    // Drops every image the control holds (dialogs call it when they close).
    virtual void ReleaseImages() {}

    // A new font of the given pixel height and face, otherwise as the construction font.
    void SetFont(int pixelHeight, const QString& face);
    const QFont& Font() const { return ControlFont; }

    // True when the dialog draws the control: visible page and shown.
    bool IsDisplayed() const { return Visible && Shown; }

    std::uint32_t Id;
    UiRect Rect;
    bool Visible;
    bool Shown;
    // A disabled control keeps its state and sends nothing.
    bool Disabled;
    // Only controls with this set take part in the dialog's hover search and mouse moves.
    bool MouseResponse;
    QString Title;
    CDlgBase* Parent;
    QFont ControlFont;

    // 0 normal, 1 hover, 2 pressed (the controls that have a look per state).
    int ButtonState = kStateNormal;
    // Natural size of the control's images, from the last image that loaded.
    int ImageWidth = 0;
    int ImageHeight = 0;

protected:
    // Sends the notification `code` under the control's id.
    LResult Notify(LParam code, WParam wParam = 0);
    // Sends any message to the owning dialog.
    LResult SendToParent(std::uint32_t msg, WParam wParam, LParam lParam);
    // Asks the dialog to repaint the control's rectangle.
    void Invalidate();

    // Loads an image file into `slot`; on success records its size in ImageWidth/ImageHeight. A
    // file that cannot be read leaves the slot empty and gives false.
    bool LoadImageSlot(QImage& slot, const QString& path);

    // The button family's common mouse behaviour. Move: outside a press, hover while inside.
    // Down: pressed and NotifyPress when inside. Up: inside runs the click action, then
    // NotifyClick with `clickWParam`; outside goes back to normal. Each returns whether
    // ButtonState changed; a disabled control does nothing.
    bool StandardMouseMove(const QPoint& point);
    bool StandardLButtonDown(const QPoint& point);
    bool StandardLButtonUp(const QPoint& point, const std::function<void()>& clickAction = {},
                           WParam clickWParam = 0);

    // The text rectangle: rect narrowed by the left and right text margins.
    UiRect TextRect(int leftMargin, int rightMargin) const
    {
        return {Rect.left + leftMargin, Rect.top, Rect.right - rightMargin, Rect.bottom};
    }
};

} // namespace vexmo
