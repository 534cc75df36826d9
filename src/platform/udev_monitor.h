#pragma once
// Tells the program when a hidraw node appears or goes away: the libudev counterpart of the
// device-change broadcast a window registers for on Windows.

#include <QObject>

class QSocketNotifier;
struct udev;
struct udev_monitor;

namespace vexmo {

class UdevMonitor : public QObject {
    Q_OBJECT
public:
    explicit UdevMonitor(QObject* parent = nullptr);
    ~UdevMonitor() override;

    // False when no monitor could be set up (no udev, as in some containers); no signal comes
    // then and the program works with what it finds at start-up.
    bool isActive() const;

signals:
    void deviceArrived();
    void deviceRemoved();

private:
    void drain();

    udev* udev_ = nullptr;
    udev_monitor* monitor_ = nullptr;
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace vexmo
