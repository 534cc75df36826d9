#pragma once

#include "device/clock.h"

namespace vexmo {

// The real clock: monotonic milliseconds and real sleeping.
class SystemClock final : public Clock {
public:
    void SleepMs(unsigned ms) override;
    uint64_t NowMs() override;
};

} // namespace vexmo
