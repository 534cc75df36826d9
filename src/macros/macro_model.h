#pragma once
// The process-wide macro libraries and selections. All of them belong to the UI thread.

#include "macros/macro_library.h"
#include "macros/macro_types.h"

namespace vexmo {

// The library the user edits and that is saved to the library file.
extern MacroLibrary MainMacroLibrary;
// Import files are read into this one before their items are copied into the main library.
extern MacroLibrary StagingLibrary;
// The item last selected in a macro tree list, shared by the macro dialogs and the main window.
extern MacroLocation CurrentMacroSelection;
// The stored selection of the last file read into StagingLibrary.
extern MacroLocation LoadedSelection;

} // namespace vexmo
