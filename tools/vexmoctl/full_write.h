#pragma once
// Sent copies to start an apply from: what the mouse holds after a given profile, or nothing
// of the profile about to be applied, so that every block and every macro goes out.

#include "data/profile_record.h"
#include "device/sent_cache.h"
#include "device/setting_commands.h"

namespace vexmo::ctl {

// As after the mouse took `held`: its blocks and macros numbered and encoded, nothing sent.
DeviceCaches CachesHolding(const ProfileRecord& held, const CommandSources& sources);

// Every sent copy differs from `profile`'s encoding in every byte, so an apply of it with all
// groups dirty sends all six key slots, every settings block, power, wake-up and every macro.
DeviceCaches CachesHoldingNothingOf(const ProfileRecord& profile, const CommandSources& sources);

} // namespace vexmo::ctl
