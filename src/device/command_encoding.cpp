#include "device/command_encoding.h"

#include "data/text_format.h"

#include <bit>

namespace vexmo {

namespace {

// Lighting modes and the layout of their data after the mode and speed/brightness bytes.
constexpr std::uint8_t LightingDirectionMode = 1;
constexpr std::uint8_t LightingColourListMode = 2;
constexpr std::uint8_t LightingSingleColourMode = 3;
constexpr std::uint8_t LightingSevenFieldMode = 6;
constexpr std::uint8_t LightingTwoFieldMode = 7;
// Colour positions the list mode and the seven-field mode look at.
constexpr int LightingColourFields = 7;

template <std::size_t N> void PutColour(std::array<std::uint8_t, N>& block, std::size_t at, Colour c)
{
    block[at] = ColourRed(c);
    block[at + 1] = ColourGreen(c);
    block[at + 2] = ColourBlue(c);
}

} // namespace

std::uint8_t TextSettingByte(const ProfileRecord& record, int pair)
{
    return static_cast<std::uint8_t>(ParseDecimal(GetTextSettingValue(record, pair)));
}

KeyBlock EncodeKeyBlock(const ProfileRecord& record)
{
    KeyBlock block{};
    block[0] = 0x0C;
    block[1] = 0x71;
    for (int deviceSlot = 0; deviceSlot < kKeySlotCount; ++deviceSlot) {
        const ByteTriple& value = record.KeySlots[KeySlotOfDeviceSlot(deviceSlot)].KeyValue;
        for (int b = 0; b < 3; ++b)
            block[2 + 3 * deviceSlot + b] = value[b];
    }
    return block;
}

DpiBlock EncodeDpiBlock(const ProfileRecord& record, const DpiTables& tables)
{
    DpiBlock block{};
    const auto enabled = static_cast<unsigned>(std::popcount(record.DPIOffOnFlagValue));
    // The active level is counted among the enabled ones, 1-based on the wire.
    block[0] = static_cast<std::uint8_t>(((record.CurrentDPILevelValue + 1u) << 4) |
                                         (enabled & 0x0F));
    block[1] = record.DPIOffOnFlagValue;
    // Levels 7 and 8 have no DPI code in this report.
    for (int level = 0; level < 6; ++level) {
        const std::uint16_t code = tables.DpiCodeTable(record.XYSettingValue[level]);
        block[2 + 2 * level] = static_cast<std::uint8_t>(code);
        block[3 + 2 * level] = static_cast<std::uint8_t>(code >> 8);
    }
    return block;
}

ColourBlock EncodeColourBlock(const ProfileRecord& record)
{
    ColourBlock block{};
    for (int level = 0; level < kDpiLevelCount; ++level)
        PutColour(block, 3 * level, record.DPILevelIndicationValuer[level]);
    return block;
}

std::uint8_t EncodePollingByte(const ProfileRecord& record)
{
    switch (record.PollingRateValue[0]) {
    case 0:
        return 8;
    case 1:
        return 4;
    case 2:
        return 2;
    default:
        return 1;
    }
}

std::uint8_t EncodeLiftOffByte(const ProfileRecord& record)
{
    return TextSettingByte(record, kTextLiftDetectionHeight) == 1 ? 1 : 2;
}

std::uint8_t EncodeDebounceByte(const ProfileRecord& record)
{
    return TextSettingByte(record, kTextKeyDebounce);
}

PowerPair EncodePowerPair(const ProfileRecord& record)
{
    return {TextSettingByte(record, kTextPowerDownTime),
            TextSettingByte(record, kTextMoveLightingOnOffMode)};
}

std::uint8_t EncodeWakeupByte(const ProfileRecord& record)
{
    return TextSettingByte(record, kTextMotionWakeup);
}

LightingBlock EncodeLightingBlock(const LightingZones& lighting)
{
    LightingBlock block{};
    const std::uint8_t mode = lighting.Lighting1ModeValue[0];
    block[1] = mode;
    if (mode >= kLightingEffectCount) {
        // No per-mode entries to read: speed and brightness count as 0, nothing else is sent.
        block[0] = 0;
        block[2] = 0x11;
        return block;
    }

    const unsigned speed = lighting.Lighting1Speed[mode];
    const unsigned brightness = lighting.Lighting1Brightness[mode];
    block[2] = static_cast<std::uint8_t>(((brightness + 1) << 4) | ((speed + 1) & 0x0F));
    const auto& selected = lighting.Lighting1ColorSelected[mode];
    const auto& colours = lighting.Lighting1FixedColor[mode];

    switch (mode) {
    case LightingDirectionMode:
        block[3] = lighting.Lighting1Direction[mode];
        block[0] = 3;
        break;
    case LightingColourListMode: {
        // Only positions that are both in use and not black make the list.
        std::size_t at = 4;
        std::uint8_t count = 0;
        for (int j = 0; j < LightingColourFields; ++j) {
            if (selected[j] != 0 && colours[j] != 0) {
                PutColour(block, at, colours[j]);
                at += 3;
                ++count;
            }
        }
        block[3] = count;
        block[0] = static_cast<std::uint8_t>(3 + 3 * count);
        break;
    }
    case LightingSingleColourMode:
        PutColour(block, 3, colours[0]);
        block[0] = 5;
        break;
    case LightingSevenFieldMode:
        for (int j = 0; j < LightingColourFields; ++j) {
            if (selected[j] != 0)
                PutColour(block, 3 + 3 * j, colours[j]);
        }
        block[0] = 23;
        break;
    case LightingTwoFieldMode:
        for (int j = 0; j < 2; ++j) {
            if (selected[j] != 0)
                PutColour(block, 3 + 3 * j, colours[j]);
        }
        block[0] = 8;
        break;
    default: // 0, 4, 5, 8, 9: the mode and its speed and brightness only
        block[0] = 2;
        break;
    }
    return block;
}

} // namespace vexmo
