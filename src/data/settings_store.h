#pragma once
// The program's settings: 17 key/value pairs in fixed order, kept in DataFolder +
// "config/config.ini". Entries are addressed by index; the key texts are carried and written
// back but never compared, so a key changed by hand is kept.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace vexmo {

enum SettingsIndex : int {
    kSettingNeedPassword = 0,
    kSettingSensor = 1,
    kSettingPreST = 2,
    kSettingMacId = 3,
    kSettingDataChange = 4,
    kSettingCurrentProfile = 5,
    kSettingProfileShowCount = 6,
    kSettingProfileShowList0 = 7,  // .. 11 for list positions 0..4
    kSettingProfileSlot0URL = 12,  // .. 16 for slots 0..4
};

inline constexpr int kSettingsEntryCount = 17;
inline constexpr int kProfileSlotCount = 5;

// What loading the settings needs from the profile code. Every member may be left empty; the
// load then skips that step.
struct ProfileStoreHooks {
    // Give profile `index` its defaults (FillDefaults).
    std::function<void(int index)> fillDefaults;
    // Write profile `index` to `path` (WriteProfileFile).
    std::function<bool(int index, const std::u16string& path)> writeProfile;
    // Read profile `index` from `path`; on failure the profile code falls back to defaults and
    // rewrites the slot's file itself (ReadProfileFile).
    std::function<bool(int index, const std::u16string& path)> readProfile;
    // Reset the sensor-dependent fields of profile `index` for the current SensorId
    // (ApplySensorDefaults).
    std::function<void(int index)> applySensorDefaults;
    // CurrentProfileIndex; 0 when not given.
    std::function<int()> currentProfileIndex;
};

class SettingsStore {
public:
    // 17 empty pairs. The file lives under the process-wide DataFolder.
    SettingsStore() = default;
    // The file lives under `dataFolder` (ending in '/') instead.
    explicit SettingsStore(std::u16string dataFolder);

    // The data folder this store uses, ending in '/'.
    const std::u16string& Folder() const;
    // Folder() + "config/config.ini".
    std::u16string FilePath() const;

    // Reads the file. On success the entries it holds replace entries 0.. in order and the
    // entries after the last line keep their values. On failure (cannot be opened, header not
    // exactly "[Setting]", a line whose first "=" is missing, first or last, more than 17 entry
    // lines) nothing changes.
    bool Read();
    // Writes "[Setting]" and the 17 "key=value" lines, replacing the file as a whole. False when
    // the file could not be written; the old file then stays as it was.
    bool Write() const;
    // All 17 pairs to their keys and defaults; the profile paths under `dataFolder`.
    void ResetToDefaults(const std::u16string& dataFolder);

    // "CurrentProfile" := index, then Write(). Returns Write()'s result.
    bool StoreCurrentProfile(int currentProfileIndex);

    // Load at start: read the file or reset it to defaults and rewrite it, set SensorId from
    // "Sensor", read the five profiles, and reset the profiles' sensor-dependent fields when
    // "PreST" shows they were prepared for another sensor. Returns whether the file was read.
    bool LoadAndReconcile(const ProfileStoreHooks& hooks = {});

    // Typed access. The getters parse the value as decimal (or hexadecimal for Sensor and PreST);
    // the setters format with "%d" (or "0x%4X") and do not write the file.
    int GetNeedPassword() const;
    int GetCurrentProfile() const;
    void SetCurrentProfile(int value);
    int GetProfileShowCount() const;
    void SetProfileShowCount(int value);
    // position 0..4; others give 0 / are ignored.
    int GetProfileShowList(int position) const;
    void SetProfileShowList(int position, int value);
    std::uint16_t GetSensor() const;
    void SetSensor(std::uint16_t sensorId);
    std::uint16_t GetPreST() const;
    void SetPreST(std::uint16_t value);
    void SetMacId(std::uint32_t value);
    // Path of profile slot 0..4 ("ProfileSlot0URL" ..); empty for other slots.
    std::u16string GetProfileSlotPath(int slot) const;

    // Raw access by index 0..16; any other index gives an empty string / is ignored.
    std::u16string GetKey(int index) const;
    std::u16string GetValue(int index) const;
    void SetValue(int index, std::u16string value);

private:
    struct Entry {
        std::u16string key;
        std::u16string value;
    };

    std::optional<std::u16string> folder_;
    std::array<Entry, kSettingsEntryCount> entries_;
};

// The process-wide settings, under DataFolder.
extern SettingsStore AppSettings;

} // namespace vexmo
