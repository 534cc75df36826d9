#pragma once
// The optical sensor the profiles are prepared for. Set from the "Sensor" setting at start and
// changed when the mouse reports a different sensor; the per-sensor defaults and DPI step tables
// are chosen by it.

#include <cstdint>

namespace vexmo {

// The sensor of the default settings ("Sensor" = "0x3212").
inline constexpr std::uint16_t kDefaultSensorId = 0x3212;

extern std::uint16_t SensorId;

} // namespace vexmo
