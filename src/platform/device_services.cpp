#include "platform/device_services.h"

#include "platform/base/hid_sim_backend.h"
#include "platform/base/hidraw_backend.h"
#include "platform/base/sim_wire.h"
#include "platform/udev_monitor.h"

#include <QSocketNotifier>

namespace vexmo {

namespace {

// The simulator's event connection as hot-plug notifications.
class SimHotplug final : public HotplugSource {
public:
    explicit SimHotplug(const std::string& socketPath)
    {
        if (!watch_.Connect(socketPath))
            return;
        notifier_ = new QSocketNotifier(watch_.Fd(), QSocketNotifier::Read, this);
        connect(notifier_, &QSocketNotifier::activated, this, [this] { Drain(); });
    }

private:
    void Drain()
    {
        bool ended = false;
        for (const SimDeviceEvent& event : watch_.Drain(&ended)) {
            if (event.arrival)
                emit deviceArrived();
            else
                emit deviceRemoved();
        }
        if (ended) {
            // The simulator has gone, and the mouse with it.
            notifier_->setEnabled(false);
            emit deviceRemoved();
        }
    }

    SimWatch watch_;
    QSocketNotifier* notifier_ = nullptr;
};

class UdevHotplug final : public HotplugSource {
public:
    UdevHotplug()
    {
        auto* monitor = new UdevMonitor(this);
        connect(monitor, &UdevMonitor::deviceArrived, this, &HotplugSource::deviceArrived);
        connect(monitor, &UdevMonitor::deviceRemoved, this, &HotplugSource::deviceRemoved);
    }
};

} // namespace

DeviceServices CreateDeviceServices()
{
    DeviceServices services;
    const std::string simSocket = SimSocketPathFromEnv();
    if (!simSocket.empty()) {
        services.Backend = std::make_unique<SimSocketBackend>(simSocket);
        services.Hotplug = std::make_unique<SimHotplug>(simSocket);
        services.Simulated = true;
    } else {
        services.Backend = std::make_unique<HidrawBackend>();
        services.Hotplug = std::make_unique<UdevHotplug>();
    }
    return services;
}

} // namespace vexmo
