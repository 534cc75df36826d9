#pragma once
// Window timers addressed by number, the way the windows of this program use them: setting a
// timer whose number is already running restarts it with the new period.

#include <QObject>

#include <functional>
#include <map>

namespace vexmo {

class TimerTable : public QObject {
    Q_OBJECT
public:
    explicit TimerTable(std::function<void(int id)> onTimer, QObject* parent = nullptr);

    void SetTimer(int id, int periodMs);
    void KillTimer(int id);
    bool IsRunning(int id) const;

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    std::function<void(int)> onTimer_;
    std::map<int, int> qtIdById_; // our number -> Qt timer id
};

} // namespace vexmo
