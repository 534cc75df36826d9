#include "data/settings_store.h"

#include "data/sensor_id.h"
#include "core/file_test_util.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <sys/stat.h>

using namespace vexmo;
using namespace vexmo::test;

namespace {

// A data folder with its "config" subfolder, and a store that uses it.
struct DataFolderFixture {
    TempFolder dir;
    std::u16string folder = U16(dir.Path() + "/");
    std::string configIni = dir / "config/config.ini";
    SettingsStore store{folder};

    DataFolderFixture() { ::mkdir((dir / "config").c_str(), 0755); }
    void WriteConfig(std::u16string_view text) { WriteBytes(configIni, Utf16Bytes(text)); }
};

std::u16string DefaultFileText(const std::u16string& folder)
{
    return u"[Setting]\n"
           u"NeedPassword=1\n"
           u"Sensor=0x3212\n"
           u"PreST=0xCDED\n"
           u"Mac_ID=0xFFFFFFFF\n"
           u"DataChange=0x1234\n"
           u"CurrentProfile=0\n"
           u"ProfileShowCount=3\n"
           u"ProfileShowList0=0\n"
           u"ProfileShowList1=1\n"
           u"ProfileShowList2=2\n"
           u"ProfileShowList3=3\n"
           u"ProfileShowList4=4\n"
           u"ProfileSlot0URL=" + folder + u"config/default0.psf\n"
           u"ProfileSlot1URL=" + folder + u"config/default1.psf\n"
           u"ProfileSlot2URL=" + folder + u"config/default2.psf\n"
           u"ProfileSlot3URL=" + folder + u"config/default3.psf\n"
           u"ProfileSlot4URL=" + folder + u"config/default4.psf\n";
}

// The file text of DefaultFileText with one line (0 = header, 1.. = entries) replaced.
std::u16string WithLine(const std::u16string& folder, std::size_t lineIndex, std::u16string_view line)
{
    std::u16string text = DefaultFileText(folder);
    std::size_t start = 0;
    for (std::size_t i = 0; i < lineIndex; ++i)
        start = text.find(u'\n', start) + 1;
    const std::size_t end = text.find(u'\n', start);
    return text.substr(0, start) + std::u16string(line) + text.substr(end);
}

// `text` with its first `from` replaced by `to`.
std::u16string Replaced(const std::u16string& text, std::u16string_view from, std::u16string_view to)
{
    const std::size_t at = text.find(from);
    if (at == std::u16string::npos) {
        ADD_FAILURE() << "not in the text";
        return text;
    }
    return text.substr(0, at) + std::u16string(to) + text.substr(at + from.size());
}

// Records the calls the load makes into the profile code.
struct HookLog {
    std::vector<std::string> calls;
    std::vector<std::uint16_t> sensorAtRead;

    ProfileStoreHooks Hooks(const std::u16string& folder)
    {
        auto where = [folder](const std::u16string& path) {
            return path.rfind(folder, 0) == 0 ? std::string(path.begin() + folder.size(), path.end())
                                              : std::string(path.begin(), path.end());
        };
        ProfileStoreHooks hooks;
        hooks.fillDefaults = [this](int i) { calls.push_back("fill " + std::to_string(i)); };
        hooks.writeProfile = [this, where](int i, const std::u16string& path) {
            calls.push_back("write " + std::to_string(i) + " " + where(path));
            return true;
        };
        hooks.readProfile = [this, where](int i, const std::u16string& path) {
            calls.push_back("read " + std::to_string(i) + " " + where(path));
            sensorAtRead.push_back(SensorId);
            return true;
        };
        hooks.applySensorDefaults = [this](int i) { calls.push_back("sensor " + std::to_string(i)); };
        return hooks;
    }
};

std::vector<std::string> Calls(const char* verb, bool withPath = true)
{
    std::vector<std::string> calls;
    for (int i = 0; i < 5; ++i) {
        std::string call = std::string(verb) + " " + std::to_string(i);
        if (withPath)
            call += " config/default" + std::to_string(i) + ".psf";
        calls.push_back(call);
    }
    return calls;
}

std::vector<std::string> Concat(std::initializer_list<std::vector<std::string>> parts)
{
    std::vector<std::string> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

} // namespace

TEST(SettingsStore, FirstRunWritesDefaultSettingsAndProfiles)
{
    DataFolderFixture f;
    HookLog log;
    SensorId = 0;
    EXPECT_FALSE(f.store.LoadAndReconcile(log.Hooks(f.folder)));

    EXPECT_EQ(ReadBytes(f.configIni), Utf16Bytes(DefaultFileText(f.folder)));
    EXPECT_EQ(SensorId, 0x3212);
    EXPECT_EQ(log.calls, Concat({{"fill 0", "write 0 config/default0.psf", "fill 1", "write 1 config/default1.psf",
                                  "fill 2", "write 2 config/default2.psf", "fill 3", "write 3 config/default3.psf",
                                  "fill 4", "write 4 config/default4.psf"},
                                 Calls("read")}));
    EXPECT_EQ(log.sensorAtRead, std::vector<std::uint16_t>(5, 0x3212));

    // The written file is read back unchanged at the next start and nothing else is written.
    SettingsStore again(f.folder);
    HookLog log2;
    EXPECT_TRUE(again.LoadAndReconcile(log2.Hooks(f.folder)));
    EXPECT_EQ(log2.calls, Calls("read"));
    for (int i = 0; i < kSettingsEntryCount; ++i) {
        EXPECT_EQ(again.GetKey(i), f.store.GetKey(i));
        EXPECT_EQ(again.GetValue(i), f.store.GetValue(i));
    }
    EXPECT_EQ(ReadBytes(f.configIni), Utf16Bytes(DefaultFileText(f.folder)));
}

TEST(SettingsStore, ReadAcceptsOrRejectsByTheLineRules)
{
    DataFolderFixture f;
    const std::u16string def = DefaultFileText(f.folder);
    const std::u16string header = u"[Setting]\n";
    std::u16string seventeen = header, eighteen;
    for (int i = 0; i < 17; ++i) {
        seventeen += u'K';
        seventeen += static_cast<char16_t>(u'a' + i);
        seventeen += u"=v\n";
    }
    eighteen = seventeen + u"Extra=1\n";

    struct Case {
        const char* name;
        Bytes bytes;
        bool ok;
    } cases[] = {
        {"defaults", Utf16Bytes(def), true},
        {"no final LF", Utf16Bytes(def.substr(0, def.size() - 1)), true},
        {"17 entries", Utf16Bytes(seventeen), true},
        {"header only", Utf16Bytes(header), true},
        {"header without LF", Utf16Bytes(u"[Setting]"), true},
        {"value holding '='", Utf16Bytes(WithLine(f.folder, 5, u"DataChange=a=b")), true},
        {"18 entries", Utf16Bytes(eighteen), false},
        {"missing mark", Utf16Bytes(def, false), false},
        {"header case", Utf16Bytes(WithLine(f.folder, 0, u"[setting]")), false},
        {"CR LF lines", Utf16Bytes(u"[Setting]\r\nNeedPassword=0\r\n"), false},
        {"empty value", Utf16Bytes(WithLine(f.folder, 1, u"NeedPassword=")), false},
        {"empty key", Utf16Bytes(WithLine(f.folder, 1, u"=1")), false},
        {"no '='", Utf16Bytes(WithLine(f.folder, 3, u"PreST 0xCDED")), false},
        {"empty line inside", Utf16Bytes(WithLine(f.folder, 4, u"")), false},
        {"empty line at end", Utf16Bytes(def + u"\n"), false},
        {"empty file", Bytes{}, false},
        {"mark only", Utf16Bytes(u""), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(f.configIni, c.bytes);
        SettingsStore store(f.folder);
        store.SetValue(kSettingNeedPassword, u"before");
        EXPECT_EQ(store.Read(), c.ok);
        if (!c.ok) {
            EXPECT_EQ(store.GetValue(kSettingNeedPassword), u"before") << "a failed read changes nothing";
        }
    }
}

TEST(SettingsStore, EntriesAreTakenByPosition)
{
    DataFolderFixture f;
    // Keys changed by hand are accepted and written back as they are.
    f.WriteConfig(WithLine(f.folder, 2, u"Sensr=0x3212"));
    ASSERT_TRUE(f.store.Read());
    EXPECT_EQ(f.store.GetKey(kSettingSensor), u"Sensr");
    EXPECT_EQ(f.store.GetSensor(), 0x3212);
    ASSERT_TRUE(f.store.Write());
    EXPECT_EQ(ReadBytes(f.configIni), Utf16Bytes(WithLine(f.folder, 2, u"Sensr=0x3212")));

    // A short file fills the first entries; the others keep what they held.
    SettingsStore store(f.folder);
    store.ResetToDefaults(u"/old/");
    f.WriteConfig(u"[Setting]\nA=0\nB=0x3360\n");
    ASSERT_TRUE(store.Read());
    EXPECT_EQ(store.GetKey(0), u"A");
    EXPECT_EQ(store.GetNeedPassword(), 0);
    EXPECT_EQ(store.GetKey(1), u"B");
    EXPECT_EQ(store.GetSensor(), 0x3360);
    EXPECT_EQ(store.GetKey(2), u"PreST");
    EXPECT_EQ(store.GetValue(2), u"0xCDED");
    EXPECT_EQ(store.GetValue(16), u"/old/config/default4.psf");

    // At start the entries after a short file take their defaults, so the profile paths are
    // usable and saves do not fail for the whole run.
    SettingsStore fresh(f.folder);
    ASSERT_TRUE(fresh.Read());
    EXPECT_EQ(fresh.GetKey(2), u"PreST");
    EXPECT_EQ(fresh.GetValue(2), u"0xCDED");
    EXPECT_EQ(fresh.GetProfileSlotPath(3), f.folder + u"config/default3.psf");
}

TEST(SettingsStore, TypedAndRawAccess)
{
    SettingsStore store(u"/data/");
    store.ResetToDefaults(u"/data/");
    EXPECT_EQ(store.GetKey(12), u"ProfileSlot0URL");
    EXPECT_EQ(store.GetProfileSlotPath(4), u"/data/config/default4.psf");
    EXPECT_EQ(store.GetProfileShowCount(), 3);
    EXPECT_EQ(store.GetProfileShowList(4), 4);
    EXPECT_EQ(store.GetKey(17), u"");
    EXPECT_EQ(store.GetValue(17), u"");
    EXPECT_EQ(store.GetValue(-1), u"");
    EXPECT_EQ(store.GetProfileSlotPath(5), u"");
    EXPECT_EQ(store.GetProfileShowList(5), 0);

    store.SetValue(kSettingNeedPassword, u"00");
    EXPECT_EQ(store.GetNeedPassword(), 0);
    store.SetValue(kSettingNeedPassword, u"2x");
    EXPECT_EQ(store.GetNeedPassword(), 2);

    store.SetCurrentProfile(4);
    store.SetProfileShowCount(5);
    store.SetProfileShowList(0, 3);
    store.SetProfileShowList(5, 9); // ignored
    store.SetSensor(0x12);
    store.SetPreST(0xCC9F);
    store.SetMacId(0xA1B2C3D4);
    EXPECT_EQ(store.GetValue(kSettingCurrentProfile), u"4");
    EXPECT_EQ(store.GetValue(kSettingProfileShowCount), u"5");
    EXPECT_EQ(store.GetValue(kSettingProfileShowList0), u"3");
    EXPECT_EQ(store.GetValue(kSettingSensor), u"0x  12");
    EXPECT_EQ(store.GetSensor(), 0x12);
    EXPECT_EQ(store.GetValue(kSettingPreST), u"0xCC9F");
    EXPECT_EQ(store.GetValue(kSettingMacId), u"0xA1B2C3D4");
    store.SetMacId(0x5);
    EXPECT_EQ(store.GetValue(kSettingMacId), u"0x   5");
    for (int i = 8; i < 12; ++i)
        EXPECT_EQ(store.GetValue(i), std::u16string(1, static_cast<char16_t>(u'0' + i - 7))) << i;
}

TEST(SettingsStore, StoringTheCurrentProfileWritesTheFile)
{
    DataFolderFixture f;
    f.store.ResetToDefaults(f.folder);
    f.store.SetSensor(0x12);
    f.store.SetMacId(0x5);
    ASSERT_TRUE(f.store.StoreCurrentProfile(3));
    std::u16string expected = WithLine(f.folder, 2, u"Sensor=0x  12");
    expected = Replaced(expected, u"Mac_ID=0xFFFFFFFF", u"Mac_ID=0x   5");
    expected = Replaced(expected, u"CurrentProfile=0", u"CurrentProfile=3");
    EXPECT_EQ(ReadBytes(f.configIni), Utf16Bytes(expected));

    // Without a folder to write into the store reports the failure.
    SettingsStore nowhere(U16(f.dir / "missing/"));
    nowhere.ResetToDefaults(nowhere.Folder());
    EXPECT_FALSE(nowhere.StoreCurrentProfile(1));
}

TEST(SettingsStore, MalformedFileIsResetButProfilesAreReadNotOverwritten)
{
    const char16_t* badFiles[] = {
        u"[Setting]\nNeedPassword=\n",
        u"Setting]\n",
        u"",
    };
    for (const char16_t* bad : badFiles) {
        DataFolderFixture f;
        f.WriteConfig(bad);
        HookLog log;
        EXPECT_FALSE(f.store.LoadAndReconcile(log.Hooks(f.folder)));
        EXPECT_EQ(ReadBytes(f.configIni), Utf16Bytes(DefaultFileText(f.folder)));
        EXPECT_EQ(log.calls, Calls("read")) << "the user's profile files are not replaced";
    }
}

TEST(SettingsStore, ReadOnlySettingsFileStaysUnwritten)
{
    DataFolderFixture f;
    const std::u16string text = WithLine(f.folder, 1, u"NeedPassword=0");
    f.WriteConfig(text);
    ASSERT_EQ(::chmod(f.configIni.c_str(), 0444), 0);
    HookLog log;
    EXPECT_FALSE(f.store.LoadAndReconcile(log.Hooks(f.folder)));
    EXPECT_EQ(ReadBytes(f.configIni), Utf16Bytes(text));
    EXPECT_EQ(f.store.GetNeedPassword(), 1) << "the program runs on defaults";
    EXPECT_EQ(log.calls, Calls("read"));
    EXPECT_EQ(f.dir.Entries("config"), std::vector<std::string>{"config.ini"});
}

TEST(SettingsStore, SensorChangeResetsProfileSensorFields)
{
    DataFolderFixture f;
    const std::u16string text =
        Replaced(WithLine(f.folder, 2, u"Sensor=0x3360"), u"CurrentProfile=0", u"CurrentProfile=2");
    f.WriteConfig(text);
    HookLog log;
    SensorId = 0;
    EXPECT_TRUE(f.store.LoadAndReconcile(log.Hooks(f.folder)));

    EXPECT_EQ(SensorId, 0x3360);
    EXPECT_EQ(log.sensorAtRead, std::vector<std::uint16_t>(5, 0x3360)) << "sensor known before profiles";
    EXPECT_EQ(log.calls, Concat({Calls("read"), Calls("sensor", false), Calls("write")}));
    const std::u16string expected =
        Replaced(WithLine(f.folder, 2, u"Sensor=0x3360"), u"PreST=0xCDED", u"PreST=0xCC9F");
    EXPECT_EQ(ReadBytes(f.configIni), Utf16Bytes(expected)) << "CurrentProfile stored as the index in use, 0";

    // The index in use comes from the profile code when it is given.
    f.WriteConfig(WithLine(f.folder, 3, u"PreST=0x0000"));
    HookLog log2;
    auto hooks = log2.Hooks(f.folder);
    hooks.currentProfileIndex = [] { return 4; };
    SettingsStore store(f.folder);
    EXPECT_TRUE(store.LoadAndReconcile(hooks));
    EXPECT_EQ(store.GetValue(kSettingPreST), u"0xCDED");
    EXPECT_EQ(store.GetCurrentProfile(), 4);
}

TEST(SettingsStore, SmallPreSTReadsBackWithoutAnotherReset)
{
    // Sensor 0xF123 has the complement 0x0EDC, written space-padded as "0x EDC".
    DataFolderFixture f;
    f.WriteConfig(WithLine(f.folder, 2, u"Sensor=0xF123"));
    HookLog first;
    ASSERT_TRUE(f.store.LoadAndReconcile(first.Hooks(f.folder)));
    EXPECT_EQ(f.store.GetValue(kSettingPreST), u"0x EDC");
    EXPECT_EQ(first.calls.size(), 15u);

    SettingsStore next(f.folder);
    HookLog second;
    ASSERT_TRUE(next.LoadAndReconcile(second.Hooks(f.folder)));
    EXPECT_EQ(second.calls, Calls("read"));
}

TEST(SettingsStore, LoadWithoutHooksDoesTheSettingsPart)
{
    DataFolderFixture f;
    f.WriteConfig(WithLine(f.folder, 2, u"Sensor=0x3360"));
    SettingsStore store(f.folder);
    EXPECT_TRUE(store.LoadAndReconcile());
    EXPECT_EQ(store.GetValue(kSettingPreST), u"0xCC9F");
    EXPECT_EQ(f.dir.Entries("config"), std::vector<std::string>{"config.ini"});
}
