#pragma once
// What the mouse says about itself in its answer to the identity and status query.

#include <array>
#include <cstdint>
#include <optional>

namespace vexmo {

struct IdentityStatus {
    // The four-character identity mark "Q7J2" was in the answer.
    bool MarkFound = false;
    // The mouse allows the window to be shown.
    bool ShowBit = false;
    uint8_t SensorCode = 0;
    // The sensor the code stands for; empty for a code the program does not know.
    std::optional<uint16_t> SensorId;
    uint8_t BatteryPercent = 0;
    // 0 not charging, 1 charging, 2 full.
    int ChargeState = 0;
};

// Empty when the answer is not a reply to the query (byte 2 not 0x20 or byte 3 not 0).
// A full battery reads as 100 % whatever the percentage byte says.
std::optional<IdentityStatus> ParseIdentityReply(const std::array<uint8_t, 33>& reply);

// The sensor identifier a sensor code stands for.
std::optional<uint16_t> SensorIdFromCode(uint8_t code);

} // namespace vexmo
