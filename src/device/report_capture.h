#pragma once
// A device link with nothing behind it but a recorder: every command report written to it is
// kept with the time it was sent, and the pauses pass instantly on a clock of its own. Lets a
// tool show the reports an apply would send, in order, without a mouse.

#include "device/clock.h"
#include "device/device_link.h"
#include "device/hid_backend.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace vexmo {

struct CapturedReport {
    // Milliseconds of pauses that passed before the report was sent.
    std::uint64_t ms = 0;
    Report report{};
};

// Advances by every sleep without waiting.
class ManualClock : public Clock {
public:
    void SleepMs(unsigned ms) override;
    std::uint64_t NowMs() override;

private:
    std::mutex mutex_;
    std::uint64_t now_ = 0;
};

class CapturingLink {
public:
    // With `connected` the link's cable command interface is open (and takes the reports);
    // without, the link has no handle, as when the mouse is absent. The first report carries
    // sequence number `firstSequence`.
    explicit CapturingLink(std::uint8_t firstSequence = 0, bool connected = true);
    ~CapturingLink();
    CapturingLink(const CapturingLink&) = delete;
    CapturingLink& operator=(const CapturingLink&) = delete;

    DeviceLink& Link() { return *link_; }
    // Reports written so far, in order.
    std::vector<CapturedReport> Reports() const;
    void ClearReports();
    // Milliseconds of pauses so far.
    std::uint64_t ElapsedMs() { return clock_.NowMs(); }

private:
    class Backend;
    ManualClock clock_;
    std::unique_ptr<Backend> backend_;
    std::unique_ptr<DeviceLink> link_;
};

} // namespace vexmo
