#include "platform/base/system_clock.h"

#include <chrono>
#include <thread>

namespace vexmo {

void SystemClock::SleepMs(unsigned ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

uint64_t SystemClock::NowMs()
{
    using namespace std::chrono;
    return static_cast<uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

} // namespace vexmo
