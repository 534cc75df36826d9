#include "ui/dlg_base.h"

#include "app/core/process_values.h"
#include "platform/timer_table.h"
#include "ui/image_loading.h"
#include "ui/open_dialog_table.h"
#include "ui/ui_font.h"

#include <QCursor>
#include <QGuiApplication>
#include <QIcon>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QWindow>

#include <algorithm>

namespace vexmo {

namespace {

constexpr std::uint32_t kPageChangingIds[] = {2040, 2049, 2050, 2051, 2052, 2053, 3001,
                                              3002, 3003, 3004, 3007, 3008, 3009};

// Leave and hover reports are asked for with this hover time.
constexpr int kHoverTimeMs = 1;

std::uint32_t MouseFlags(const QMouseEvent* event)
{
    std::uint32_t flags = 0;
    const Qt::MouseButtons buttons = event->buttons();
    if (buttons & Qt::LeftButton)
        flags |= kMkLButton;
    if (buttons & Qt::RightButton)
        flags |= kMkRButton;
    if (buttons & Qt::MiddleButton)
        flags |= kMkMButton;
    if (event->modifiers() & Qt::ShiftModifier)
        flags |= kMkShift;
    if (event->modifiers() & Qt::ControlModifier)
        flags |= kMkControl;
    return flags;
}

Qt::WindowFlags TemplateFlags(int templateId)
{
    const Qt::WindowFlags kind = templateId == kTemplateMainWindow ? Qt::Window : Qt::Dialog;
    return kind | Qt::FramelessWindowHint;
}

} // namespace

bool IsPageChangingId(std::uint32_t id)
{
    return std::find(std::begin(kPageChangingIds), std::end(kPageChangingIds), id) != std::end(kPageChangingIds);
}

CDlgBase::CDlgBase(int templateId, QWidget* parent)
    : QDialog(parent, TemplateFlags(templateId)), ListInOpenDialogs(templateId == kTemplateAuxDialog),
      templateId_(templateId)
{
    // The whole client area comes from the off-screen picture; nothing is erased before it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    hoverTimer_.setSingleShot(true);
    connect(&hoverTimer_, &QTimer::timeout, this, [this] {
        if (Tracking)
            OnMouseHover();
    });
    timers_ = std::make_unique<TimerTable>([this](int id) { OnTimer(id); }, this);
}

CDlgBase::~CDlgBase()
{
    RemoveOpenDialog(this);
    // Pop-ups still open go first, while this is still a whole dialog: losing them may move the
    // activation, and a pop-up that loses it messages its parent.
    const auto popups = findChildren<CWndPopup*>(Qt::FindDirectChildrenOnly);
    for (CWndPopup* popup : popups)
        delete popup;
    DeleteControls();
}

void CDlgBase::DeleteControls()
{
    HoverControl = nullptr;
    PressedControl = nullptr;
    for (auto& list : ControlLists) {
        for (auto& control : list)
            control.reset();
        list.clear();
    }
}

bool CDlgBase::OnInitDialog()
{
    initStarted_ = true;

    QImage icon;
    if (LoadImageFromResource(QStringLiteral("ICON"), 128, icon))
        setWindowIcon(QIcon(QPixmap::fromImage(icon)));
    setWindowTitle(QStringLiteral("Gaming Mouse"));

    const int dpiY = logicalDpiY() > 0 ? logicalDpiY() : 96;
    DialogFont = MakeSkinFont(UiFontFace(), (10 * dpiY) / 72, 600);

    resize(WindowSize);
    if (!initFromShow_)
        show();

    InitUIOnce(ClientRect());

    // Centre on the owner, or on the screen when there is none.
    QRect around;
    if (QWidget* owner = parentWidget(); owner && owner->isVisible())
        around = owner->frameGeometry();
    else if (QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen())
        around = screen->availableGeometry();
    if (around.isValid())
        move(around.center() - QPoint(width() / 2, height() / 2));

    if (ListInOpenDialogs)
        EnterOpenDialog(this);
    return true;
}

void CDlgBase::setVisible(bool visible)
{
    if (visible && !initStarted_) {
        initStarted_ = true;
        initFromShow_ = true;
        OnInitDialog();
        initFromShow_ = false;
    }
    QDialog::setVisible(visible);
}

void CDlgBase::DrawWindow(QPainter&, const UiRect&) {}
void CDlgBase::InitUI(const UiRect&) {}

void CDlgBase::InitUIOnce(const UiRect& client)
{
    if (InitDone)
        return;
    InitDone = true;
    InitUI(client);
}

void CDlgBase::DrawControls(QPainter& dc, const UiRect& update)
{
    for (const auto& list : ControlLists) {
        for (const auto& control : list) {
            if (!control->IsDisplayed())
                continue;
            if (control->Rect.Intersected(update).IsEmpty())
                continue;
            control->Draw(dc, update);
        }
    }
}

void CDlgBase::SetBackgroundBitmap(const QImage& bitmap)
{
    if (bitmap.isNull())
        return;
    QColor average;
    if (AverageColour(bitmap, average))
        BackgroundColour = FromQColor(average);
    BackgroundSize = bitmap.size();
    QImage copy(BackgroundSize, QImage::Format_RGB32);
    copy.fill(Qt::black);
    {
        QPainter painter(&copy);
        painter.drawImage(0, 0, bitmap);
    }
    BackgroundDC = copy;
}

bool CDlgBase::LoadBackgroundFromFile(const QString& path)
{
    QImage bitmap;
    QSize size;
    if (!LoadBitmapFromFile(path, bitmap, size))
        return false;
    SetBackgroundBitmap(bitmap);
    return true;
}

void CDlgBase::DrawBackgroundAndFrame(QPainter& dc, const UiRect& client, const QString& framePath)
{
    FillSolid(dc, client, BackgroundColour);
    if (!BackgroundDC.isNull()) {
        const int w = std::min(BackgroundSize.width(), client.Width());
        const int h = std::min(BackgroundSize.height(), client.Height());
        if (w > 0 && h > 0)
            dc.drawImage(QPoint(0, 0), BackgroundDC, QRect(0, 0, w, h));
    }
    auto cached = frameCache_.find(framePath);
    if (cached == frameCache_.end() || cached->isNull()) {
        QImage frame;
        QSize size;
        LoadBitmapFromFile(framePath, frame, size);
        cached = frameCache_.insert(framePath, frame);
    }
    const QImage& frame = *cached;
    if (!frame.isNull()) {
        const QRect target(0, 0, ScaledLength(frame.width(), UiScale), ScaledLength(frame.height(), UiScale));
        DrawImageStretched(dc, frame, frame.rect(), target);
    }
}

CControlBase* CDlgBase::GetControl(std::uint32_t id) const
{
    for (const auto& list : ControlLists) {
        for (const auto& control : list) {
            if (control->Id == id)
                return control.get();
        }
    }
    return nullptr;
}

void CDlgBase::SetListVisible(int list, bool visible)
{
    if (list < 0 || list >= kControlListCount)
        return;
    for (const auto& control : ControlLists[static_cast<std::size_t>(list)])
        control->SetVisible(visible);
}

void CDlgBase::ReleaseControlImages()
{
    for (const auto& list : ControlLists) {
        for (const auto& control : list)
            control->ReleaseImages();
    }
}

void CDlgBase::ClosePopup(int slot)
{
    if (slot < 0 || slot >= kPopupSlotCount)
        return;
    QPointer<CWndPopup>& popup = PopupSlots[static_cast<std::size_t>(slot)];
    if (popup) {
        if (PressedControl && PressedControl != HoverControl) {
            PressedControl->OnPressDropped(0);
            PressedControl = nullptr;
        }
        PostCloseRequest(popup.data());
    }
    popup = nullptr;
}

void CDlgBase::OnMouseMove(std::uint32_t flags, const QPoint& point)
{
    if (!Tracking) {
        Tracking = true;
        hoverTimer_.start(kHoverTimeMs);
    }

    // Moves inside the hover control (and every move while a control is pressed) go to it alone.
    if (CControlBase* hover = HoverControl; hover && hover->Rect.Contains(point) && Tracking) {
        LastMousePos = point;
        if (hover->OnMouseMove(flags, point))
            InvalidateRect(hover->Rect);
        return;
    }
    if (PressedOnControl)
        return;

    CControlBase* previous = HoverControl;
    LastMousePos = point;
    bool found = false;
    if (Tracking) {
        for (const auto& list : ControlLists) {
            for (const auto& control : list) {
                if (!control->IsDisplayed() || !control->MouseResponse)
                    continue;
                control->OnMouseMove(flags, point);
                if (control->Rect.Contains(point)) {
                    HoverControl = control.get();
                    found = true;
                }
            }
        }
    }
    if (previous)
        InvalidateRect(previous->Rect);
    if (found)
        InvalidateRect(HoverControl->Rect);
    else
        HoverControl = nullptr;
}

void CDlgBase::OnMouseLeave()
{
    Tracking = false;
    hoverTimer_.stop();
    if (PressedOnControl)
        return;
    if (CControlBase* hover = HoverControl) {
        const UiRect rect = hover->Rect;
        const QPoint cursor = CursorPos();
        if (isMaximized() && rect.Contains(cursor))
            LastMousePos = cursor;
        else
            LastMousePos = QPoint(-1, -1);
        hover->OnMouseMove(0, LastMousePos);
        InvalidateRect(rect);
    }
    HoverControl = nullptr;
}

void CDlgBase::OnMouseHover()
{
    if (!HoverControl)
        return;
    const QPoint cursor = CursorPos();
    if (HoverControl->Rect.Contains(cursor)) {
        LastMousePos = cursor;
        InvalidateRect(HoverControl->Rect);
    }
}

void CDlgBase::OnLButtonDown(std::uint32_t flags, const QPoint& point)
{
    if (PressedControl && PressedControl != HoverControl) {
        PressedControl->OnPressDropped(0);
        PressedControl = nullptr;
    }
    if (CControlBase* hover = HoverControl; hover && hover->Rect.Contains(point)) {
        PressedOnControl = true;
        PressedControl = hover;
        PressedRect = hover->Rect;
        if (hover->OnLButtonDown(flags, point))
            InvalidateRect(PressedRect);
        // The press grabs the mouse: moves and the release come here until the button goes up.
        Captured = true;
        return;
    }
    PressedRect = kNoRect;
    StartFrameDrag(point);
}

void CDlgBase::OnLButtonUp(std::uint32_t flags, const QPoint& point)
{
    Captured = false;
    PressedOnControl = false;
    frameDrag_ = false;

    if (CControlBase* hover = HoverControl) {
        const UiRect rect = hover->Rect;
        const bool changed = hover->OnLButtonUp(flags, point);
        // The notification's handler may have cleared the hover control.
        if (changed && HoverControl) {
            if (IsPageChangingId(HoverControl->Id))
                InvalidateClient();
            else
                InvalidateRect(HoverControl->Rect);
        }
        if (PressedRect.Contains(point) || rect.Contains(point)) {
            LastMousePos = point;
        } else {
            LastMousePos = QPoint(-1, -1);
            HoverControl = nullptr;
        }
    }
    PressedRect = kNoRect;
}

void CDlgBase::OnRButtonUp(std::uint32_t flags, const QPoint& point)
{
    // Right clicks reach only the controls present on every page.
    for (const auto& control : ControlLists[0]) {
        if (!control->Rect.Contains(point))
            continue;
        if (HoverControl)
            HoverControl->OnRButtonUp(flags, point);
        return;
    }
}

void CDlgBase::OnLButtonDblClk(std::uint32_t flags, const QPoint& point)
{
    for (const auto& list : ControlLists) {
        for (const auto& control : list) {
            if (!HoverControl)
                return;
            if (!control->Rect.Contains(point))
                continue;
            PressedRect = control->Rect;
            HoverControl->OnLButtonDblClk(flags, point);
            return;
        }
    }
}

void CDlgBase::StartFrameDrag(const QPoint& point)
{
    // The window manager moves the window where it can; otherwise the window follows the mouse
    // itself until the button goes up.
    if (QWindow* window = windowHandle(); window && window->startSystemMove())
        return;
    frameDrag_ = true;
    frameDragStart_ = mapToGlobal(point);
    frameDragWindowStart_ = pos();
}

void CDlgBase::InvalidateRect(const UiRect& rect)
{
    if (!rect.IsEmpty())
        update(rect.ToQRect());
}

void CDlgBase::InvalidateClient()
{
    update();
}

QImage CDlgBase::RenderClient()
{
    QImage picture(size(), QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::black);
    {
        QPainter painter(&picture);
        DrawWindow(painter, ClientRect());
    }
    return picture;
}

void CDlgBase::paintEvent(QPaintEvent*)
{
    if (isMinimized())
        return;
    const QImage picture = RenderClient();
    QPainter painter(this);
    painter.drawImage(0, 0, picture);
}

void CDlgBase::SetTimer(int id, int periodMs)
{
    timers_->SetTimer(id, periodMs);
}

void CDlgBase::KillTimer(int id)
{
    timers_->KillTimer(id);
}

bool CDlgBase::IsTimerRunning(int id) const
{
    return timers_->IsRunning(id);
}

void CDlgBase::OnTimer(int) {}

void CDlgBase::mouseMoveEvent(QMouseEvent* event)
{
    if (frameDrag_) {
        move(frameDragWindowStart_ + (event->globalPosition().toPoint() - frameDragStart_));
        return;
    }
    OnMouseMove(MouseFlags(event), event->position().toPoint());
}

void CDlgBase::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        OnLButtonDown(MouseFlags(event), event->position().toPoint());
}

void CDlgBase::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        OnLButtonUp(MouseFlags(event), event->position().toPoint());
    else if (event->button() == Qt::RightButton)
        OnRButtonUp(MouseFlags(event), event->position().toPoint());
}

void CDlgBase::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        OnLButtonDblClk(MouseFlags(event), event->position().toPoint());
}

void CDlgBase::leaveEvent(QEvent*)
{
    OnMouseLeave();
}

QPoint CDlgBase::CursorPos() const
{
    return mapFromGlobal(QCursor::pos());
}

} // namespace vexmo
