#pragma once
// The macro library as a text file (CStdioFileEx: UTF-16LE, mark FF FE, LF line ends). The same
// format carries the library file and the macro export files; they differ in the stored
// selection of the header, which names the item an export is about.
//
//   [MacroLibrary]
//   MacroKeyIndex=<NextMacroKeyIndex, %d>
//   Select Locaton:stage=%d;stage0Index=%d;stage1Index=%d;stage2Index=%d;
//   then one record per named slot, level 0 first, then level 1, then level 2, each in slot order:
//   ++++++++MacroItemName=<name>
//   MacroItemLocation:stage=%d;stage0Index=%d;stage1Index=%d;stage2Index=%d;
//   MacroItemIsFolder=%d
//   MacroItemFolderIsOpen=%d
//   and for macros also MacroKeyIndex, MacroKeyLoopType, MacroKeyLoopNum, MacroActionNum,
//   MacroCommandActionNum (all %u) and "AllAction=" with the 336 actions as 8 hex digits each.
// Every line of a level-1 record starts with one tab, of a level-2 record with two.
//
// Reading goes by line position: the words before the first "=" and any leading tabs are not
// looked at, only the values after it.
//
// Two kinds of bad records, handled differently:
// - A record that breaks the line structure (a missing line, a line without a value, a location
//   line with fewer than four "=", an "AllAction" value that is not exactly 2688 hexadecimal
//   digits) ends the reading: what was placed before stays, the record and the rest of the file
//   are not read, since nothing tells where the next record would start.
// - A well-formed record whose content lies outside the library (stage not 0..2, an index
//   outside 0..59, a folder at level 2, "MacroActionNum" outside 0..336, "MacroCommandActionNum"
//   outside 0..168, both as written, before any narrowing) is skipped as a whole and the reading
//   goes on with the next record, so that one bad record does not cost the records after it
//   (the next save writes back only what was read).
// Either way the read reports failure, and nothing is ever written outside the library's slots.

#include "macros/macro_library.h"
#include "macros/macro_types.h"

#include <string>

namespace vexmo {

// dataFolder (ending in '/') + "config/MacroLibraryFile.mlf".
std::u16string MacroLibraryFilePath(const std::u16string& dataFolder);

// Writes the header with `storedSelection` and one record for every named slot of every level,
// replacing the file as a whole. False when the file cannot be created or a write fails; the
// file at `path` is then as it was.
bool WriteMacroLibraryFile(const std::u16string& path, const MacroLibrary& library,
                           const MacroLocation& storedSelection);

// Rebuilds `target` from the file. A file that cannot be opened changes nothing. Otherwise the
// target is cleared first (its NextMacroKeyIndex stays until the counter line is read) and, when
// `storedSelection` is given, it is set to no location and then to the header's stored
// selection once that line has been read. Items are placed where their records say, later
// records overwriting earlier ones for the same slot. True only when the whole file was read
// and every record placed; see above for what happens to bad records.
bool ReadMacroLibraryFile(const std::u16string& path, MacroLibrary& target,
                          MacroLocation* storedSelection = nullptr);

// MainMacroLibrary to the library file under DataFolder, with no stored selection.
bool SaveMainMacroLibrary();
// The library file under DataFolder into MainMacroLibrary; the stored selection is dropped.
// A file that exists but is not read whole is copied to UnreadableCopyPath first, because the
// next save keeps only the part that was read.
bool LoadMainMacroLibrary();
std::u16string UnreadableCopyPath(const std::u16string& libraryPath);

} // namespace vexmo
