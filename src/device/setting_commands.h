#pragma once
// Writing a profile's settings to the mouse. Each writer encodes its blocks, compares them with
// the copies last sent and sends only what differs, pausing after every report. Without an open
// command interface a writer returns at once and leaves the sent copies as they are, so the
// next write once the mouse is back sends what changed meanwhile. Results of the sends are not
// examined: a lost report is not retried until its value changes again. UI thread only.

#include "app/core/language_texts.h"
#include "data/dpi_tables.h"
#include "data/profile_record.h"
#include "device/device_link.h"
#include "device/sent_cache.h"
#include "macros/macro_library.h"

namespace vexmo {

// What the encoders and the macro numbering read besides the profile. Null members stand for
// the process-wide ones (CurrentDpiTables(), MainMacroLibrary, LanguageTexts).
struct CommandSources {
    const DpiTables* Dpi = nullptr;
    const MacroLibrary* Library = nullptr;
    const LanguageTable* Texts = nullptr;

    const DpiTables& DpiOrCurrent() const;
    const MacroLibrary& LibraryOrMain() const;
    const LanguageTable& TextsOrLanguage() const;
};

// The six button assignments, one report per device slot that changed; the command pause
// follows every device slot, changed or not (360 ms for a full write).
void WriteKeyAssignments(DeviceLink& link, SentCache& cache, const ProfileRecord& profile);

// DPI levels, DPI colours, report rate, lift-off height, debounce and lighting, sent in that
// order, each only when it changed.
void WriteSettings(DeviceLink& link, SentCache& cache, const ProfileRecord& profile,
                   const DpiTables& tables = CurrentDpiTables());

// Power-down time with the lighting-with-movement switch.
void WritePowerSettings(DeviceLink& link, SentCache& cache, const ProfileRecord& profile);

void WriteMotionWakeup(DeviceLink& link, SentCache& cache, const ProfileRecord& profile);

// Takes every block of the profile as held by the mouse without sending anything, numbers the
// macros and primes their buffers (with the pauses of a download). For when the mouse is known
// to hold the profile already: at start-up, after the mouse changed a setting by itself, after
// a factory reset.
void SyncDeviceCaches(DeviceLink& link, DeviceCaches& caches, ProfileRecord& profile,
                      const CommandSources& sources = {});

// Asks the mouse to return to its factory settings; no pause, no reply.
void SendFactoryReset(DeviceLink& link);

// One deferred apply: clears WrittenFlag, renumbers the macros (so that macro KeyValues are
// current), writes the dirty groups (keys, settings, power, wake-up), clears them, then
// downloads the macros that changed. True when any report was sent.
bool ApplyDirtyGroups(DeviceLink& link, DeviceCaches& caches, ProfileRecord& profile,
                      DirtyGroups& dirty, const CommandSources& sources = {});

} // namespace vexmo
