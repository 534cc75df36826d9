#include "data/profile_record.h"

#include "app/core/language_texts.h"
#include "data/sensor_id.h"
#include "data/text_format.h"

#include <algorithm>

namespace vexmo {

std::array<ProfileRecord, kProfileSlotCount> ProfileTable;
int CurrentProfileIndex = 0;

namespace {

struct TextDefault {
    const char16_t* name;
    const char16_t* value;
};

// Pairs 1..19; pair 0 is the profile name.
constexpr TextDefault kTextDefaults[kTextSettingCount - 1] = {
    {u"GameFile0", u""},
    {u"GameFile1", u""},
    {u"GameFile2", u""},
    {u"DoubleClickSpeed", u"6"},
    {u"PointerSpeed", u"5"},
    {u"AccelerationEnable", u"1"},
    {u"ScrollWheelSpeed", u"2"},
    {u"ScrollWheelPageEnable", u"0"},
    {u"TiltSpeed", u"2"},
    {u"Sensitivity_X", u"4"},
    {u"Sensitivity_Y", u"4"},
    {u"XYSynchronous", u"1"},
    {u"X_DPI", u"1"},
    {u"Y_DPI", u"1"},
    {u"MoveLightingOnOffMode", u"0"},
    {u"PowerDownTime", u"6"},
    {u"LiftDetectionHeight", u"2"},
    {u"KeyDebounce", u"12"},
    {u"MotionWakeup", u"1"},
};

struct KeyDefault {
    int nameText; // language text
    ByteTriple value;
};

constexpr KeyDefault kKeyDefaults[kKeySlotCount] = {
    {20, {0x10, 0x01, 0x00}}, {21, {0x10, 0x02, 0x00}}, {22, {0x10, 0x04, 0x00}},
    {23, {0x10, 0x10, 0x00}}, {24, {0x10, 0x08, 0x00}}, {42, {0x40, 0x01, 0x00}},
};

constexpr int kProfileNameText = 85; // .. 89 for profiles 0..4
constexpr int kLightingNameText = 100;

// Zone-1 effects whose default uses fixed colours, from colour position 0 on.
struct EffectColours {
    int effect;
    int count;
    Colour colours[kLightingColourPositions];
};

constexpr EffectColours kEffectColours[] = {
    {2, 7, {0x0000FF, 0x00FF00, 0xFF0000, 0xFFFF00, 0x00FFFF, 0xFF00FF, 0xFFFFFF}},
    {3, 1, {0xFF00FF}},
    {6, 8, {0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF, 0xFFFF00, 0xFA00FA, 0xFFFFFF, 0xFF46FA}},
    {7, 2, {0x00FF00, 0x6A00FA}},
};

struct SensorSteps {
    std::uint16_t sensorId;
    std::uint16_t steps[kDpiLevelCount];
};

constexpr SensorSteps kSensorSteps[] = {
    {0x3104, {4, 15, 23, 31, 39, 41, 58, 50}},
    {0x3212, {6, 10, 14, 22, 25, 41, 12, 12}},
    {0x3325, {6, 14, 22, 30, 51, 58, 58, 50}},
    {0x3327, {2, 6, 14, 30, 48, 58, 58, 58}},
    {0x3335, {11, 23, 31, 63, 99, 159, 59, 59}},
    {0x3360, {3, 7, 15, 31, 49, 59, 59, 59}},
    {0x3370, {7, 15, 31, 63, 99, 119, 119, 119}},
    {0x3389, {3, 7, 15, 31, 49, 59, 59, 59}},
    {0x3395, {7, 15, 31, 63, 99, 99, 99, 99}},
    {0x3399, {7, 15, 31, 63, 99, 99, 99, 99}},
};

constexpr Colour kLevelColours[kDpiLevelCount] = {
    0x0000FF, 0x00FF00, 0xFF0000, 0xFF00FF, 0x00FFFF, 0xFFFF00, 0xFFFFFF, 0xFFFFFF,
};

bool ValidPair(int pair)
{
    return pair >= 0 && pair < kTextSettingCount;
}

void FillLightingDefaults(LightingZones& zones)
{
    zones = LightingZones{};
    zones.Lighting1OffOn = 1;
    zones.Lighting1Name = LanguageTexts[kLightingNameText];
    zones.Lighting1ModeValue = {0x01, 0x00, 0x00};
    zones.Lighting1Speed.fill(1);
    zones.Lighting1Brightness.fill(1);
    zones.Lighting1Brightness[3] = 3;
    zones.Lighting1Direction[1] = 1;
    for (const EffectColours& entry : kEffectColours) {
        for (int position = 0; position < entry.count; ++position) {
            zones.Lighting1ColorSelected[entry.effect][position] = 1;
            zones.Lighting1FixedColor[entry.effect][position] = entry.colours[position];
        }
    }

    zones.Lighting2OffOn = 0;
    zones.Lighting2Name = LanguageTexts[kLightingNameText];
    zones.Lighting2ModeValue = {0x01, 0x00, 0x00};
}

} // namespace

ProfileRecord* ProfileAt(int index)
{
    if (index < 0 || index >= kProfileSlotCount)
        return nullptr;
    return &ProfileTable[index];
}

ProfileRecord* CurrentProfile()
{
    return ProfileAt(CurrentProfileIndex);
}

void FillDefaults(ProfileRecord& record, int index)
{
    // A sensor without a default step row keeps the step indexes the record had.
    const auto steps = record.XYSettingValue;
    record = ProfileRecord{};
    record.XYSettingValue = steps;

    record.TextSettings[kTextProfileName].name = u"ProfileName";
    if (index >= 0 && index < kProfileSlotCount) {
        record.TextSettings[kTextProfileName].value = LanguageTexts[kProfileNameText + index];
    } else {
        record.TextSettings[kTextProfileName].value =
            u"Profile" + FormatUnsigned(static_cast<unsigned>(index) + 1u);
    }
    for (int pair = 1; pair < kTextSettingCount; ++pair) {
        record.TextSettings[pair].name = kTextDefaults[pair - 1].name;
        record.TextSettings[pair].value = kTextDefaults[pair - 1].value;
    }

    for (int slot = 0; slot < kKeySlotCount; ++slot) {
        record.KeySlots[slot].KeyName = LanguageTexts[kKeyDefaults[slot].nameText];
        record.KeySlots[slot].KeyValue = kKeyDefaults[slot].value;
    }

    record.PollingRateName = u"500HZ";
    record.PollingRateValue = {0x02, 0x00, 0x00};
    FillLightingDefaults(record.LightingSettings);
    ApplySensorDefaults(record);
}

void ApplySensorDefaults(ProfileRecord& record, std::uint16_t sensorId)
{
    record.DPIOffOnFlagValue = 0x3F;
    const auto row = std::find_if(std::begin(kSensorSteps), std::end(kSensorSteps),
                                  [&](const SensorSteps& s) { return s.sensorId == sensorId; });
    if (row != std::end(kSensorSteps))
        std::copy(std::begin(row->steps), std::end(row->steps), record.XYSettingValue.begin());
    record.CurrentDPILevelValue = 1;
    std::copy(std::begin(kLevelColours), std::end(kLevelColours),
              record.DPILevelIndicationValuer.begin());
    record.AngleSnapValue = 0;
    record.LiftDetectionValue = 2;
}

void ApplySensorDefaults(ProfileRecord& record)
{
    ApplySensorDefaults(record, SensorId);
}

std::u16string GetTextSettingName(const ProfileRecord& record, int pair)
{
    return ValidPair(pair) ? record.TextSettings[pair].name : std::u16string();
}

std::u16string GetTextSettingValue(const ProfileRecord& record, int pair)
{
    return ValidPair(pair) ? record.TextSettings[pair].value : std::u16string();
}

void SetTextSettingValue(ProfileRecord& record, int pair, int value)
{
    if (ValidPair(pair))
        record.TextSettings[pair].value = FormatDecimal(value);
}

std::u16string GetProfileName(const ProfileRecord& record)
{
    return record.TextSettings[kTextProfileName].value;
}

void SetProfileName(ProfileRecord& record, std::u16string name)
{
    record.TextSettings[kTextProfileName].value = std::move(name);
}

void SetMotionWakeup(ProfileRecord& record, int on)
{
    SetTextSettingValue(record, kTextMotionWakeup, on > 0 ? 1 : 0);
}

void SetPowerDownTime(ProfileRecord& record, int value)
{
    SetTextSettingValue(record, kTextPowerDownTime, value);
}

void SetLiftDetectionHeight(ProfileRecord& record, int value)
{
    SetTextSettingValue(record, kTextLiftDetectionHeight, value);
}

void SetKeyDebounce(ProfileRecord& record, int milliseconds)
{
    SetTextSettingValue(record, kTextKeyDebounce, milliseconds);
}

KeySlot* SlotAt(ProfileRecord& record, int slot)
{
    return slot >= 0 && slot < kKeySlotCount ? &record.KeySlots[slot] : nullptr;
}

const KeySlot* SlotAt(const ProfileRecord& record, int slot)
{
    return slot >= 0 && slot < kKeySlotCount ? &record.KeySlots[slot] : nullptr;
}

void SetKeyAssignment(int buttonControlId, const std::u16string& name, ByteTriple value,
                      const MacroKey* macro)
{
    if (buttonControlId < kFirstKeyButtonId || buttonControlId > kLastKeyButtonId)
        return;
    ProfileRecord* record = CurrentProfile();
    if (record == nullptr)
        return;
    KeySlot& slot = record->KeySlots[buttonControlId - kFirstKeyButtonId];
    slot.KeyName = name;
    slot.KeyValue = value;
    slot.Macro.ActionCount = 0;
    if (macro != nullptr) {
        slot.Macro = *macro;
        slot.MacroKeyIndex = macro->MacroKeyIndex;
    }
}

std::uint8_t CountCommandActions(const MacroKey& macro)
{
    const unsigned used = macro.UsedActions();
    unsigned count = 0;
    for (unsigned i = 0; i < used; ++i) {
        if (!macro.Actions[i].IsDelay())
            ++count;
    }
    return static_cast<std::uint8_t>(std::min(count, 255u));
}

} // namespace vexmo
