#pragma once
// A button's macro in the form the mouse stores it: a header and one 3-byte event per step that
// is not a delay, each event carrying the delay that follows it; and the chunks of command 0x0E
// that carry it.

#include "macros/macro_types.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vexmo {

// Download indexes 0..15 address a buffer; the numbering hands out 1..6.
inline constexpr std::size_t MacroBufferCount = 16;
inline constexpr std::size_t MacroBufferLength = 1024;
// Only this much of a buffer is kept and compared; the rest stays zero.
inline constexpr std::size_t MacroBufferKept = 512;
inline constexpr std::size_t MacroHeaderLength = 4;
inline constexpr std::size_t MacroEventLength = 3;
// Events that fit in the kept part of a buffer.
inline constexpr std::size_t MaxMacroEvents = (MacroBufferKept - MacroHeaderLength) / MacroEventLength;
// The mouse takes at most this many milliseconds of delay after an event (12 bits).
inline constexpr std::uint32_t MaxMacroEventDelayMs = 0x0FFF;
// Event bytes carried by one chunk.
inline constexpr std::size_t MacroChunkPayload = 25;

using MacroEvent = std::array<std::uint8_t, MacroEventLength>;
using MacroBuffer = std::array<std::uint8_t, MacroBufferLength>;

// Event classes (bits 6..4 of the first event byte).
enum class MacroEventClass : std::uint8_t {
    Other = 0,
    MouseButton = 1,
    Modifier = 2,
    Key = 3,
    MoveX = 4,
    MoveY = 5,
    Wheel = 6,
};

// The class of a HID usage from VkToHidUsage.
MacroEventClass ClassOfUsage(std::uint8_t usage);

// Only action code 3 is a delay on the wire; the other codes below 8 that the editor shows as
// delays go through the key table like any key.
constexpr bool IsDownloadDelay(MacroAction action) { return action.Code() == MacroAction::kDelayCode; }

// The event for a step that is not a delay, followed by `delayMs` (capped at 4095).
MacroEvent EncodeMacroEvent(MacroAction action, std::uint32_t delayMs);

// The events of a macro in step order: one per used step that is not a delay, each with the
// delay of the step right after it when that is a delay (later delays in a row are dropped).
// At most MaxMacroEvents; steps beyond those do not fit in the mouse's buffer.
std::vector<MacroEvent> MacroEvents(const MacroKey& macro);

// The buffer for download index `index`: 9, 0x90, index, number of events, the events, zeros.
// The event count is that of the events in the buffer, not the count stored with the macro, so
// the mouse always gets the whole of the macro the button holds.
MacroBuffer BuildMacroBuffer(const MacroKey& macro, std::uint8_t index);

// One report's worth of a macro download.
struct MacroChunk {
    std::uint8_t packet = 0; // chunk index (high nibble) and chunk count (low nibble)
    std::uint8_t length = 0; // data length: 1 + the event bytes it carries
    std::array<std::uint8_t, 1 + MacroChunkPayload> data{}; // index, then 25 buffer bytes
};

// The chunks of a buffer: at least one; each carries the next 25 bytes after the header, the
// last one padded with what follows the events. Beyond 15 chunks only the low four bits of the
// chunk index and count are sent.
std::vector<MacroChunk> MacroChunks(const MacroBuffer& buffer);

} // namespace vexmo
