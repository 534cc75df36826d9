#include "data/profile_store.h"

#include "data/profile_file.h"
#include "data/profile_record.h"

namespace vexmo {

ProfileStoreHooks MakeProfileStoreHooks(const SettingsStore& settings)
{
    ProfileStoreHooks hooks;
    hooks.fillDefaults = [](int index) {
        if (ProfileRecord* record = ProfileAt(index))
            FillDefaults(*record, index);
    };
    hooks.writeProfile = [](int index, const std::u16string& path) {
        return WriteProfileFile(index, path);
    };
    hooks.readProfile = [&settings](int index, const std::u16string& path) {
        return ReadProfileFile(index, path, settings);
    };
    hooks.applySensorDefaults = [](int index) {
        if (ProfileRecord* record = ProfileAt(index))
            ApplySensorDefaults(*record);
    };
    hooks.currentProfileIndex = [] { return CurrentProfileIndex; };
    return hooks;
}

bool LoadSettingsAndProfiles(SettingsStore& settings)
{
    return settings.LoadAndReconcile(MakeProfileStoreHooks(settings));
}

bool WriteAllProfileFiles(const SettingsStore& settings)
{
    bool all = true;
    for (int i = 0; i < kProfileSlotCount; ++i)
        all = WriteProfileFile(i, settings.GetProfileSlotPath(i)) && all;
    return all;
}

} // namespace vexmo
