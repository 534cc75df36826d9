#pragma once
// Macros in the mouse: the buttons' macros are numbered with small download indexes, their
// KeyValues filled in from the library, and each index's buffer sent when its content changed.
// UI thread only.

#include "app/core/language_texts.h"
#include "data/profile_record.h"
#include "device/device_link.h"
#include "device/sent_cache.h"
#include "macros/macro_library.h"
#include "macros/macro_model.h"

#include <cstdint>

namespace vexmo {

// Language text a button gets when its macro is no longer in the library.
inline constexpr int DeletedMacroKeyText = 34;

// The library macro with this identity: the top-level list first, then the second-level lists
// in order, then the third-level lists in order; each list up to its first free slot, folders
// passed over. None when the library has no such macro.
MacroLocation FindLibraryMacro(const MacroLibrary& library, std::uint32_t identity);

// Numbers the macros of the profile's macro buttons 1, 2, ... in button order, one index per
// library macro however many buttons use it (as long as their copies of it are alike), and sets each macro button's KeyValue to
// (0x90, index | loop type << 4, loop count for loop type 2 else 0) from the library macro.
// While caches.MacroRefreshPending is set, each button's own macro is first copied afresh from
// the library; the flag is cleared at the end. A button whose macro is gone from the library is
// disabled: name `texts`[34], KeyValue 0, 0, 0.
void AssignDownloadIndexes(ProfileRecord& profile, DeviceCaches& caches,
                           const MacroLibrary& library = MainMacroLibrary,
                           const LanguageTable& texts = LanguageTexts);

// Builds the buffer of every macro button (from the button's own macro, at the index in its
// KeyValue), compares it with the one kept for that index and keeps the new one. With `send`
// set, a buffer that changed is sent in chunks, each followed by the command pause; chunks only
// leave when a command interface is open, but are paced all the same. Every macro button costs
// one more pause, sent or not. The buffers are kept up to date without a device, so a macro is
// not sent when the mouse comes back unless it changed meanwhile.
void DownloadMacros(DeviceLink& link, DeviceCaches& caches, const ProfileRecord& profile,
                    bool send);

} // namespace vexmo
