#pragma once
// Chooses how the program reaches the mouse: hidraw and udev normally, the simulated mouse when
// VEXMO_MOUSE_SIM names its socket.

#include "device/hid_backend.h"

#include <QObject>

#include <memory>

namespace vexmo {

// Arrival and removal of HID interfaces, delivered on the UI thread.
class HotplugSource : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
signals:
    void deviceArrived();
    void deviceRemoved();
};

struct DeviceServices {
    std::unique_ptr<HidBackend> Backend;
    std::unique_ptr<HotplugSource> Hotplug;
    // True when the simulated mouse stands in for the hardware.
    bool Simulated = false;
};

DeviceServices CreateDeviceServices();

} // namespace vexmo
