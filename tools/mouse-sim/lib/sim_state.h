#pragma once
// What the simulated mouse holds: every setting the command reports gave it, decoded as the
// firmware reads them, each field unknown (empty) until a command sets it. Reports that do not
// decode change nothing; they are counted and their reasons kept in a short list.

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vexmo {

constexpr size_t kSimCommandLength = 33;
constexpr int kSimDeviceSlots = 6;
constexpr int kSimDpiCodes = 6;
constexpr int kSimColours = 8;
constexpr int kSimMacroIndexes = 6;       // download indexes 1..6
constexpr size_t kSimMaxMalformedKept = 32;
constexpr size_t kSimMaxChunkOrder = 64;

struct SimKeyValue {
    uint8_t type = 0;
    uint8_t p1 = 0;
    uint8_t p2 = 0;
    bool operator==(const SimKeyValue&) const = default;
};

struct SimDpiState {
    uint8_t levels = 0;                   // low nibble of byte 0: how many levels are enabled
    uint8_t active = 0;                   // high nibble: the active one among them, 1-based
    uint8_t mask = 0;                     // byte 1: bit i = level i + 1 enabled
    std::array<uint16_t, kSimDpiCodes> codes{};   // levels 1..6
    bool operator==(const SimDpiState&) const = default;
};

using SimColour = std::array<uint8_t, 3>;     // as sent: bits 0-7, 8-15, 16-23

struct SimPowerState {
    uint8_t powerDownTime = 0;
    uint8_t moveLightingOnOffMode = 0;
    bool operator==(const SimPowerState&) const = default;
};

struct SimLightingState {
    uint8_t mode = 0;                     // report byte 7, also when the length is 0
    uint8_t brightSpeed = 0;              // byte 8: (brightness + 1) << 4 | (speed + 1)
    std::vector<uint8_t> data;            // the L meaningful bytes from byte 7 on
    bool operator==(const SimLightingState&) const = default;
};

// One download index's macro. Its chunks must come as 0, 1, ..., count - 1, all giving the
// same count and every one but the last full (25 event bytes); the events are known only when
// the last chunk arrived that way.
struct SimMacroState {
    enum class Status {
        Partial,      // in order so far, chunks missing
        Complete,
        OutOfOrder,   // a chunk other than the next one, or the count changed
        ShortChunk,   // a chunk before the last with fewer than 25 event bytes
    };
    Status status = Status::Partial;
    uint8_t chunkCount = 0;               // the packet field's count of the download's first chunk
    std::vector<uint8_t> order;           // chunk indexes as they arrived (at most 64 kept)
    std::vector<uint8_t> events;          // the 3-byte events; empty unless Complete
    unsigned abandoned = 0;               // downloads of this index cut short by a new chunk 0
    std::vector<uint8_t> received;        // event bytes taken while Partial
};

struct SimMalformed {
    uint64_t serial = 0;                  // 1, 2, ... since the state was cleared
    uint64_t ms = 0;
    uint8_t command = 0;
    std::string reason;
};

struct SimState {
    std::array<std::optional<SimKeyValue>, kSimDeviceSlots> deviceSlots;   // by device slot
    std::optional<SimDpiState> dpi;
    std::optional<std::array<SimColour, kSimColours>> colours;       // levels 1..8
    std::optional<uint8_t> interval;      // report interval in ms
    std::optional<uint8_t> liftOff;
    std::optional<uint8_t> debounce;
    std::optional<SimPowerState> power;
    std::optional<uint8_t> wakeup;
    std::optional<SimLightingState> lighting;
    std::array<std::optional<SimMacroState>, kSimMacroIndexes> macros;  // index k at k - 1
    unsigned factoryResets = 0;
    uint64_t malformedCount = 0;
    std::deque<SimMalformed> malformed;   // the latest kSimMaxMalformedKept

    // Download index 1..6.
    const std::optional<SimMacroState>& Macro(int index) const
    {
        return macros.at(size_t(index - 1));
    }
};

// Decodes one command report (report ID byte included) into the state. False when it is
// malformed: the reason is counted and kept, the settings stay as they were. A well-formed
// identity query changes nothing.
bool SimApplyCommand(SimState& state, std::span<const uint8_t, kSimCommandLength> report,
                     uint64_t ms);

// A factory reset: every setting and macro becomes unknown; the counters and the list of
// malformed reports stay.
void SimForgetSettings(SimState& state);

// The dumps described in tools/mouse-sim/README.md: "key=value" lines, and JSON. Every line
// ends with '\n'.
std::string SimStateText(const SimState& state);
std::string SimStateJson(const SimState& state);

// "partial", "complete", "out-of-order", "short-chunk".
const char* SimMacroStatusName(SimMacroState::Status status);

} // namespace vexmo
