#pragma once
// Time and sleeping are injected so that the device link's waits are instant in tests.

#include <cstdint>
#include <functional>

namespace vexmo {

class Clock {
public:
    virtual ~Clock() = default;
    virtual void SleepMs(unsigned ms) = 0;
    virtual uint64_t NowMs() = 0;
};

// Runs a piece of work on the UI thread, after the work handed over before it.
using UiPost = std::function<void(std::function<void()>)>;

} // namespace vexmo
