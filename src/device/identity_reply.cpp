#include "device/identity_reply.h"

namespace vexmo {

namespace {

struct SensorCodeEntry {
    uint8_t Code;
    uint16_t SensorId;
};

constexpr SensorCodeEntry kSensorCodes[] = {
    {0x04, 0x3104}, {0x12, 0x3212}, {0x25, 0x3325}, {0x27, 0x3327}, {0x35, 0x3335},
    {0x60, 0x3360}, {0x70, 0x3370}, {0x89, 0x3389}, {0x95, 0x3395}, {0x99, 0x3399},
};

constexpr uint8_t kIdentityMark[4] = {'Q', '7', 'J', '2'};

} // namespace

std::optional<uint16_t> SensorIdFromCode(uint8_t code)
{
    for (const auto& entry : kSensorCodes) {
        if (entry.Code == code)
            return entry.SensorId;
    }
    return std::nullopt;
}

std::optional<IdentityStatus> ParseIdentityReply(const std::array<uint8_t, 33>& reply)
{
    if (reply[2] != 0x20 || reply[3] != 0x00)
        return std::nullopt;
    IdentityStatus status;
    status.MarkFound = reply[8] == kIdentityMark[0] && reply[9] == kIdentityMark[1] &&
                       reply[10] == kIdentityMark[2] && reply[11] == kIdentityMark[3];
    status.ShowBit = reply[21] != 0;
    status.SensorCode = reply[15];
    status.SensorId = SensorIdFromCode(reply[15]);
    status.BatteryPercent = reply[18];
    if (reply[19] == 1) {
        status.ChargeState = 1;
    } else if (reply[19] == 2) {
        status.ChargeState = 2;
        status.BatteryPercent = 100;
    }
    return status;
}

} // namespace vexmo
