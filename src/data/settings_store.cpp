#include "data/settings_store.h"

#include "app/core/process_values.h"
#include "data/sensor_id.h"
#include "data/stdio_file_ex.h"
#include "data/text_format.h"

namespace vexmo {

SettingsStore AppSettings;

namespace {

struct DefaultEntry {
    const char16_t* key;
    const char16_t* value; // for the profile slots: a path below the data folder
    bool underDataFolder;
};

constexpr DefaultEntry kDefaults[kSettingsEntryCount] = {
    {u"NeedPassword", u"1", false},
    {u"Sensor", u"0x3212", false},
    {u"PreST", u"0xCDED", false},
    {u"Mac_ID", u"0xFFFFFFFF", false},
    {u"DataChange", u"0x1234", false},
    {u"CurrentProfile", u"0", false},
    {u"ProfileShowCount", u"3", false},
    {u"ProfileShowList0", u"0", false},
    {u"ProfileShowList1", u"1", false},
    {u"ProfileShowList2", u"2", false},
    {u"ProfileShowList3", u"3", false},
    {u"ProfileShowList4", u"4", false},
    {u"ProfileSlot0URL", u"config/default0.psf", true},
    {u"ProfileSlot1URL", u"config/default1.psf", true},
    {u"ProfileSlot2URL", u"config/default2.psf", true},
    {u"ProfileSlot3URL", u"config/default3.psf", true},
    {u"ProfileSlot4URL", u"config/default4.psf", true},
};

constexpr char16_t kHeader[] = u"[Setting]";

bool ValidIndex(int index)
{
    return index >= 0 && index < kSettingsEntryCount;
}

} // namespace

SettingsStore::SettingsStore(std::u16string dataFolder) : folder_(std::move(dataFolder)) {}

const std::u16string& SettingsStore::Folder() const
{
    return folder_ ? *folder_ : DataFolder;
}

std::u16string SettingsStore::FilePath() const
{
    return Folder() + u"config/config.ini";
}

bool SettingsStore::Read()
{
    CStdioFileEx file;
    if (!file.Open(FilePath(), CStdioFileEx::Mode::Read))
        return false;
    std::u16string line;
    if (!file.ReadString(line) || line != kHeader)
        return false;

    // Parsed into a copy so that a file that turns out malformed halfway changes nothing.
    auto entries = entries_;
    int count = 0;
    while (file.ReadString(line)) {
        if (count == kSettingsEntryCount)
            return false;
        const auto equals = line.find(u'=');
        if (equals == std::u16string::npos || equals == 0 || equals + 1 == line.size())
            return false;
        entries[count].key = line.substr(0, equals);
        entries[count].value = line.substr(equals + 1);
        ++count;
    }
    // A file that ends early would leave the remaining entries empty, and an empty profile path
    // makes every later save of that profile fail silently; such entries take their defaults.
    for (int i = count; i < kSettingsEntryCount; ++i) {
        if (entries[i].key.empty() && entries[i].value.empty()) {
            entries[i].key = kDefaults[i].key;
            entries[i].value = kDefaults[i].underDataFolder ? Folder() + kDefaults[i].value
                                                            : std::u16string(kDefaults[i].value);
        }
    }
    entries_ = std::move(entries);
    return true;
}

bool SettingsStore::Write() const
{
    CStdioFileEx file;
    if (!file.Open(FilePath(), CStdioFileEx::Mode::Write))
        return false;
    std::u16string text = kHeader;
    text += u'\n';
    for (const Entry& entry : entries_) {
        text += entry.key;
        text += u'=';
        text += entry.value;
        text += u'\n';
    }
    file.WriteString(text);
    return file.Close();
}

void SettingsStore::ResetToDefaults(const std::u16string& dataFolder)
{
    for (int i = 0; i < kSettingsEntryCount; ++i) {
        entries_[i].key = kDefaults[i].key;
        entries_[i].value = kDefaults[i].underDataFolder ? dataFolder + kDefaults[i].value
                                                         : std::u16string(kDefaults[i].value);
    }
}

bool SettingsStore::StoreCurrentProfile(int currentProfileIndex)
{
    SetCurrentProfile(currentProfileIndex);
    return Write();
}

bool SettingsStore::LoadAndReconcile(const ProfileStoreHooks& hooks)
{
    // Only a first run (no settings file at all) gets fresh default profile files. A settings
    // file that exists but cannot be used is replaced, but the profile files next to it are the
    // user's and are read as usual: each one that is missing or malformed falls back by itself.
    const bool firstRun = PathIsMissing(FilePath());
    const bool read = Read();
    if (!read) {
        ResetToDefaults(Folder());
        Write();
        SensorId = GetSensor();
        if (firstRun) {
            for (int i = 0; i < kProfileSlotCount; ++i) {
                if (hooks.fillDefaults)
                    hooks.fillDefaults(i);
                if (hooks.writeProfile)
                    hooks.writeProfile(i, GetProfileSlotPath(i));
            }
        }
    }

    // Before any profile is read: a profile that falls back to defaults takes its DPI steps
    // from the sensor.
    SensorId = GetSensor();
    if (hooks.readProfile) {
        for (int i = 0; i < kProfileSlotCount; ++i)
            hooks.readProfile(i, GetProfileSlotPath(i));
    }

    const auto preparedFor = static_cast<std::uint16_t>(~GetPreST());
    if (preparedFor != SensorId) {
        SetPreST(static_cast<std::uint16_t>(~SensorId));
        // The profile in use is chosen from "CurrentProfile" only later in the start, so the
        // index stored here is the one still in effect (0 at start).
        StoreCurrentProfile(hooks.currentProfileIndex ? hooks.currentProfileIndex() : 0);
        for (int i = 0; i < kProfileSlotCount; ++i) {
            if (hooks.applySensorDefaults)
                hooks.applySensorDefaults(i);
        }
        for (int i = 0; i < kProfileSlotCount; ++i) {
            if (hooks.writeProfile)
                hooks.writeProfile(i, GetProfileSlotPath(i));
        }
    }
    return read;
}

int SettingsStore::GetNeedPassword() const
{
    return ParseDecimal(entries_[kSettingNeedPassword].value);
}

int SettingsStore::GetCurrentProfile() const
{
    return ParseDecimal(entries_[kSettingCurrentProfile].value);
}

void SettingsStore::SetCurrentProfile(int value)
{
    entries_[kSettingCurrentProfile].value = FormatDecimal(value);
}

int SettingsStore::GetProfileShowCount() const
{
    return ParseDecimal(entries_[kSettingProfileShowCount].value);
}

void SettingsStore::SetProfileShowCount(int value)
{
    entries_[kSettingProfileShowCount].value = FormatDecimal(value);
}

int SettingsStore::GetProfileShowList(int position) const
{
    if (position < 0 || position >= kProfileSlotCount)
        return 0;
    return ParseDecimal(entries_[kSettingProfileShowList0 + position].value);
}

void SettingsStore::SetProfileShowList(int position, int value)
{
    if (position < 0 || position >= kProfileSlotCount)
        return;
    entries_[kSettingProfileShowList0 + position].value = FormatDecimal(value);
}

std::uint16_t SettingsStore::GetSensor() const
{
    return static_cast<std::uint16_t>(ParseHex(entries_[kSettingSensor].value));
}

void SettingsStore::SetSensor(std::uint16_t sensorId)
{
    entries_[kSettingSensor].value = FormatHex0x(sensorId);
}

std::uint16_t SettingsStore::GetPreST() const
{
    return static_cast<std::uint16_t>(ParseHex(entries_[kSettingPreST].value));
}

void SettingsStore::SetPreST(std::uint16_t value)
{
    entries_[kSettingPreST].value = FormatHex0x(value);
}

void SettingsStore::SetMacId(std::uint32_t value)
{
    entries_[kSettingMacId].value = FormatHex0x(value);
}

std::u16string SettingsStore::GetProfileSlotPath(int slot) const
{
    if (slot < 0 || slot >= kProfileSlotCount)
        return {};
    return entries_[kSettingProfileSlot0URL + slot].value;
}

std::u16string SettingsStore::GetKey(int index) const
{
    return ValidIndex(index) ? entries_[index].key : std::u16string();
}

std::u16string SettingsStore::GetValue(int index) const
{
    return ValidIndex(index) ? entries_[index].value : std::u16string();
}

void SettingsStore::SetValue(int index, std::u16string value)
{
    if (ValidIndex(index))
        entries_[index].value = std::move(value);
}

} // namespace vexmo
