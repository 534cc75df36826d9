#pragma once
// The simulated mouse as a HID backend in the same process, for tests of the device link.

#include "device/hid_backend.h"
#include "sim_mouse.h"

namespace vexmo {

// The SimMouse must outlive the backend and every device it opened. A device whose link is
// unplugged fails all its calls; it is still safe to use and to destroy.
class SimHidBackend : public HidBackend {
public:
    explicit SimHidBackend(SimMouse& mouse) : mouse_(mouse) {}
    std::vector<std::string> EnumerateInterfaces() override;
    std::unique_ptr<HidDevice> Open(const std::string& path) override;

private:
    SimMouse& mouse_;
};

} // namespace vexmo
