#include "data/sensor_id.h"

namespace vexmo {

std::uint16_t SensorId = kDefaultSensorId;

} // namespace vexmo
