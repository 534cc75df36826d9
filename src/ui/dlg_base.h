#pragma once
// Base of every skinned window: a dialog without child widgets whose content is a set of windowless
// controls that it owns, draws off screen and feeds with the mouse. Any point that is not a control
// drags the window. It keeps the pop-up lists it opened so that it can close them.

#include "ui/control_base.h"
#include "ui/messages.h"
#include "ui/skin_paint.h"
#include "ui/ui_rect.h"
#include "ui/wnd_popup.h"

#include <QDialog>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QPointer>
#include <QTimer>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace vexmo {

class TimerTable;

inline constexpr int kControlListCount = 7;
inline constexpr int kPopupSlotCount = 11;

// Dialog templates: the main window (a window with a task-bar button) and the auxiliary dialogs.
inline constexpr int kTemplateMainWindow = 102;
inline constexpr int kTemplateAuxDialog = 152;

// Controls whose click changes the page or the profile: releasing them repaints the whole window.
bool IsPageChangingId(std::uint32_t id);

class CDlgBase : public QDialog, public MessageTarget {
    Q_OBJECT
public:
    explicit CDlgBase(int templateId, QWidget* parent = nullptr);
    ~CDlgBase() override;

    // Runs once, before the window is first shown (or when the owner calls it first): icon, title,
    // DialogFont, size, InitUI, centring on the owner, entry in OpenDialogTable. A subclass
    // override runs its own steps and then this one. Always true.
    virtual bool OnInitDialog();

    // Paints the complete client area into the off-screen picture; subclasses implement it.
    virtual void DrawWindow(QPainter& dc, const UiRect& client);
    // Draws every displayed control that meets `update`: list 0 first, then lists 1 to 6.
    void DrawControls(QPainter& dc, const UiRect& update);
    // Creates the controls; subclasses implement it. Run it through InitUIOnce.
    virtual void InitUI(const UiRect& client);
    // Runs InitUI the first time only (InitDone).
    void InitUIOnce(const UiRect& client);

    // Adopts a background picture: its average colour becomes BackgroundColour and a copy of it
    // the BackgroundDC. A null image changes nothing.
    void SetBackgroundBitmap(const QImage& bitmap);
    bool LoadBackgroundFromFile(const QString& path);

    // Appends a control to list `list` (0..6) and returns it; the dialog owns it from now on.
    template <class T>
    T* AddControl(int list, std::unique_ptr<T> control)
    {
        T* raw = control.get();
        if (list < 0 || list >= kControlListCount || !raw)
            return nullptr;
        ControlLists[static_cast<std::size_t>(list)].push_back(std::move(control));
        return raw;
    }
    // The first control with this id, list 0 first; none when no control has it.
    CControlBase* GetControl(std::uint32_t id) const;
    // SetVisible on every control of a list (page switching); repaints nothing.
    void SetListVisible(int list, bool visible);
    // Drops the images of every control, list 0 first.
    void ReleaseControlImages();

    // Closes the pop-up of `slot` (0..10): drops a pressed control that is not hovered, asks the
    // pop-up to close when its window still exists, empties the slot.
    void ClosePopup(int slot);

    // Mouse handling in client coordinates (flags as kMk...). A subclass that needs more (the main
    // window continues slider drags outside the slider) overrides one and calls the base first.
    virtual void OnMouseMove(std::uint32_t flags, const QPoint& point);
    virtual void OnMouseLeave();
    virtual void OnMouseHover();
    virtual void OnLButtonDown(std::uint32_t flags, const QPoint& point);
    virtual void OnLButtonUp(std::uint32_t flags, const QPoint& point);
    virtual void OnRButtonUp(std::uint32_t flags, const QPoint& point);
    virtual void OnLButtonDblClk(std::uint32_t flags, const QPoint& point);

    // Marks part or all of the client area for repainting.
    virtual void InvalidateRect(const UiRect& rect);
    virtual void InvalidateClient();

    // The client area drawn off screen, as the next paint would show it.
    QImage RenderClient();
    UiRect ClientRect() const { return {0, 0, width(), height()}; }

    // Window timers by number; setting a running number restarts it. OnTimer runs when one fires.
    void SetTimer(int id, int periodMs);
    void KillTimer(int id);
    bool IsTimerRunning(int id) const;
    virtual void OnTimer(int id);

    // The usual DrawWindow start: BackgroundColour fill, the BackgroundDC copy, then the frame
    // image (loaded once from `framePath`) stretched by UiScale from the top-left corner.
    void DrawBackgroundAndFrame(QPainter& dc, const UiRect& client, const QString& framePath);

    QSize WindowSize{2254, 1480};
    ColourRef BackgroundColour = 0xEFE2BA;
    QFont DialogFont;
    QSize BackgroundSize{100, 100};
    QImage BackgroundDC;
    bool InitDone = false;
    bool Tracking = false;
    bool PressedOnControl = false;
    UiRect PressedRect = kNoRect;
    QPoint LastMousePos{-1, -1};
    std::array<std::vector<std::unique_ptr<CControlBase>>, kControlListCount> ControlLists;
    CControlBase* HoverControl = nullptr;
    CControlBase* PressedControl = nullptr;
    std::array<QPointer<CWndPopup>, kPopupSlotCount> PopupSlots;
    bool Captured = false;

protected:
    void setVisible(bool visible) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

    // The pointer position in client coordinates.
    virtual QPoint CursorPos() const;

    // Auxiliary dialogs enter OpenDialogTable; a subclass that must not (the progress window)
    // clears this before its initialisation.
    bool ListInOpenDialogs = false;

private:
    void StartFrameDrag(const QPoint& point);
    void DeleteControls();

    int templateId_;
    bool initStarted_ = false;
    bool initFromShow_ = false;
    bool frameDrag_ = false;
    QPoint frameDragStart_;
    QPoint frameDragWindowStart_;
    QTimer hoverTimer_;
    std::unique_ptr<TimerTable> timers_;
    QHash<QString, QImage> frameCache_;
};

} // namespace vexmo
