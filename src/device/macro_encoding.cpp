#include "device/macro_encoding.h"

#include "data/vk_to_hid_usage.h"

#include <algorithm>

namespace vexmo {

namespace {

constexpr std::uint8_t MacroBufferTag0 = 9;
constexpr std::uint8_t MacroBufferTag1 = 0x90;

} // namespace

MacroEventClass ClassOfUsage(std::uint8_t usage)
{
    if (usage <= 0x90)
        return MacroEventClass::Key;
    if (usage <= 0xE7)
        return MacroEventClass::Modifier;
    if (usage >= 0xF0 && usage <= 0xF4)
        return MacroEventClass::MouseButton;
    switch (usage) {
    case 0xF5:
        return MacroEventClass::MoveX;
    case 0xF6:
        return MacroEventClass::MoveY;
    case 0xF7:
        return MacroEventClass::Wheel;
    default:
        return MacroEventClass::Other;
    }
}

MacroEvent EncodeMacroEvent(MacroAction action, std::uint32_t delayMs)
{
    const std::uint32_t delay = std::min(delayMs, MaxMacroEventDelayMs);
    const std::uint8_t usage = VkToHidUsage[action.Code()];
    const MacroEventClass eventClass = ClassOfUsage(usage);

    std::uint8_t code = usage;
    switch (eventClass) {
    case MacroEventClass::Modifier:
    case MacroEventClass::MouseButton:
        code = static_cast<std::uint8_t>(1u << (usage & 7));
        break;
    case MacroEventClass::MoveX:
    case MacroEventClass::MoveY:
    case MacroEventClass::Wheel:
        code = action.Byte(3);
        break;
    case MacroEventClass::Key:
    case MacroEventClass::Other:
        break;
    }

    const auto first = static_cast<std::uint8_t>(((delay >> 8) & 0x0F) |
                                                 (action.Byte(1) & MacroAction::kReleaseFlag) |
                                                 (static_cast<unsigned>(eventClass) << 4));
    return {first, static_cast<std::uint8_t>(delay & 0xFF), code};
}

std::vector<MacroEvent> MacroEvents(const MacroKey& macro)
{
    std::vector<MacroEvent> events;
    const unsigned used = macro.UsedActions();
    for (unsigned i = 0; i < used && events.size() < MaxMacroEvents; ++i) {
        const MacroAction action = macro.Actions[i];
        if (IsDownloadDelay(action))
            continue;
        std::uint32_t delay = 0;
        if (i + 1 < used && IsDownloadDelay(macro.Actions[i + 1]))
            delay = macro.Actions[i + 1].DelayMs();
        events.push_back(EncodeMacroEvent(action, delay));
    }
    return events;
}

MacroBuffer BuildMacroBuffer(const MacroKey& macro, std::uint8_t index)
{
    MacroBuffer buffer{};
    const std::vector<MacroEvent> events = MacroEvents(macro);
    buffer[0] = MacroBufferTag0;
    buffer[1] = MacroBufferTag1;
    buffer[2] = index;
    buffer[3] = static_cast<std::uint8_t>(events.size());
    std::size_t at = MacroHeaderLength;
    for (const MacroEvent& event : events) {
        std::copy(event.begin(), event.end(), buffer.begin() + at);
        at += MacroEventLength;
    }
    return buffer;
}

std::vector<MacroChunk> MacroChunks(const MacroBuffer& buffer)
{
    // The event byte count follows from the header's event count, not from the buffer's content.
    const std::size_t total = MacroEventLength * buffer[3];
    const std::size_t count = std::max<std::size_t>(1, (total + MacroChunkPayload - 1) / MacroChunkPayload);
    std::vector<MacroChunk> chunks(count);
    std::size_t remaining = total;
    for (std::size_t c = 0; c < count; ++c) {
        MacroChunk& chunk = chunks[c];
        chunk.packet = static_cast<std::uint8_t>(((c & 0x0F) << 4) | (count & 0x0F));
        if (remaining > MacroChunkPayload) {
            chunk.length = static_cast<std::uint8_t>(1 + MacroChunkPayload);
            remaining -= MacroChunkPayload;
        } else {
            chunk.length = static_cast<std::uint8_t>(1 + remaining);
        }
        chunk.data[0] = buffer[2];
        const std::size_t from = MacroHeaderLength + MacroChunkPayload * c;
        for (std::size_t b = 0; b < MacroChunkPayload && from + b < buffer.size(); ++b)
            chunk.data[1 + b] = buffer[from + b];
    }
    return chunks;
}

} // namespace vexmo
