#include "ui/messages.h"

#include <QMetaObject>
#include <QWidget>

namespace vexmo {

LResult MessageTarget::OnMessage(std::uint32_t msg, WParam wParam, LParam lParam)
{
    auto it = handlers_.find(msg);
    if (it == handlers_.end())
        return 0;
    // A copy: the handler may replace or remove itself.
    Handler handler = it->second;
    return handler(wParam, lParam);
}

void MessageTarget::OnMessageNumber(std::uint32_t msg, Handler handler)
{
    if (handler)
        handlers_[msg] = std::move(handler);
    else
        handlers_.erase(msg);
}

LResult SendMessage(QObject* target, std::uint32_t msg, WParam wParam, LParam lParam)
{
    auto* receiver = dynamic_cast<MessageTarget*>(target);
    return receiver ? receiver->OnMessage(msg, wParam, lParam) : 0;
}

bool PostMessage(QObject* target, std::uint32_t msg, WParam wParam, LParam lParam)
{
    if (!dynamic_cast<MessageTarget*>(target))
        return false;
    // Queued with the receiver as context: Qt drops the call when the receiver is destroyed first.
    QMetaObject::invokeMethod(
        target, [target, msg, wParam, lParam] { SendMessage(target, msg, wParam, lParam); }, Qt::QueuedConnection);
    return true;
}

void PostCloseRequest(QObject* window)
{
    auto* widget = qobject_cast<QWidget*>(window);
    if (!widget)
        return;
    QMetaObject::invokeMethod(widget, [widget] { widget->close(); }, Qt::QueuedConnection);
}

} // namespace vexmo
