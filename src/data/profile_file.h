#pragma once
// The profile file (".psf"): every field of a ProfileRecord on a fixed line of a UTF-16 text
// file, 93 lines in a fixed order. Reading is by line position; the text before a line's "="
// is not compared with the key it should have, except that the 20 text-setting lines take
// their names from it.
//
// What the file does not carry: a button macro's own identity, loop type and loop count, and
// its number of non-delay actions. The first three keep what the record held; the count of
// non-delay actions is worked out again from the actions read, because the macro download sends
// it to the mouse as the macro's length.

#include "data/profile_record.h"
#include "data/settings_store.h"

#include <string>

namespace vexmo {

// The whole file text of `record`, 93 lines each ended by LF (without the byte-order mark).
// A line break inside a name would split its line and make the file unreadable, so names are
// written with any LF turned into a space.
std::u16string FormatProfileFile(const ProfileRecord& record);

// Writes `record` to `path`, replacing the file as a whole. False when it could not be written;
// an existing file then stays as it was.
bool WriteProfileRecord(const ProfileRecord& record, const std::u16string& path);

// Reads `path` into `record`. On failure (no file, a read-only file, a wrong header, a missing
// line, a line without a usable "=", an "AllAction" value that is not exactly 2688 characters)
// the record is left exactly as it was. A button macro's action count outside 0..336 is
// limited to that range.
bool ReadProfileRecord(ProfileRecord& record, const std::u16string& path);

// Writes ProfileTable[index] to `path`; false for an index outside 0..4 or a failed write.
bool WriteProfileFile(int index, const std::u16string& path);

// Reads `path` into ProfileTable[index]. On failure the profile gets its defaults (FillDefaults)
// and is written to its slot's own file, the path of "ProfileSlot<index>URL" in `settings` —
// not to `path` — and the result is false. An index outside 0..4 gives false and changes
// nothing.
bool ReadProfileFile(int index, const std::u16string& path, const SettingsStore& settings);
// With the process-wide AppSettings.
bool ReadProfileFile(int index, const std::u16string& path);

} // namespace vexmo
