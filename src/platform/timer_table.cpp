#include "platform/timer_table.h"

#include <QTimerEvent>

namespace vexmo {

TimerTable::TimerTable(std::function<void(int)> onTimer, QObject* parent)
    : QObject(parent), onTimer_(std::move(onTimer))
{
}

void TimerTable::SetTimer(int id, int periodMs)
{
    KillTimer(id);
    qtIdById_[id] = startTimer(periodMs, Qt::PreciseTimer);
}

void TimerTable::KillTimer(int id)
{
    auto it = qtIdById_.find(id);
    if (it == qtIdById_.end())
        return;
    killTimer(it->second);
    qtIdById_.erase(it);
}

bool TimerTable::IsRunning(int id) const
{
    return qtIdById_.count(id) != 0;
}

void TimerTable::timerEvent(QTimerEvent* event)
{
    for (const auto& [id, qtId] : qtIdById_) {
        if (qtId == event->timerId()) {
            // Copy: the handler may kill or restart this very timer.
            const int ours = id;
            onTimer_(ours);
            return;
        }
    }
}

} // namespace vexmo
