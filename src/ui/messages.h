#pragma once
// Window messages between the skinned windows: a control reports to its dialog with a synchronous
// message whose number is the control id and whose lParam is the event code; windows talk to each
// other with fixed message numbers. SendMessage runs the receiver's handler at once, PostMessage
// queues it on the receiver's event queue.

#include <QObject>

#include <cstdint>
#include <functional>
#include <unordered_map>

namespace vexmo {

using WParam = std::uintptr_t;
using LParam = std::intptr_t;
using LResult = std::intptr_t;

// Event codes in lParam of a control notification.
inline constexpr LParam NotifyPress = 1;
inline constexpr LParam NotifyClick = 2;
inline constexpr LParam NotifyValue = 3;
inline constexpr LParam NotifyHoverEnter = 4;
inline constexpr LParam NotifyHoverLeave = 5;
inline constexpr LParam NotifyDblClick = 10;
inline constexpr LParam NotifyRightClick = 11;
inline constexpr LParam NotifyHover = 12;

// Fixed message numbers used by the toolkit.
inline constexpr std::uint32_t kMsgPopupClosed = 1025; // a pop-up tells its parent it is closing

// Mouse-button flags handed to the mouse handlers, as the platform reports them.
inline constexpr std::uint32_t kMkLButton = 0x0001;
inline constexpr std::uint32_t kMkRButton = 0x0002;
inline constexpr std::uint32_t kMkShift = 0x0004;
inline constexpr std::uint32_t kMkControl = 0x0008;
inline constexpr std::uint32_t kMkMButton = 0x0010;

// A window that receives messages. Handlers are either registered by number (OnMessageNumber) or
// written as an override of OnMessage, which by default looks the number up among the registered
// handlers and answers 0 for any other.
class MessageTarget {
public:
    using Handler = std::function<LResult(WParam, LParam)>;

    virtual ~MessageTarget() = default;

    virtual LResult OnMessage(std::uint32_t msg, WParam wParam, LParam lParam);
    // Replaces the handler of `msg`; an empty handler removes it.
    void OnMessageNumber(std::uint32_t msg, Handler handler);
    bool HasHandler(std::uint32_t msg) const { return handlers_.count(msg) != 0; }

private:
    std::unordered_map<std::uint32_t, Handler> handlers_;
};

// Runs the receiver's handler now and returns its result; 0 when `target` takes no messages.
LResult SendMessage(QObject* target, std::uint32_t msg, WParam wParam = 0, LParam lParam = 0);

// Queues the message on the receiver's event queue; it is dropped if the receiver is gone by the
// time it would run. False when `target` takes no messages.
bool PostMessage(QObject* target, std::uint32_t msg, WParam wParam = 0, LParam lParam = 0);

// Queues a close request (QWidget::close) for a window; dropped if the window is gone by then.
void PostCloseRequest(QObject* window);

} // namespace vexmo
