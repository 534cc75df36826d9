#pragma once
// Base of every drop-down list: a frameless, top-most tool window without a task-bar entry, shown
// next to the control that opened it. It draws itself off screen in one piece, hands mouse input
// to its subclass, tells its parent when it loses activation (which is how a pop-up closes when
// the user clicks elsewhere) and deletes itself when it closes.

#include "ui/messages.h"
#include "ui/ui_rect.h"

#include <QFont>
#include <QImage>
#include <QTimer>
#include <QWidget>

#include <cstdint>

namespace vexmo {

// The message sent to the parent when a pop-up of this kind loses activation; 0 for none.
std::uint32_t PopupDeactivationMessage(int popupKind);

class CWndPopup : public QWidget, public MessageTarget {
    Q_OBJECT
public:
    CWndPopup();
    ~CWndPopup() override;

    // Creates the window at `screenRect` (screen coordinates, its size stays) as a tool window of
    // `parent`, builds the rows (InitUI), renders and shows it.
    void Create(QWidget* parent, const QRect& screenRect, int popupData, int popupParam);

    // The pop-up background from resource PNG 151; false (and no background) when it is missing.
    bool LoadPopupBackground();

    // Redraws the whole pop-up off screen and shows the new picture.
    void Render();

    // Sends a message to the parent window; false when there is none.
    bool SendToParent(std::uint32_t msg, WParam wParam, LParam lParam);

    // The picture of the last Render.
    const QImage& RenderedImage() const { return picture_; }

    // Subclass operations.
    virtual void DrawWindow(QPainter& dc, const UiRect& client);
    virtual void DrawItems(QPainter& dc, const UiRect& client);
    virtual void InitUI();
    virtual bool OnMouseMove(int x, int y);
    virtual bool OnLButtonDown(int x, int y);
    virtual bool OnLButtonUp(int x, int y);
    virtual bool OnRButtonUp(int x, int y);

    // The window-message handlers, in client coordinates.
    void HandleMouseMove(const QPoint& point);
    void HandleMouseHover();
    void HandleMouseLeave();
    void HandleLButtonDown(const QPoint& point);
    void HandleLButtonUp(const QPoint& point);
    void HandleRButtonUp(const QPoint& point);
    // The pop-up lost activation: the parent hears the kind's deactivation message.
    void HandleDeactivate();

    bool Tracking = false;
    bool ButtonDown = false;
    bool Captured = false;
    QImage BackgroundImage;
    int BackgroundWidth = 0;
    int BackgroundHeight = 0;
    QFont PopupFont;
    int X = 0;
    int Y = 0;
    int PopupData = 0;
    int PopupParam = 0;
    // Set by each subclass's constructor; selects the deactivation message.
    int PopupKind = 0;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

    // The pointer position in client coordinates.
    virtual QPoint CursorPos() const;

private:
    QImage picture_;
    QTimer hoverTimer_;
};

} // namespace vexmo
