#pragma once
// Where the program finds its installed data and keeps the user's files.

#include <string>

namespace vexmo {

// The folder holding skins/ and the installed config/ data, ending in '/': beside the executable
// in the build tree, <prefix>/share/vexmo/ after installation.
std::u16string FindModuleFolder();

// $XDG_CONFIG_HOME (default ~/.config) + "/QuorvaneData20230718A/"; the folder and its "config"
// subfolder are created when missing. Creation failures are ignored: the file code then falls
// back to defaults on its own.
std::u16string PrepareDataFolder();

// Copies each installed language file from ModuleFolder/config/ into DataFolder/config/ when it
// is missing there, the way an installer would have put it in place.
void InstallMissingDataFiles(const std::u16string& moduleFolder, const std::u16string& dataFolder);

} // namespace vexmo
