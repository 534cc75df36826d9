#include "device_session.h"

#include "platform/base/hid_sim_backend.h"
#include "platform/base/hidraw_backend.h"
#include "platform/base/sim_wire.h"
#include "platform/base/system_clock.h"

namespace vexmo::ctl {

DeviceSession::DeviceSession() : clock_(std::make_unique<SystemClock>())
{
    const std::string sim = SimSocketPathFromEnv();
    if (!sim.empty()) {
        backend_ = std::make_unique<SimSocketBackend>(sim);
        simulated_ = true;
    } else {
        backend_ = std::make_unique<HidrawBackend>();
    }
    // A command-line run has no window to show the mouse's own changes in; they are dropped.
    link_ = std::make_unique<DeviceLink>(*backend_, *clock_, [](std::function<void()>) {});
}

bool DeviceSession::Open()
{
    link_->RescanDevices();
    return link_->PreferredHandle() != nullptr;
}

std::string DeviceSession::Route()
{
    if (link_->CableLink.FeatureHandle)
        return "cable";
    if (link_->ReceiverLink.FeatureHandle)
        return "receiver";
    return "none";
}

} // namespace vexmo::ctl
