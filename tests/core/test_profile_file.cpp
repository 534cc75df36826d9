#include "data/profile_file.h"

#include "core/file_test_util.h"
#include "core/profile_test_util.h"
#include "data/profile_store.h"
#include "data/settings_store.h"
#include "data/text_format.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <sys/stat.h>

using namespace vexmo;
using namespace vexmo::test;

namespace {

// ---- The default file, line by line as the format describes it --------------------------------

std::u16string Hex(unsigned value, int digits)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%.*X", digits, value);
    return Utf8ToUtf16(buffer);
}

// A colour 0x00BBGGRR as its file text: red, green, blue.
std::u16string Rgb(std::uint32_t colour)
{
    return Hex(colour & 0xFF, 2) + Hex((colour >> 8) & 0xFF, 2) + Hex((colour >> 16) & 0xFF, 2);
}

std::u16string List10(const std::vector<unsigned>& values)
{
    std::u16string out;
    for (std::size_t i = 0; i < values.size(); ++i)
        out += Hex(values[i], 2) + (i + 1 < values.size() ? u"|" : u"");
    return out;
}

struct DefaultNames {
    std::u16string profile;
    std::u16string keys[6];
    std::u16string lighting;
};

// The 93 lines of a default profile for sensor 0x3212, without line ends.
std::vector<std::u16string> DefaultLines(const DefaultNames& names)
{
    std::vector<std::u16string> lines = {
        u"[Setting]",
        u"ProfileName=" + names.profile,
        u"GameFile0=", u"GameFile1=", u"GameFile2=",
        u"DoubleClickSpeed=6", u"PointerSpeed=5", u"AccelerationEnable=1",
        u"ScrollWheelSpeed=2", u"ScrollWheelPageEnable=0", u"TiltSpeed=2",
        u"Sensitivity_X=4", u"Sensitivity_Y=4", u"XYSynchronous=1", u"X_DPI=1", u"Y_DPI=1",
        u"MoveLightingOnOffMode=0", u"PowerDownTime=6", u"LiftDetectionHeight=2",
        u"KeyDebounce=12", u"MotionWakeup=1",
        u"DPIOffOnFlagValue=3F",
    };
    const unsigned steps[8] = {6, 10, 14, 22, 25, 41, 12, 12};
    for (int level = 0; level < 8; ++level)
        lines.push_back(u"\tXYSetting" + FormatDecimal(level + 1) + u"Value=" + Hex(steps[level], 4));
    lines.push_back(u"\tCurrentDPILevelValue=01");
    const std::u16string levelColours[8] = {u"FF0000", u"00FF00", u"0000FF", u"FF00FF",
                                            u"FFFF00", u"00FFFF", u"FFFFFF", u"FFFFFF"};
    for (int level = 0; level < 8; ++level)
        lines.push_back(u"\tDPILevelIndication" + FormatDecimal(level) + u"Valuer=" + levelColours[level]);
    lines.push_back(u"\tAngleSnapValue=00");
    lines.push_back(u"\tLiftDetectionValue=02");
    lines.push_back(u"PollingRateName=500HZ");
    lines.push_back(u"\tPollingRateValue=020000");
    lines.push_back(u"Lighting1Name=" + names.lighting);
    lines.push_back(u"\tLighting1ModeValue=010000");
    lines.push_back(u"\tLighting1OffOn=01");
    lines.push_back(u"\tLighting1Speed=01|01|01|01|01|01|01|01|01|01");
    lines.push_back(u"\tLighting1Brightness=01|01|01|03|01|01|01|01|01|01");

    // Colours in use per effect; every other position is unused and black.
    const std::vector<std::uint32_t> used[10] = {
        {},
        {},
        {0x0000FF, 0x00FF00, 0xFF0000, 0xFFFF00, 0x00FFFF, 0xFF00FF, 0xFFFFFF},
        {0xFF00FF},
        {},
        {},
        {0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF, 0xFFFF00, 0xFA00FA, 0xFFFFFF, 0xFF46FA},
        {0x00FF00, 0x6A00FA},
        {},
        {},
    };
    std::u16string selected = u"\tLighting1ColorSelected=";
    std::u16string fixed = u"\tLighting1FixedColor=";
    for (const auto& effect : used) {
        for (std::size_t p = 0; p < 10; ++p) {
            const std::u16string end = p == 9 ? u";" : u"|";
            selected += (p < effect.size() ? u"01" : u"00") + end;
            fixed += Rgb(p < effect.size() ? effect[p] : 0) + end;
        }
    }
    lines.push_back(selected);
    lines.push_back(fixed);
    lines.push_back(u"\tLighting1Direction=" + List10({0, 1, 0, 0, 0, 0, 0, 0, 0, 0}));
    lines.push_back(u"Lighting2Name=" + names.lighting);
    lines.push_back(u"\tLighting2ModeValue=010000");
    lines.push_back(u"\tLighting2OffOn=00");
    lines.push_back(u"\tLighting2Speed=00");
    lines.push_back(u"\tLighting2Brightness=00");
    lines.push_back(u"\tLighting2FixedColor=000000");

    const std::u16string keyValues[6] = {u"100100", u"100200", u"100400", u"101000", u"100800", u"400100"};
    for (int k = 0; k < 6; ++k) {
        const std::u16string n = FormatDecimal(k);
        lines.push_back(u"Key" + n + u"Name=" + names.keys[k]);
        lines.push_back(u"\tKey" + n + u"Value=" + keyValues[k]);
        lines.push_back(u"\tMacroKeyIndex=0");
        lines.push_back(u"\tMacroKey" + n + u"Name=");
        lines.push_back(u"\t\tMacroActionNum=0");
        lines.push_back(u"\t\tAllAction=" + std::u16string(2688, u'0'));
    }
    return lines;
}

std::u16string JoinLines(const std::vector<std::u16string>& lines, std::u16string_view end = u"\n")
{
    std::u16string text;
    for (const auto& line : lines)
        text += line + std::u16string(end);
    return text;
}

DefaultNames NamesOfProfile(int index)
{
    const char16_t* profiles[] = {u"Profil eins", u"Profil zwei", u"配置三", u"Vier", u"Fünf"};
    return {profiles[index], {u"Left", u"Right", u"Middle", u"Forward", u"Back", u"DPI+"}, u"Breathing"};
}

// Line numbers of the format (1-based).
constexpr int kFirstSlotLine = 58;
int SlotLine(int slot, int offset) { return kFirstSlotLine + 6 * slot + offset; }

// ---- Fixture ------------------------------------------------------------------------------------

class ProfileFileTest : public ::testing::Test {
protected:
    ProfileGlobalsScope globals;
    TempFolder dir;
    std::u16string folder = U16(dir.Path() + "/");
    SettingsStore store{folder};

    void SetUp() override
    {
        ::mkdir((dir / "config").c_str(), 0755);
        SetDefaultNameTexts();
        SensorId = 0x3212;
        CurrentProfileIndex = 0;
        store.ResetToDefaults(folder);
        for (int i = 0; i < kProfileSlotCount; ++i)
            FillDefaults(ProfileTable[i], i);
    }

    std::string SlotFile(int slot) const { return dir / ("config/default" + std::to_string(slot) + ".psf"); }

    static std::unique_ptr<ProfileRecord> Defaults(int index)
    {
        auto record = std::make_unique<ProfileRecord>();
        FillDefaults(*record, index);
        return record;
    }

    // A record with every field away from its default and every byte position in use: distinct
    // colour bytes, full macros in every slot, names with "=" and characters beyond ASCII.
    static std::unique_ptr<ProfileRecord> Busy()
    {
        auto r = Defaults(1);
        SetProfileName(*r, u"Work = play ¤ 𝄞");
        r->TextSettings[1].value = u"C:\\Games\\x=y.exe";
        r->TextSettings[7].name = u"Renamed key";
        r->TextSettings[8].value = u"";
        for (int k = 0; k < kKeySlotCount; ++k) {
            KeySlot& slot = r->KeySlots[k];
            slot.KeyName = u"Macro " + FormatDecimal(k) + u" =";
            slot.KeyValue = {0x90, std::uint8_t(0x21 + k), 0xFF};
            slot.MacroKeyIndex = k == 0 ? 0xFFFFFFFFu : 1000u + k;
            slot.Macro.name = k == 1 ? u"" : u"m=" + FormatDecimal(k);
            slot.Macro.ActionCount = k == 2 ? 336 : 10 + k;
            for (unsigned i = 0; i < MacroKey::kMaxActions; ++i) {
                // Alternate delays (codes 0..7) and keys, every byte different from its neighbour.
                const std::uint8_t code = i % 3 == 0 ? std::uint8_t(i % 8) : std::uint8_t(8 + (i * 7 + k) % 248);
                slot.Macro.Actions[i] = MacroAction::FromBytes(code, std::uint8_t(i), std::uint8_t(i >> 8),
                                                               std::uint8_t(255 - i));
            }
            slot.Macro.MacroCommandActionNum = CountCommandActions(slot.Macro);
        }
        r->PollingRateName = u"1000HZ";
        r->PollingRateValue = {0x03, 0xAB, 0xCD};
        LightingZones& z = r->LightingSettings;
        z.Lighting1OffOn = 0;
        z.Lighting1Name = u"Wave=1";
        z.Lighting1ModeValue = {0x09, 0x12, 0x34};
        for (int e = 0; e < kLightingEffectCount; ++e) {
            z.Lighting1Speed[e] = std::uint8_t(e * 17);
            z.Lighting1Brightness[e] = std::uint8_t(255 - e);
            z.Lighting1Direction[e] = std::uint8_t(e & 1);
            for (int p = 0; p < kLightingColourPositions; ++p) {
                z.Lighting1ColorSelected[e][p] = std::uint8_t((e + p) % 3);
                z.Lighting1FixedColor[e][p] = MakeColour(std::uint8_t(e * 25), std::uint8_t(p * 25 + 1), std::uint8_t(e + p + 200));
            }
        }
        z.Lighting2OffOn = 1;
        z.Lighting2Name = u"";
        z.Lighting2ModeValue = {0xFE, 0x01, 0x80};
        z.Lighting2Speed = 0xFF;
        z.Lighting2Brightness = 0x80;
        z.Lighting2FixedColor = 0x00ABCDEF;
        r->DPIOffOnFlagValue = 0xA5;
        r->XYSettingValue = {0, 1, 0xFF, 0x100, 0xABCD, 0xFFFF, 42, 7};
        r->CurrentDPILevelValue = 7;
        r->DPILevelIndicationValuer = {0x010203, 0xFFFEFD, 0, 0x00FF00, 0x123456, 0x654321, 0xABCDEF, 0x0A0B0C};
        r->AngleSnapValue = 1;
        r->LiftDetectionValue = 3;
        return r;
    }

    // The file text of `record`, split into its lines.
    static std::vector<std::u16string> LinesOf(const ProfileRecord& record)
    {
        std::vector<std::u16string> lines;
        const std::u16string text = FormatProfileFile(record);
        std::size_t start = 0;
        while (start < text.size()) {
            const std::size_t end = text.find(u'\n', start);
            lines.push_back(text.substr(start, end - start));
            start = end + 1;
        }
        return lines;
    }
};

// ---- Writing ------------------------------------------------------------------------------------

TEST_F(ProfileFileTest, FirstRunWritesTheFiveDefaultProfilesByteExact)
{
    EXPECT_FALSE(LoadSettingsAndProfiles(store));
    for (int i = 0; i < kProfileSlotCount; ++i) {
        const auto lines = DefaultLines(NamesOfProfile(i));
        ASSERT_EQ(lines.size(), 93u);
        EXPECT_EQ(ReadBytes(SlotFile(i)), Utf16Bytes(JoinLines(lines))) << "slot " << i;
        EXPECT_TRUE(ProfileTable[i] == *Defaults(i)) << "slot " << i;
    }
}

TEST_F(ProfileFileTest, WrittenProfileReadsBackEqual)
{
    for (const auto& source : {Defaults(0), Busy()}) {
        ASSERT_TRUE(WriteProfileRecord(*source, U16(SlotFile(3))));
        EXPECT_EQ(LinesOf(*source).size(), 93u);

        // Read into a record that differs everywhere the file reaches.
        auto target = Defaults(4);
        target->KeySlots[0].Macro.ActionCount = 99;
        ASSERT_TRUE(ReadProfileRecord(*target, U16(SlotFile(3))));
        EXPECT_TRUE(*target == *source);
        for (int k = 0; k < kKeySlotCount; ++k) {
            for (unsigned i = 0; i < MacroKey::kMaxActions; ++i)
                ASSERT_EQ(target->KeySlots[k].Macro.Actions[i], source->KeySlots[k].Macro.Actions[i]) << k << " " << i;
        }
        // And once more through the table.
        ProfileTable[1] = *source;
        ASSERT_TRUE(WriteProfileFile(1, U16(SlotFile(1))));
        FillDefaults(ProfileTable[1], 1);
        ASSERT_TRUE(ReadProfileFile(1, U16(SlotFile(1)), store));
        EXPECT_TRUE(ProfileTable[1] == *source);
    }
}

TEST_F(ProfileFileTest, BusyRecordLinesFollowTheFormat)
{
    const auto lines = LinesOf(*Busy());
    EXPECT_EQ(lines[1], u"ProfileName=Work = play ¤ 𝄞");
    EXPECT_EQ(lines[8], u"Renamed key=2");
    EXPECT_EQ(lines[22], u"\tXYSetting1Value=0000");
    EXPECT_EQ(lines[26], u"\tXYSetting5Value=ABCD");
    EXPECT_EQ(lines[31], u"\tDPILevelIndication0Valuer=030201");
    EXPECT_EQ(lines[42], u"\tPollingRateValue=03ABCD");
    EXPECT_EQ(lines[46].substr(0, 29), u"\tLighting1Speed=00|11|22|33|4");
    EXPECT_EQ(lines[56], u"\tLighting2FixedColor=EFCDAB");
    EXPECT_EQ(lines[SlotLine(0, 2) - 1], u"\tMacroKeyIndex=4294967295");
    EXPECT_EQ(lines[SlotLine(2, 4) - 1], u"\t\tMacroActionNum=336");
    // Every action, whatever the count: byte 0, 1, 2, 3.
    const std::u16string& all = lines[SlotLine(0, 5) - 1];
    EXPECT_EQ(all.size(), std::u16string(u"\t\tAllAction=").size() + 2688);
    EXPECT_EQ(all.substr(12, 16), u"000000FF" u"0F0100FE");
}

TEST_F(ProfileFileTest, LineBreakInANameDoesNotSplitTheLine)
{
    auto record = Defaults(0);
    SetProfileName(*record, u"two\nlines");
    record->KeySlots[2].Macro.name = u"a\nb";
    ASSERT_TRUE(WriteProfileRecord(*record, U16(SlotFile(0))));
    auto back = Defaults(1);
    ASSERT_TRUE(ReadProfileRecord(*back, U16(SlotFile(0))));
    EXPECT_EQ(GetProfileName(*back), u"two lines");
    EXPECT_EQ(back->KeySlots[2].Macro.name, u"a b");
}

TEST_F(ProfileFileTest, WriteToAnUncreatablePathFails)
{
    EXPECT_FALSE(WriteProfileRecord(*Defaults(0), U16(dir / "missing/folder/x.psf")));
    EXPECT_FALSE(WriteProfileFile(5, U16(SlotFile(0))));
    EXPECT_FALSE(WriteProfileFile(-1, U16(SlotFile(0))));
}

// ---- Reading ------------------------------------------------------------------------------------

// Reading a changed file into profile 2 from an imported path: a bad file resets profile 2 to
// its defaults and rewrites the slot's own file, not the imported one.
TEST_F(ProfileFileTest, ReaderRejectsFilesThatLeaveTheFormat)
{
    const auto good = LinesOf(*Busy());
    const std::u16string allAction = u"\t\tAllAction=";
    struct Case {
        const char* what;
        std::function<std::u16string()> text;
    };
    auto edited = [&](int line, std::u16string replacement) {
        return [&good, line, replacement] {
            auto lines = good;
            lines[line - 1] = replacement;
            return JoinLines(lines);
        };
    };
    const Case cases[] = {
        {"wrong header", edited(1, u"[setting]")},
        {"CR LF line ends", [&] { return JoinLines(good, u"\r\n"); }},
        {"twenty-first text pair",
         [&] {
             auto lines = good;
             lines.insert(lines.begin() + 21, u"AddedKey=1");
             return JoinLines(lines);
         }},
        {"AllAction of 2687", edited(SlotLine(3, 5), allAction + std::u16string(2687, u'0'))},
        {"AllAction of 2689", edited(SlotLine(5, 5), allAction + std::u16string(2689, u'0'))},
        {"AllAction without =", edited(SlotLine(0, 5), u"\t\tAllAction" + std::u16string(2689, u'0'))},
        {"text pair without =", edited(5, u"DoubleClickSpeed6")},
        {"text pair with = first", edited(5, u"=6")},
        {"number line with = first", edited(22, u"=3F")},
        {"step line without =", edited(30, u"\tXYSetting8Value")},
        {"name line with = first", edited(42, u"=500HZ")},
        {"colour list without =", edited(50, u"\tLighting1FixedColor")},
        {"key name with = first", edited(SlotLine(1, 0), u"=Right")},
        {"MacroKeyIndex with nothing after =", edited(SlotLine(0, 2), u"\tMacroKeyIndex=")},
        {"MacroActionNum without =", edited(SlotLine(4, 4), u"\t\tMacroActionNum")},
        {"macro name without =", edited(SlotLine(2, 3), u"\tMacroKey2Name")},
        {"empty line inside", edited(40, u"")},
        {"last line missing",
         [&] {
             auto lines = good;
             lines.pop_back();
             return JoinLines(lines);
         }},
        {"empty file", [] { return std::u16string(); }},
    };
    const std::string imported = dir / "imported.psf";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ProfileTable[2] = *Busy();
        WriteBytes(imported, Utf16Bytes(c.text()));
        const auto importedBytes = ReadBytes(imported);
        ::remove(SlotFile(2).c_str());

        EXPECT_FALSE(ReadProfileFile(2, U16(imported), store));
        EXPECT_TRUE(ProfileTable[2] == *Defaults(2));
        EXPECT_EQ(ReadBytes(SlotFile(2)), Utf16Bytes(JoinLines(DefaultLines(NamesOfProfile(2)))));
        EXPECT_EQ(ReadBytes(imported), importedBytes);
    }
}

TEST_F(ProfileFileTest, ReaderFailsWithoutAUsableFile)
{
    const std::string path = SlotFile(1);
    auto check = [&](const char* what) {
        SCOPED_TRACE(what);
        ProfileTable[1] = *Busy();
        EXPECT_FALSE(ReadProfileFile(1, U16(path), store));
        EXPECT_TRUE(ProfileTable[1] == *Defaults(1));
    };
    ::remove(path.c_str());
    check("missing file");
    EXPECT_EQ(ReadBytes(path), Utf16Bytes(JoinLines(DefaultLines(NamesOfProfile(1)))));

    // Without the mark the header loses its first character.
    WriteBytes(path, Utf16Bytes(FormatProfileFile(*Busy()), false));
    check("no byte-order mark");

    // A read-only file counts as unreadable, and cannot be replaced either.
    WriteBytes(path, Utf16Bytes(FormatProfileFile(*Busy())));
    ::chmod(path.c_str(), 0444);
    const auto before = ReadBytes(path);
    check("read-only file");
    EXPECT_EQ(ReadBytes(path), before);
    ::chmod(path.c_str(), 0644);

    // Outside the five slots nothing is read or written.
    EXPECT_FALSE(ReadProfileFile(5, U16(path), store));
    EXPECT_FALSE(ReadProfileFile(-1, U16(path), store));
}

TEST_F(ProfileFileTest, ReaderAcceptsWhatTheFormatAllows)
{
    const auto good = LinesOf(*Defaults(0));
    auto lines = good;
    lines[1] = u"Display=My = profile=";       // key not compared, only the first "=" splits
    lines[2] = u"GameFile0=";                   // empty value
    lines[21] = u"ignored key without tab=3";   // short field: parses as far as it goes
    lines[22] = u"\tXYSetting1Value=1G34";      // stops at the first non-hex character
    lines[23] = u"\tXYSetting2Value=";           // no characters give 0
    lines[30] = u"\tCurrentDPILevelValue=zz";   // starts with an invalid character: 0
    lines[31] = u"\tDPILevelIndication0Valuer=0A0b"; // lower case; blue missing
    lines[41] = u"PollingRateName=";
    lines[SlotLine(0, 2) - 1] = u"=123";         // "=" may be first on the number lines
    lines[SlotLine(1, 2) - 1] = u"\tMacroKeyIndex=-1";
    lines[SlotLine(2, 2) - 1] = u"\tMacroKeyIndex=4294967295";
    lines[SlotLine(3, 2) - 1] = u"\tMacroKeyIndex=99999999999";
    lines[SlotLine(0, 3) - 1] = u"=only name";   // "=" anywhere for the macro name
    lines[SlotLine(1, 3) - 1] = u"\tMacroKey1Name=";
    lines[SlotLine(0, 4) - 1] = u"=4";
    lines[SlotLine(1, 4) - 1] = u"\t\tMacroActionNum=-5";
    lines[SlotLine(2, 4) - 1] = u"\t\tMacroActionNum=400";
    lines[SlotLine(3, 4) - 1] = u"\t\tMacroActionNum=12abc";
    lines[SlotLine(0, 5) - 1] = u"=" + std::u16string(2688, u'F');
    lines.push_back(u"anything after the last line");
    lines.push_back(u"no equals sign");
    WriteBytes(SlotFile(0), Utf16Bytes(JoinLines(lines)));

    ProfileRecord& r = ProfileTable[0];
    ASSERT_TRUE(ReadProfileFile(0, U16(SlotFile(0)), store));
    EXPECT_EQ(r.TextSettings[0].name, u"Display");
    EXPECT_EQ(r.TextSettings[0].value, u"My = profile=");
    EXPECT_EQ(r.TextSettings[1].value, u"");
    EXPECT_EQ(r.DPIOffOnFlagValue, 0x03);
    EXPECT_EQ(r.XYSettingValue[0], 0x1);
    EXPECT_EQ(r.XYSettingValue[1], 0x0);
    EXPECT_EQ(r.CurrentDPILevelValue, 0);
    EXPECT_EQ(r.DPILevelIndicationValuer[0], 0x000B0Au);
    EXPECT_EQ(r.PollingRateName, u"");
    EXPECT_EQ(r.KeySlots[0].MacroKeyIndex, 123u);
    EXPECT_EQ(r.KeySlots[1].MacroKeyIndex, 0xFFFFFFFFu);
    EXPECT_EQ(r.KeySlots[2].MacroKeyIndex, 0xFFFFFFFFu);
    EXPECT_EQ(r.KeySlots[3].MacroKeyIndex, 0xFFFFFFFFu);
    EXPECT_EQ(r.KeySlots[0].Macro.name, u"only name");
    EXPECT_EQ(r.KeySlots[1].Macro.name, u"");
    EXPECT_EQ(r.KeySlots[0].Macro.ActionCount, 4u);
    EXPECT_EQ(r.KeySlots[0].Macro.Actions[335], MacroAction::FromBytes(0xFF, 0xFF, 0xFF, 0xFF));
    // An action count outside the 336 slots is brought into range.
    EXPECT_EQ(r.KeySlots[1].Macro.ActionCount, 0u);
    EXPECT_EQ(r.KeySlots[2].Macro.ActionCount, 336u);
    EXPECT_EQ(r.KeySlots[3].Macro.ActionCount, 12u);

    // The file was accepted, so it was not rewritten.
    EXPECT_EQ(ReadBytes(SlotFile(0)), Utf16Bytes(JoinLines(lines)));
}

TEST_F(ProfileFileTest, FailedReadLeavesARecordUntouched)
{
    auto busy = Busy();
    auto lines = LinesOf(*Defaults(0));
    lines[SlotLine(5, 5) - 1].pop_back(); // fails at the very last line
    WriteBytes(SlotFile(0), Utf16Bytes(JoinLines(lines)));
    auto record = Busy();
    EXPECT_FALSE(ReadProfileRecord(*record, U16(SlotFile(0))));
    EXPECT_TRUE(*record == *busy);
}

// The file does not carry the loop settings, the macro's own identity nor its count of non-delay
// actions. The first three keep what the record held; the count is worked out from the actions,
// since the mouse gets it as the macro's length.
TEST_F(ProfileFileTest, NonDelayActionCountIsDerivedFromTheActionsRead)
{
    auto source = Defaults(0);
    KeySlot& slot = source->KeySlots[1];
    slot.KeyValue = {0x90, 0x21, 0x00};
    slot.MacroKeyIndex = 5;
    slot.Macro.name = u"Burst";
    // press A, 50 ms, release A, delay code 0, press E0, release E0; then leftovers past the count.
    const MacroAction actions[] = {MacroAction::Key(0x41, false), MacroAction::Delay(50),
                                   MacroAction::Key(0x41, true),  MacroAction::FromBytes(0, 0, 1, 0),
                                   MacroAction::Key(0xE0, false), MacroAction::Key(0xE0, true),
                                   MacroAction::Key(0x42, false), MacroAction::Key(0x42, true)};
    for (unsigned i = 0; i < std::size(actions); ++i)
        slot.Macro.Actions[i] = actions[i];
    slot.Macro.ActionCount = 6;
    ASSERT_TRUE(WriteProfileRecord(*source, U16(SlotFile(0))));

    ProfileRecord& target = ProfileTable[0];
    target.KeySlots[1].Macro.MacroCommandActionNum = 99;
    target.KeySlots[1].Macro.MacroKeyLoopType = 4;
    target.KeySlots[1].Macro.MacroKeyLoopNum = 7;
    target.KeySlots[1].Macro.MacroKeyIndex = 5;
    ASSERT_TRUE(ReadProfileFile(0, U16(SlotFile(0)), store));
    EXPECT_EQ(target.KeySlots[1].Macro.MacroCommandActionNum, 4);
    EXPECT_EQ(target.KeySlots[1].Macro.MacroKeyLoopType, 4);
    EXPECT_EQ(target.KeySlots[1].Macro.MacroKeyLoopNum, 7);
    EXPECT_EQ(target.KeySlots[1].Macro.MacroKeyIndex, 5u);
    EXPECT_EQ(target.KeySlots[0].Macro.MacroCommandActionNum, 0); // an empty macro has none

    // A count above the capacity counts the 336 slots only.
    auto lines = LinesOf(*source);
    lines[SlotLine(1, 4) - 1] = u"\t\tMacroActionNum=100000";
    std::u16string all = u"\t\tAllAction=";
    for (int i = 0; i < 336; ++i)
        all += i < 300 ? u"41000000" : u"03000032";
    lines[SlotLine(1, 5) - 1] = all;
    WriteBytes(SlotFile(0), Utf16Bytes(JoinLines(lines)));
    ASSERT_TRUE(ReadProfileFile(0, U16(SlotFile(0)), store));
    EXPECT_EQ(target.KeySlots[1].Macro.ActionCount, 336u);
    EXPECT_EQ(target.KeySlots[1].Macro.MacroCommandActionNum, 255); // 300, saturated at 8 bits
}

// ---- Start-up load ------------------------------------------------------------------------------

TEST_F(ProfileFileTest, SensorChangeByHandResetsEveryProfileForTheNewSensor)
{
    ASSERT_FALSE(LoadSettingsAndProfiles(store));
    // The user's own changes, which the sensor reset must keep.
    for (int i = 0; i < kProfileSlotCount; ++i) {
        auto record = Busy();
        SetProfileName(*record, u"User " + FormatDecimal(i));
        ASSERT_TRUE(WriteProfileRecord(*record, U16(SlotFile(i))));
    }
    const std::string ini = dir / "config/config.ini";
    {
        SettingsStore edit(folder);
        ASSERT_TRUE(edit.Read());
        edit.SetValue(kSettingSensor, u"0x3360");
        ASSERT_TRUE(edit.Write());
    }

    SettingsStore next(folder);
    CurrentProfileIndex = 0;
    EXPECT_TRUE(LoadSettingsAndProfiles(next));
    EXPECT_EQ(SensorId, 0x3360);
    EXPECT_EQ(next.GetValue(kSettingPreST), u"0xCC9F");
    EXPECT_EQ(next.GetValue(kSettingCurrentProfile), u"0");
    SettingsStore onDisk(folder);
    ASSERT_TRUE(onDisk.Read());
    EXPECT_EQ(onDisk.GetValue(kSettingPreST), u"0xCC9F");

    const std::array<std::uint16_t, 8> steps3360 = {3, 7, 15, 31, 49, 59, 59, 59};
    for (int i = 0; i < kProfileSlotCount; ++i) {
        SCOPED_TRACE(i);
        auto expected = Busy();
        SetProfileName(*expected, u"User " + FormatDecimal(i));
        ApplySensorDefaults(*expected, 0x3360);
        EXPECT_EQ(ProfileTable[i].XYSettingValue, steps3360);
        EXPECT_TRUE(ProfileTable[i] == *expected);
        // Rewritten: the file holds the new steps and the user's other values.
        EXPECT_EQ(ReadBytes(SlotFile(i)), Utf16Bytes(FormatProfileFile(*expected)));
        EXPECT_EQ(LinesOf(*expected)[22], u"\tXYSetting1Value=0003");
    }

    // The next start finds everything consistent and rewrites nothing.
    struct stat before {};
    ASSERT_EQ(::stat(SlotFile(3).c_str(), &before), 0);
    SettingsStore third(folder);
    EXPECT_TRUE(LoadSettingsAndProfiles(third));
    struct stat after {};
    ASSERT_EQ(::stat(SlotFile(3).c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino); // a rewrite would have renamed a new file over it
    EXPECT_EQ(ProfileTable[3].XYSettingValue, steps3360);
}

TEST_F(ProfileFileTest, MalformedSettingsFileKeepsTheUsersProfiles)
{
    for (int i = 0; i < kProfileSlotCount; ++i) {
        auto record = Busy();
        SetProfileName(*record, u"Kept " + FormatDecimal(i));
        ASSERT_TRUE(WriteProfileRecord(*record, U16(SlotFile(i))));
    }
    std::vector<Bytes> before;
    for (int i = 0; i < kProfileSlotCount; ++i)
        before.push_back(ReadBytes(SlotFile(i)));
    WriteBytes(dir / "config/config.ini", Utf16Bytes(u"[Settings]\nNeedPassword=1\n"));

    EXPECT_FALSE(LoadSettingsAndProfiles(store));
    SettingsStore onDisk(folder);
    EXPECT_TRUE(onDisk.Read()); // the settings file itself was replaced by defaults
    EXPECT_EQ(onDisk.GetValue(kSettingSensor), u"0x3212");
    for (int i = 0; i < kProfileSlotCount; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(GetProfileName(ProfileTable[i]), u"Kept " + FormatDecimal(i));
        EXPECT_EQ(ReadBytes(SlotFile(i)), before[i]);
    }
}

TEST_F(ProfileFileTest, BrokenSlotFileFallsBackAloneAtStart)
{
    ASSERT_FALSE(LoadSettingsAndProfiles(store));
    auto mine = Busy();
    ASSERT_TRUE(WriteProfileRecord(*mine, U16(SlotFile(0))));
    WriteBytes(SlotFile(4), Utf16Bytes(u"[Setting]\nProfileName=cut short\n"));

    SettingsStore next(folder);
    EXPECT_TRUE(LoadSettingsAndProfiles(next));
    EXPECT_TRUE(ProfileTable[0] == *mine);
    EXPECT_TRUE(ProfileTable[4] == *Defaults(4));
    EXPECT_EQ(ReadBytes(SlotFile(4)), Utf16Bytes(JoinLines(DefaultLines(NamesOfProfile(4)))));

    // All five written back to their slots.
    ProfileTable[2].PollingRateName = u"250HZ";
    EXPECT_TRUE(WriteAllProfileFiles(next));
    auto back = Defaults(0);
    ASSERT_TRUE(ReadProfileRecord(*back, U16(SlotFile(2))));
    EXPECT_EQ(back->PollingRateName, u"250HZ");
}

} // namespace
