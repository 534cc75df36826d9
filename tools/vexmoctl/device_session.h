#pragma once
// The mouse as vexmoctl reaches it: hidraw, or the simulated mouse when VEXMO_MOUSE_SIM is set.

#include "device/clock.h"
#include "device/device_link.h"
#include "device/hid_backend.h"

#include <memory>
#include <string>

namespace vexmo::ctl {

class DeviceSession {
public:
    DeviceSession();
    // True when a command interface of the mouse was found and opened.
    bool Open();
    DeviceLink& Link() { return *link_; }
    // "cable", "receiver" or "none": where commands go.
    std::string Route();
    bool Simulated() const { return simulated_; }

private:
    std::unique_ptr<Clock> clock_;
    std::unique_ptr<HidBackend> backend_;
    std::unique_ptr<DeviceLink> link_;
    bool simulated_ = false;
};

} // namespace vexmo::ctl
