#pragma once
// The bytes the mouse receives for each setting of a profile: one block per command, encoded
// without touching the device, so that they can be compared with what was last sent and printed
// by tools.

#include "data/dpi_tables.h"
#include "data/profile_record.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace vexmo {

// Command codes (byte 2 of a command report).
inline constexpr std::uint8_t KeyAssignmentCommand = 0x04;
inline constexpr std::uint8_t DpiLevelsCommand = 0x05;
inline constexpr std::uint8_t DpiColoursCommand = 0x06;
inline constexpr std::uint8_t PollingRateCommand = 0x07;
inline constexpr std::uint8_t LightingCommand = 0x08;
inline constexpr std::uint8_t LiftOffCommand = 0x09;
inline constexpr std::uint8_t DebounceCommand = 0x0A;
inline constexpr std::uint8_t PowerSavingCommand = 0x0B;
inline constexpr std::uint8_t MotionWakeupCommand = 0x0C;
inline constexpr std::uint8_t MacroChunkCommand = 0x0E;
inline constexpr std::uint8_t FactoryResetCommand = 0x0F;
// Packet field of every command that fits in one report: packet 0 of 1.
inline constexpr std::uint8_t SinglePacket = 0x01;

// Button types of a KeyValue as the mouse reads them.
inline constexpr std::uint8_t KeyTypeDisabled = 0x00;
inline constexpr std::uint8_t KeyTypeMouseButton = 0x10;
inline constexpr std::uint8_t KeyTypeFireKey = 0x30;
inline constexpr std::uint8_t KeyTypeDpiSwitch = 0x40;
inline constexpr std::uint8_t KeyTypeDpiLock = 0x50;
inline constexpr std::uint8_t KeyTypeKeyCombination = 0x70;
inline constexpr std::uint8_t KeyTypeConsumer = 0x80;
inline constexpr std::uint8_t KeyTypeMacro = 0x90;

// Key block: 0x0C, 0x71, then the six KeyValues in device slot order. Only bytes 2.. are sent.
inline constexpr std::size_t KeyBlockLength = 2 + 3 * kKeySlotCount;
using KeyBlock = std::array<std::uint8_t, KeyBlockLength>;
// DPI block: the data of command 0x05. The last byte is never compared.
inline constexpr std::size_t DpiBlockLength = 18;
inline constexpr std::size_t DpiBlockCompared = 17;
using DpiBlock = std::array<std::uint8_t, DpiBlockLength>;
// Colour block: the data of command 0x06, three bytes per DPI level.
inline constexpr std::size_t ColourBlockLength = 3 * kDpiLevelCount;
using ColourBlock = std::array<std::uint8_t, ColourBlockLength>;
// Lighting block: byte 0 is the length L sent as the report's data length; bytes 1..25 travel
// as the report's data whatever L is.
inline constexpr std::size_t LightingBlockSent = 25;
inline constexpr std::size_t LightingBlockLength = 1 + LightingBlockSent;
using LightingBlock = std::array<std::uint8_t, LightingBlockLength>;
// Power pair: PowerDownTime, MoveLightingOnOffMode.
using PowerPair = std::array<std::uint8_t, 2>;

// The key slot whose assignment goes to a device slot: the mouse numbers the fourth and fifth
// buttons the other way round, so key slots 3 and 4 are exchanged on the wire. The mapping is
// its own inverse.
constexpr int KeySlotOfDeviceSlot(int deviceSlot)
{
    return deviceSlot == 3 ? 4 : deviceSlot == 4 ? 3 : deviceSlot;
}

// A text setting's value as the decimal number it holds, cut to its low byte ("12" gives 12,
// "" and "abc" give 0, "258" gives 2).
std::uint8_t TextSettingByte(const ProfileRecord& record, int pair);

KeyBlock EncodeKeyBlock(const ProfileRecord& record);
// The DPI codes of levels 1..6 come from `tables`, the current sensor's.
DpiBlock EncodeDpiBlock(const ProfileRecord& record, const DpiTables& tables);
ColourBlock EncodeColourBlock(const ProfileRecord& record);
// Report interval in ms for the report-rate choice: 0 -> 8, 1 -> 4, 2 -> 2, anything else -> 1.
std::uint8_t EncodePollingByte(const ProfileRecord& record);
// 1 for lift-off height 1, 2 for anything else.
std::uint8_t EncodeLiftOffByte(const ProfileRecord& record);
std::uint8_t EncodeDebounceByte(const ProfileRecord& record);
PowerPair EncodePowerPair(const ProfileRecord& record);
std::uint8_t EncodeWakeupByte(const ProfileRecord& record);
// Zone 1 only; the second zone never reaches the mouse. A mode of 10 or more has no entry in
// the per-mode tables: it is sent with L = 0 and speed and brightness 0.
LightingBlock EncodeLightingBlock(const LightingZones& lighting);

} // namespace vexmo
