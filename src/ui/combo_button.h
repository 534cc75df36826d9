#pragma once
// The button that shows a current value and opens a pop-up list. It reports hover, leave and
// click under its own message number (NotifyMessage) with its id in wParam, so one handler serves
// a whole row of such buttons; the press goes out under its id as usual.

#include "ui/control_base.h"

namespace vexmo {

class CComboButton : public CControlBase {
public:
    CComboButton(CDlgBase* parent, std::uint32_t notifyMessage, std::uint32_t id, const UiRect& rect,
                 const QString& title, int alignment, bool visible, bool shown, bool disabled,
                 const QString& valueText);

    void Draw(QPainter& dc, const UiRect& update) override;
    bool OnMouseMove(std::uint32_t flags, const QPoint& point) override;
    bool OnLButtonDown(std::uint32_t flags, const QPoint& point) override;
    bool OnLButtonUp(std::uint32_t flags, const QPoint& point) override;
    void ReleaseImages() override;

    // A strip of five frames: normal, hover, pressed, locked, locked under the mouse.
    bool LoadStripImage(const QString& path);
    bool LoadNormalImage(const QString& path);
    bool LoadHoverImage(const QString& path);

    // Stores the shown value and repaints.
    void SetValueText(const QString& text);

    QString ValueText;
    // Its pop-up is open: it keeps the hover look and sends no leave.
    bool HeldOpen = false;
    std::uint32_t NotifyMessage;
    // The look still follows the mouse, but press and click are not reported.
    bool Locked = false;
    // Shows the literal "Disable" instead of ValueText.
    bool ShowDisableText = false;
    int Alignment;
    int LeftTextMargin = 0;
    int RightTextMargin = 0;

    // Hover reports sent since the mouse last entered (at most five).
    int HoverCount() const { return hoverCount_; }

private:
    static constexpr int kHoverReports = 5;

    QImage strip_;
    QImage normal_;
    QImage hover_;
    bool hoverStop_ = false;
    bool leaveArmed_ = true;
    int hoverCount_ = 0;
};

} // namespace vexmo
