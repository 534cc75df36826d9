#include "macros/macro_model.h"

namespace vexmo {

MacroLibrary MainMacroLibrary;
MacroLibrary StagingLibrary;
MacroLocation CurrentMacroSelection;
MacroLocation LoadedSelection;

} // namespace vexmo
