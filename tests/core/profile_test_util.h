#pragma once
// Process-wide state that the profile code reads and writes (the profile table, the current
// index, the sensor and the language texts), saved by a test and put back when it ends.

#include "app/core/language_texts.h"
#include "data/profile_record.h"
#include "data/sensor_id.h"

#include <array>
#include <memory>
#include <string>

namespace vexmo::test {

class ProfileGlobalsScope {
public:
    ProfileGlobalsScope()
        : table_(std::make_unique<std::array<ProfileRecord, kProfileSlotCount>>(ProfileTable)),
          current_(CurrentProfileIndex), sensor_(SensorId)
    {
        for (int i = 0; i < kLanguageTextCount; ++i)
            texts_[i] = LanguageTexts[i];
    }
    ~ProfileGlobalsScope()
    {
        ProfileTable = *table_;
        CurrentProfileIndex = current_;
        SensorId = sensor_;
        for (int i = 0; i < kLanguageTextCount; ++i)
            LanguageTexts.Set(i, texts_[i]);
    }
    ProfileGlobalsScope(const ProfileGlobalsScope&) = delete;
    ProfileGlobalsScope& operator=(const ProfileGlobalsScope&) = delete;

private:
    std::unique_ptr<std::array<ProfileRecord, kProfileSlotCount>> table_;
    int current_;
    std::uint16_t sensor_;
    std::array<std::u16string, kLanguageTextCount> texts_;
};

// The default names the profile code takes from the language texts, set to recognisable values:
// profiles 0..4 (85..89), buttons (20..24, 42), lighting (100).
inline void SetDefaultNameTexts()
{
    const char16_t* profiles[] = {u"Profil eins", u"Profil zwei", u"配置三", u"Vier", u"Fünf"};
    for (int i = 0; i < 5; ++i)
        LanguageTexts.Set(85 + i, profiles[i]);
    LanguageTexts.Set(20, u"Left");
    LanguageTexts.Set(21, u"Right");
    LanguageTexts.Set(22, u"Middle");
    LanguageTexts.Set(23, u"Forward");
    LanguageTexts.Set(24, u"Back");
    LanguageTexts.Set(42, u"DPI+");
    LanguageTexts.Set(100, u"Breathing");
}

} // namespace vexmo::test
