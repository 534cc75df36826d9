#pragma once
// One complete mouse configuration (ProfileRecord), the five of them kept for the whole run
// (ProfileTable), the one in use (CurrentProfileIndex), and their defaults.
//
// A key slot holds its macro by value: copying a record or a slot copies the macro with it, and
// assigning a library macro to a button copies its content, so a button never shares a macro
// object with the library (editing the library macro later leaves the button's copy alone).

#include "data/settings_store.h"
#include "macros/macro_types.h"

#include <array>
#include <cstdint>
#include <string>

namespace vexmo {

// 0x00BBGGRR: red in the lowest byte.
using Colour = std::uint32_t;
// Three stored bytes (type, p1, p2 for a button; the first byte only is interpreted elsewhere).
using ByteTriple = std::array<std::uint8_t, 3>;

constexpr std::uint8_t ColourRed(Colour c) { return static_cast<std::uint8_t>(c); }
constexpr std::uint8_t ColourGreen(Colour c) { return static_cast<std::uint8_t>(c >> 8); }
constexpr std::uint8_t ColourBlue(Colour c) { return static_cast<std::uint8_t>(c >> 16); }
constexpr Colour MakeColour(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
{
    return Colour(red) | Colour(green) << 8 | Colour(blue) << 16;
}

inline constexpr int kTextSettingCount = 20;
inline constexpr int kKeySlotCount = 6;
inline constexpr int kDpiLevelCount = 8;
inline constexpr int kLightingEffectCount = 10;
inline constexpr int kLightingColourPositions = 10;

// Pair indexes of ProfileRecord::TextSettings. Pairs 1..14 are only carried from file to file;
// 15 goes to the mouse with the power settings, which the main window never changes.
enum TextSettingIndex : int {
    kTextProfileName = 0,
    kTextMoveLightingOnOffMode = 15,
    kTextPowerDownTime = 16,
    kTextLiftDetectionHeight = 17,
    kTextKeyDebounce = 18,
    kTextMotionWakeup = 19,
};

// Button control ids of the main window's six button slots.
inline constexpr int kFirstKeyButtonId = 2013;
inline constexpr int kLastKeyButtonId = 2018;

struct TextSetting {
    std::u16string name;
    std::u16string value;

    friend bool operator==(const TextSetting&, const TextSetting&) = default;
};

struct KeySlot {
    std::u16string KeyName;
    ByteTriple KeyValue{};
    // Library identity of the assigned macro; 0 when none.
    std::uint32_t MacroKeyIndex = 0;
    // The button's own copy of its macro.
    MacroKey Macro;

    friend bool operator==(const KeySlot&, const KeySlot&) = default;
};

// The two lighting zones. Zone 1 keeps one value per effect (indexed by byte 0 of
// Lighting1ModeValue), zone 2 one of each.
struct LightingZones {
    std::uint8_t Lighting1OffOn = 0;
    std::u16string Lighting1Name;
    ByteTriple Lighting1ModeValue{};
    std::array<std::uint8_t, kLightingEffectCount> Lighting1Speed{};
    std::array<std::uint8_t, kLightingEffectCount> Lighting1Brightness{};
    // Per effect, per colour position: 1 = position in use.
    std::array<std::array<std::uint8_t, kLightingColourPositions>, kLightingEffectCount>
        Lighting1ColorSelected{};
    std::array<std::array<Colour, kLightingColourPositions>, kLightingEffectCount>
        Lighting1FixedColor{};
    std::array<std::uint8_t, kLightingEffectCount> Lighting1Direction{};

    std::uint8_t Lighting2OffOn = 0;
    std::u16string Lighting2Name;
    ByteTriple Lighting2ModeValue{};
    std::uint8_t Lighting2Speed = 0;
    std::uint8_t Lighting2Brightness = 0;
    Colour Lighting2FixedColor = 0;

    friend bool operator==(const LightingZones&, const LightingZones&) = default;
};

struct ProfileRecord {
    std::array<TextSetting, kTextSettingCount> TextSettings{};
    std::array<KeySlot, kKeySlotCount> KeySlots{};
    std::u16string PollingRateName;
    // Byte 0: report rate choice 0..3 (125, 250, 500, 1000 Hz); bytes 1, 2 carried.
    ByteTriple PollingRateValue{};
    LightingZones LightingSettings;
    // Bit i set: DPI level i is switched on.
    std::uint8_t DPIOffOnFlagValue = 0;
    // Per DPI level: step index into the sensor's DPI table.
    std::array<std::uint16_t, kDpiLevelCount> XYSettingValue{};
    std::uint8_t CurrentDPILevelValue = 0;
    std::array<Colour, kDpiLevelCount> DPILevelIndicationValuer{};
    std::uint8_t AngleSnapValue = 0;
    std::uint8_t LiftDetectionValue = 0;

    friend bool operator==(const ProfileRecord&, const ProfileRecord&) = default;
};

// The five profiles, alive for the whole run; filled in place, never reallocated.
extern std::array<ProfileRecord, kProfileSlotCount> ProfileTable;
// The profile shown in the main window and written to the mouse.
extern int CurrentProfileIndex;

// Profile `index` of ProfileTable; nullptr outside 0..4.
ProfileRecord* ProfileAt(int index);
// ProfileAt(CurrentProfileIndex).
ProfileRecord* CurrentProfile();

// Every field to its default. The name is language text 85 + index for index 0..4, otherwise
// "Profile%u" of index + 1. The sensor-dependent fields come from ApplySensorDefaults.
void FillDefaults(ProfileRecord& record, int index);

// The sensor-dependent fields (DPI switch bits, DPI step indexes, active level, level colours,
// angle snap, lift-off) to the defaults of `sensorId`. For a sensor without a default step row
// the step indexes stay as they are; the other fields are reset all the same.
void ApplySensorDefaults(ProfileRecord& record, std::uint16_t sensorId);
// For the current SensorId.
void ApplySensorDefaults(ProfileRecord& record);

// Text settings by pair index 0..19; other indexes give an empty string / are ignored.
std::u16string GetTextSettingName(const ProfileRecord& record, int pair);
std::u16string GetTextSettingValue(const ProfileRecord& record, int pair);
// Value := "%d" of value.
void SetTextSettingValue(ProfileRecord& record, int pair, int value);
std::u16string GetProfileName(const ProfileRecord& record);
void SetProfileName(ProfileRecord& record, std::u16string name);
// The settings the main window changes.
void SetMotionWakeup(ProfileRecord& record, int on); // stored as 1 when positive, else 0
void SetPowerDownTime(ProfileRecord& record, int value);
void SetLiftDetectionHeight(ProfileRecord& record, int value);
void SetKeyDebounce(ProfileRecord& record, int milliseconds);

// Slot 0..5 of a record; nullptr for any other index.
KeySlot* SlotAt(ProfileRecord& record, int slot);
const KeySlot* SlotAt(const ProfileRecord& record, int slot);

// Button control ids 2013..2018 address slots 0..5 of the current profile; any other id (the
// ids 2019..2026 of the other buttons included) is ignored, and so is a current index outside
// 0..4. Sets the name and value and empties the slot's macro (action count 0). With a macro, its
// whole content and identity are copied into the slot and MacroKeyIndex takes its identity;
// without one, the rest of the slot's macro and MacroKeyIndex stay.
void SetKeyAssignment(int buttonControlId, const std::u16string& name, ByteTriple value,
                      const MacroKey* macro);

// Number of actions that are not delays (code above 7) among the macro's used actions, at most
// 255 (the field is 8 bits).
std::uint8_t CountCommandActions(const MacroKey& macro);

} // namespace vexmo
