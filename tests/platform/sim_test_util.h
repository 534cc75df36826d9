#pragma once
// Reports the simulated mouse's tests send it.

#include "sim_mouse.h"

#include <cstdint>

namespace vexmo::simtest {

// The identity and status query with the given sequence number.
inline SimReport IdentityQuery(uint8_t seq)
{
    SimReport r{};
    r[0] = 0x0C;
    r[1] = 0x01;
    r[2] = 0x20;
    r[4] = seq;
    return r;
}

} // namespace vexmo::simtest
