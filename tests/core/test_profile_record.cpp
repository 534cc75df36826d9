#include "data/profile_record.h"

#include "core/profile_test_util.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>

using namespace vexmo;
using namespace vexmo::test;

namespace {

class ProfileRecordTest : public ::testing::Test {
protected:
    ProfileGlobalsScope globals;
    // Records are about 10 kB each; kept off the stack.
    std::unique_ptr<ProfileRecord> record = std::make_unique<ProfileRecord>();

    void SetUp() override
    {
        SetDefaultNameTexts();
        SensorId = 0x3212;
    }

    // A record with every field away from its default.
    static void Scramble(ProfileRecord& r)
    {
        for (TextSetting& pair : r.TextSettings)
            pair = {u"junk", u"junk"};
        for (KeySlot& slot : r.KeySlots) {
            slot.KeyName = u"junk";
            slot.KeyValue = {0x90, 0x21, 0x05};
            slot.MacroKeyIndex = 77;
            slot.Macro.name = u"junk";
            slot.Macro.MacroKeyIndex = 77;
            slot.Macro.ActionCount = 3;
            slot.Macro.Actions.fill(MacroAction::Key(0x41, false));
            slot.Macro.MacroKeyLoopType = 4;
            slot.Macro.MacroKeyLoopNum = 9;
            slot.Macro.MacroCommandActionNum = 3;
        }
        r.PollingRateName = u"junk";
        r.PollingRateValue = {9, 9, 9};
        LightingZones& z = r.LightingSettings;
        z.Lighting1OffOn = z.Lighting2OffOn = 7;
        z.Lighting1Name = z.Lighting2Name = u"junk";
        z.Lighting1ModeValue = z.Lighting2ModeValue = {9, 9, 9};
        z.Lighting1Speed.fill(9);
        z.Lighting1Brightness.fill(9);
        z.Lighting1Direction.fill(9);
        for (auto& effect : z.Lighting1ColorSelected)
            effect.fill(9);
        for (auto& effect : z.Lighting1FixedColor)
            effect.fill(0x123456);
        z.Lighting2Speed = z.Lighting2Brightness = 9;
        z.Lighting2FixedColor = 0x123456;
        r.DPIOffOnFlagValue = 0xFF;
        r.XYSettingValue.fill(999);
        r.CurrentDPILevelValue = 7;
        r.DPILevelIndicationValuer.fill(0x123456);
        r.AngleSnapValue = 1;
        r.LiftDetectionValue = 9;
    }
};

TEST_F(ProfileRecordTest, DefaultNamesComeFromTheLanguageTexts)
{
    const char16_t* expected[] = {u"Profil eins", u"Profil zwei", u"配置三", u"Vier", u"Fünf"};
    for (int i = 0; i < 5; ++i) {
        FillDefaults(*record, i);
        EXPECT_EQ(GetProfileName(*record), expected[i]) << i;
        EXPECT_EQ(GetTextSettingName(*record, 0), u"ProfileName");
    }
    // Past the five slots the name is numbered from one.
    FillDefaults(*record, 5);
    EXPECT_EQ(GetProfileName(*record), u"Profile6");
    FillDefaults(*record, 11);
    EXPECT_EQ(GetProfileName(*record), u"Profile12");

    FillDefaults(*record, 0);
    const char16_t* keyNames[] = {u"Left", u"Right", u"Middle", u"Forward", u"Back", u"DPI+"};
    for (int k = 0; k < kKeySlotCount; ++k)
        EXPECT_EQ(record->KeySlots[k].KeyName, keyNames[k]) << k;
    EXPECT_EQ(record->LightingSettings.Lighting1Name, u"Breathing");
    EXPECT_EQ(record->LightingSettings.Lighting2Name, u"Breathing");
}

TEST_F(ProfileRecordTest, WithoutLanguageTextsTheDefaultNamesAreEmpty)
{
    for (int i = 0; i < kLanguageTextCount; ++i)
        LanguageTexts.Set(i, u"");
    FillDefaults(*record, 2);
    EXPECT_EQ(GetProfileName(*record), u"");
    for (const KeySlot& slot : record->KeySlots)
        EXPECT_EQ(slot.KeyName, u"");
    EXPECT_EQ(record->LightingSettings.Lighting1Name, u"");
    // The fixed names are there all the same.
    EXPECT_EQ(record->PollingRateName, u"500HZ");
    EXPECT_EQ(GetTextSettingName(*record, 19), u"MotionWakeup");
}

TEST_F(ProfileRecordTest, FillDefaultsReplacesEveryField)
{
    auto clean = std::make_unique<ProfileRecord>();
    FillDefaults(*clean, 3);
    Scramble(*record);
    FillDefaults(*record, 3);
    EXPECT_TRUE(*record == *clean);

    // Spot checks of values the default file test does not see: the empty button macros.
    for (const KeySlot& slot : record->KeySlots) {
        EXPECT_EQ(slot.MacroKeyIndex, 0u);
        EXPECT_TRUE(slot.Macro == MacroKey{});
    }
}

TEST_F(ProfileRecordTest, SensorDefaultsByTable)
{
    struct Case {
        std::uint16_t sensor;
        std::array<std::uint16_t, 8> steps;
    };
    const Case cases[] = {
        {0x3104, {4, 15, 23, 31, 39, 41, 58, 50}},   {0x3212, {6, 10, 14, 22, 25, 41, 12, 12}},
        {0x3325, {6, 14, 22, 30, 51, 58, 58, 50}},   {0x3327, {2, 6, 14, 30, 48, 58, 58, 58}},
        {0x3335, {11, 23, 31, 63, 99, 159, 59, 59}}, {0x3360, {3, 7, 15, 31, 49, 59, 59, 59}},
        {0x3370, {7, 15, 31, 63, 99, 119, 119, 119}}, {0x3389, {3, 7, 15, 31, 49, 59, 59, 59}},
        {0x3395, {7, 15, 31, 63, 99, 99, 99, 99}},   {0x3399, {7, 15, 31, 63, 99, 99, 99, 99}},
    };
    const std::array<Colour, 8> colours = {0x0000FF, 0x00FF00, 0xFF0000, 0xFF00FF,
                                           0x00FFFF, 0xFFFF00, 0xFFFFFF, 0xFFFFFF};
    for (const Case& c : cases) {
        Scramble(*record);
        const auto before = *record;
        SensorId = c.sensor;
        ApplySensorDefaults(*record);
        EXPECT_EQ(record->XYSettingValue, c.steps) << std::hex << c.sensor;
        EXPECT_EQ(record->DPIOffOnFlagValue, 0x3F);
        EXPECT_EQ(record->CurrentDPILevelValue, 1);
        EXPECT_EQ(record->DPILevelIndicationValuer, colours);
        EXPECT_EQ(record->AngleSnapValue, 0);
        EXPECT_EQ(record->LiftDetectionValue, 2);
        // Nothing else moves.
        EXPECT_TRUE(record->KeySlots == before.KeySlots);
        EXPECT_TRUE(record->TextSettings == before.TextSettings);
        EXPECT_TRUE(record->LightingSettings == before.LightingSettings);
    }
}

TEST_F(ProfileRecordTest, UnknownSensorKeepsTheStepIndexes)
{
    Scramble(*record);
    ApplySensorDefaults(*record, 0x3000);
    EXPECT_EQ(record->XYSettingValue, (std::array<std::uint16_t, 8>{999, 999, 999, 999, 999, 999, 999, 999}));
    EXPECT_EQ(record->DPIOffOnFlagValue, 0x3F);
    EXPECT_EQ(record->CurrentDPILevelValue, 1);
    EXPECT_EQ(record->LiftDetectionValue, 2);

    // FillDefaults goes through the same rule.
    SensorId = 0x3000;
    FillDefaults(*record, 0);
    EXPECT_EQ(record->XYSettingValue[0], 999);
    EXPECT_EQ(GetProfileName(*record), u"Profil eins");
}

TEST_F(ProfileRecordTest, TextSettingAccessors)
{
    FillDefaults(*record, 0);
    EXPECT_EQ(GetTextSettingName(*record, 18), u"KeyDebounce");
    EXPECT_EQ(GetTextSettingValue(*record, 18), u"12");
    for (int bad : {-1, 20, 1000}) {
        EXPECT_EQ(GetTextSettingName(*record, bad), u"");
        EXPECT_EQ(GetTextSettingValue(*record, bad), u"");
        SetTextSettingValue(*record, bad, 5); // ignored, no write outside the pairs
    }

    SetKeyDebounce(*record, 20);
    SetPowerDownTime(*record, -3);
    SetLiftDetectionHeight(*record, 1);
    EXPECT_EQ(GetTextSettingValue(*record, 18), u"20");
    EXPECT_EQ(GetTextSettingValue(*record, 16), u"-3");
    EXPECT_EQ(GetTextSettingValue(*record, 17), u"1");

    struct WakeCase {
        int argument;
        const char16_t* stored;
    };
    for (const WakeCase& c : {WakeCase{5, u"1"}, WakeCase{1, u"1"}, WakeCase{0, u"0"}, WakeCase{-2, u"0"}}) {
        SetMotionWakeup(*record, c.argument);
        EXPECT_EQ(GetTextSettingValue(*record, 19), c.stored) << c.argument;
    }

    SetProfileName(*record, u"Mine=ours");
    EXPECT_EQ(GetProfileName(*record), u"Mine=ours");
    EXPECT_EQ(GetTextSettingName(*record, 0), u"ProfileName");
}

TEST_F(ProfileRecordTest, SlotAccess)
{
    EXPECT_EQ(SlotAt(*record, 0), &record->KeySlots[0]);
    EXPECT_EQ(SlotAt(*record, 5), &record->KeySlots[5]);
    EXPECT_EQ(SlotAt(*record, 6), nullptr);
    EXPECT_EQ(SlotAt(*record, -1), nullptr);
    EXPECT_EQ(ProfileAt(4), &ProfileTable[4]);
    EXPECT_EQ(ProfileAt(5), nullptr);
    CurrentProfileIndex = 7;
    EXPECT_EQ(CurrentProfile(), nullptr);
}

TEST_F(ProfileRecordTest, KeyAssignmentGoesToTheCurrentProfilesSlot)
{
    for (int i = 0; i < kProfileSlotCount; ++i)
        FillDefaults(ProfileTable[i], i);
    CurrentProfileIndex = 2;
    const auto before = ProfileTable;

    SetKeyAssignment(2016, u"Middle", {0x10, 0x04, 0x00}, nullptr);
    EXPECT_EQ(ProfileTable[2].KeySlots[3].KeyName, u"Middle");
    EXPECT_EQ(ProfileTable[2].KeySlots[3].KeyValue, (ByteTriple{0x10, 0x04, 0x00}));
    for (int i : {0, 1, 3, 4})
        EXPECT_TRUE(ProfileTable[i] == before[i]) << i;

    // The ids of the other buttons and anything else change nothing.
    const auto afterFirst = ProfileTable;
    for (int id : {2012, 2019, 2026, 2027, 0, -1})
        SetKeyAssignment(id, u"x", {1, 2, 3}, nullptr);
    EXPECT_TRUE(ProfileTable == afterFirst);

    // Nor does a current index outside the table.
    CurrentProfileIndex = 5;
    SetKeyAssignment(2013, u"x", {1, 2, 3}, nullptr);
    CurrentProfileIndex = -1;
    SetKeyAssignment(2013, u"x", {1, 2, 3}, nullptr);
    EXPECT_TRUE(ProfileTable == afterFirst);
}

TEST_F(ProfileRecordTest, AssignedMacroIsTheSlotsOwnCopy)
{
    FillDefaults(ProfileTable[0], 0);
    CurrentProfileIndex = 0;
    MacroKey library(u"Combo");
    library.MacroKeyIndex = 42;
    library.MacroKeyLoopType = 4;
    library.MacroKeyLoopNum = 3;
    library.InsertAction(0, MacroAction::Key(0x41, false));
    library.InsertAction(1, MacroAction::Delay(50));
    library.InsertAction(2, MacroAction::Key(0x41, true));
    library.MacroCommandActionNum = 2;
    library.Actions[200] = MacroAction::Key(0x42, false); // a leftover past the count

    SetKeyAssignment(2018, u"Combo", {0x90, 0x41, 0x00}, &library);
    KeySlot& slot = ProfileTable[0].KeySlots[5];
    EXPECT_TRUE(slot.Macro == library);
    EXPECT_EQ(slot.MacroKeyIndex, 42u);
    EXPECT_EQ(slot.KeyValue, (ByteTriple{0x90, 0x41, 0x00}));

    // Editing the library macro afterwards leaves the button's copy alone.
    library.name = u"Renamed";
    library.DeleteAction(0);
    library.MacroKeyLoopNum = 9;
    EXPECT_EQ(slot.Macro.name, u"Combo");
    EXPECT_EQ(slot.Macro.ActionCount, 3u);
    EXPECT_EQ(slot.Macro.Actions[0], MacroAction::Key(0x41, false));
    EXPECT_EQ(slot.Macro.MacroKeyLoopNum, 3);

    // A later assignment without a macro empties the actions but keeps the rest.
    SetKeyAssignment(2018, u"Left", {0x10, 0x01, 0x00}, nullptr);
    EXPECT_EQ(slot.Macro.ActionCount, 0u);
    EXPECT_EQ(slot.Macro.name, u"Combo");
    EXPECT_EQ(slot.Macro.MacroKeyLoopType, 4);
    EXPECT_EQ(slot.MacroKeyIndex, 42u);
    EXPECT_EQ(slot.KeyName, u"Left");

    // Copying a whole record copies the macros with it.
    auto copy = std::make_unique<ProfileRecord>(ProfileTable[0]);
    slot.Macro.name = u"Changed";
    EXPECT_EQ(copy->KeySlots[5].Macro.name, u"Combo");
}

TEST_F(ProfileRecordTest, CommandActionsCountedAmongTheUsedActions)
{
    MacroKey macro;
    // Codes 0..7 are delays whatever the code; 8 and above are not.
    const std::uint8_t codes[] = {0x00, 0x07, 0x08, 0x03, 0x41, 0xE0, 0xE7, 0x05, 0xFF};
    for (unsigned i = 0; i < std::size(codes); ++i)
        macro.Actions[i] = MacroAction::FromBytes(codes[i], 0, 0, 1);
    macro.Actions[20] = MacroAction::Key(0x41, false); // past the count
    macro.ActionCount = std::size(codes);
    EXPECT_EQ(CountCommandActions(macro), 5);
    macro.ActionCount = 0;
    EXPECT_EQ(CountCommandActions(macro), 0);

    // A count beyond the capacity stops at the last slot; the 8-bit result saturates.
    macro.Actions.fill(MacroAction::Key(0x41, false));
    macro.ActionCount = 5000;
    EXPECT_EQ(CountCommandActions(macro), 255);
    macro.ActionCount = 200;
    EXPECT_EQ(CountCommandActions(macro), 200);
}

} // namespace
