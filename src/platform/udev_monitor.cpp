#include "platform/udev_monitor.h"

#include <QPointer>
#include <QSocketNotifier>

#include <cstring>
#include <vector>

#include <libudev.h>

namespace vexmo {

UdevMonitor::UdevMonitor(QObject* parent) : QObject(parent)
{
    udev_ = udev_new();
    if (udev_ == nullptr)
        return;
    // Events as udev sends them after its rules ran, so the node's permissions are set by then.
    monitor_ = udev_monitor_new_from_netlink(udev_, "udev");
    if (monitor_ == nullptr ||
        udev_monitor_filter_add_match_subsystem_devtype(monitor_, "hidraw", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor_) < 0) {
        if (monitor_ != nullptr)
            udev_monitor_unref(monitor_);
        monitor_ = nullptr;
        return;
    }
    // The monitor's socket is non-blocking, so drain() can empty it without hanging.
    notifier_ = new QSocketNotifier(udev_monitor_get_fd(monitor_), QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] { drain(); });
}

UdevMonitor::~UdevMonitor()
{
    delete notifier_;
    if (monitor_ != nullptr)
        udev_monitor_unref(monitor_);
    if (udev_ != nullptr)
        udev_unref(udev_);
}

bool UdevMonitor::isActive() const
{
    return notifier_ != nullptr;
}

void UdevMonitor::drain()
{
    enum class Change { Arrived, Removed };
    std::vector<Change> changes;
    while (udev_device* device = udev_monitor_receive_device(monitor_)) {
        const char* action = udev_device_get_action(device);
        if (action != nullptr && std::strcmp(action, "add") == 0)
            changes.push_back(Change::Arrived);
        else if (action != nullptr && std::strcmp(action, "remove") == 0)
            changes.push_back(Change::Removed);
        udev_device_unref(device);
    }
    // A receiver may delete this monitor (the main window closing); stop emitting then.
    const QPointer<UdevMonitor> self(this);
    for (Change change : changes) {
        if (change == Change::Arrived)
            emit deviceArrived();
        else
            emit deviceRemoved();
        if (!self)
            return;
    }
}

} // namespace vexmo
