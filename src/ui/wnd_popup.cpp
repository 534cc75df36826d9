#include "ui/wnd_popup.h"

#include "ui/image_loading.h"
#include "ui/ui_font.h"

#include <QCloseEvent>
#include <QCursor>
#include <QMouseEvent>
#include <QPainter>

#include <array>

namespace vexmo {

namespace {

// Deactivation message by PopupKind 0..15; 0 where the kind sends nothing.
constexpr std::array<std::uint32_t, 16> kDeactivationMessages = {
    1029, 1032, 1042, 1045, 0, 0, 1057, 1126, 1136, 1146, 1156, 1159, 1162, 1165, 1168, 1170,
};

constexpr int kHoverTimeMs = 50;

} // namespace

std::uint32_t PopupDeactivationMessage(int popupKind)
{
    if (popupKind < 0 || popupKind >= static_cast<int>(kDeactivationMessages.size()))
        return 0;
    return kDeactivationMessages[static_cast<std::size_t>(popupKind)];
}

CWndPopup::CWndPopup() : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    PopupFont = MakeSkinFont(UiFontFace(), UiFontPixelSize());
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    hoverTimer_.setSingleShot(true);
    connect(&hoverTimer_, &QTimer::timeout, this, [this] {
        if (Tracking)
            HandleMouseHover();
    });
}

CWndPopup::~CWndPopup() = default;

void CWndPopup::Create(QWidget* parent, const QRect& screenRect, int popupData, int popupParam)
{
    X = screenRect.left();
    Y = screenRect.top();
    PopupData = popupData;
    PopupParam = popupParam;
    // A tool window of the parent: above it, without a task-bar entry, gone with it.
    setParent(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setGeometry(screenRect);
    InitUI();
    Render();
    move(X, Y);
    show();
    raise();
    activateWindow();
}

bool CWndPopup::LoadPopupBackground()
{
    QImage image;
    if (!LoadImageFromResource(QStringLiteral("PNG"), 151, image))
        return false;
    BackgroundImage = image;
    BackgroundWidth = image.width();
    BackgroundHeight = image.height();
    return true;
}

void CWndPopup::Render()
{
    const UiRect client{0, 0, width(), height()};
    QImage picture(size(), QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::black);
    {
        QPainter painter(&picture);
        DrawWindow(painter, client);
    }
    picture_ = picture;
    update();
}

bool CWndPopup::SendToParent(std::uint32_t msg, WParam wParam, LParam lParam)
{
    QWidget* parent = parentWidget();
    if (!parent)
        return false;
    SendMessage(parent, msg, wParam, lParam);
    return true;
}

void CWndPopup::DrawWindow(QPainter&, const UiRect&) {}
void CWndPopup::DrawItems(QPainter&, const UiRect&) {}
void CWndPopup::InitUI() {}

bool CWndPopup::OnMouseMove(int, int)
{
    return false;
}

bool CWndPopup::OnLButtonDown(int, int)
{
    return false;
}

bool CWndPopup::OnLButtonUp(int, int)
{
    return false;
}

bool CWndPopup::OnRButtonUp(int, int)
{
    return false;
}

void CWndPopup::HandleMouseMove(const QPoint& point)
{
    if (!Tracking) {
        Tracking = true;
        hoverTimer_.start(kHoverTimeMs);
    }
    if (!ButtonDown && OnMouseMove(point.x(), point.y()))
        Render();
}

void CWndPopup::HandleMouseHover()
{
    const QPoint point = CursorPos();
    OnMouseMove(point.x(), point.y());
}

void CWndPopup::HandleMouseLeave()
{
    Tracking = false;
    hoverTimer_.stop();
    // With the button held the hover row stays until the release.
    if (ButtonDown)
        return;
    const QPoint point = CursorPos();
    if (OnMouseMove(point.x(), point.y()))
        Render();
}

void CWndPopup::HandleLButtonDown(const QPoint& point)
{
    ButtonDown = true;
    Captured = true; // the press grabs the mouse until the release
    if (OnLButtonDown(point.x(), point.y()))
        Render();
}

void CWndPopup::HandleLButtonUp(const QPoint& point)
{
    Captured = false;
    ButtonDown = false;
    if (OnLButtonUp(point.x(), point.y()))
        Render();
}

void CWndPopup::HandleRButtonUp(const QPoint& point)
{
    OnRButtonUp(point.x(), point.y());
}

void CWndPopup::HandleDeactivate()
{
    const std::uint32_t msg = PopupDeactivationMessage(PopupKind);
    if (msg != 0)
        SendToParent(msg, static_cast<WParam>(PopupParam), PopupKind);
}

bool CWndPopup::event(QEvent* event)
{
    if (event->type() == QEvent::WindowDeactivate)
        HandleDeactivate();
    return QWidget::event(event);
}

void CWndPopup::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, picture_);
}

void CWndPopup::mouseMoveEvent(QMouseEvent* event)
{
    HandleMouseMove(event->position().toPoint());
}

void CWndPopup::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        HandleLButtonDown(event->position().toPoint());
}

void CWndPopup::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        HandleLButtonUp(event->position().toPoint());
    else if (event->button() == Qt::RightButton)
        HandleRButtonUp(event->position().toPoint());
}

void CWndPopup::mouseDoubleClickEvent(QMouseEvent*)
{
    // The second press of a double click goes nowhere; its release still arrives.
}

void CWndPopup::leaveEvent(QEvent*)
{
    HandleMouseLeave();
}

void CWndPopup::closeEvent(QCloseEvent* event)
{
    SendToParent(kMsgPopupClosed, 0, 0);
    event->accept();
}

QPoint CWndPopup::CursorPos() const
{
    return mapFromGlobal(QCursor::pos());
}

} // namespace vexmo
