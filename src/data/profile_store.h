#pragma once
// The start-up load of the settings file and the five profile files, with the sensor
// reconciliation between them, over the process-wide ProfileTable.

#include "data/settings_store.h"

namespace vexmo {

// What SettingsStore::LoadAndReconcile needs, working on ProfileTable and CurrentProfileIndex:
// defaults for a slot, writing and reading a slot's file, the sensor defaults. A profile that
// cannot be read falls back to its defaults, written to its slot path in `settings`. The hooks
// keep a reference to `settings`, which must outlive them.
ProfileStoreHooks MakeProfileStoreHooks(const SettingsStore& settings);

// Reads (or creates) the settings file and the five profile files and reconciles the sensor:
// settings.LoadAndReconcile(MakeProfileStoreHooks(settings)). Language texts must be loaded
// before, since default profiles take their names from them. Returns whether the settings file
// was read.
bool LoadSettingsAndProfiles(SettingsStore& settings = AppSettings);

// Writes the five profiles to their slot paths in `settings`; true when all five were written.
bool WriteAllProfileFiles(const SettingsStore& settings = AppSettings);

} // namespace vexmo
