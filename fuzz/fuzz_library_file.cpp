// The macro library reader on arbitrary bytes: no crash, nothing written outside the library,
// and whatever it placed (also from a file it gave up on halfway) writes back and reads again,
// completely, to the same library and stored selection.
//
// The library is compared through its files: the writer puts every named slot with all its
// fields into the file, so two libraries are equal exactly when they write the same bytes.
// That also keeps one library (some 10 MB of slots) for the whole run instead of two.

#include "fuzz_input.h"

#include "data/text_format.h"
#include "macros/macro_library.h"
#include "macros/macro_library_file.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace {

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace vexmo;
    static MacroLibrary library;
    const std::string folder = fuzz::Folder();
    const std::string input = folder + "config/input.mlf";
    const std::string first = folder + "config/first.mlf";
    const std::string second = folder + "config/second.mlf";
    fuzz::WriteFile(input, data, size);

    library.NextMacroKeyIndex = 1;
    MacroLocation selection = MacroLocation::Level0(1);
    ReadMacroLibraryFile(Utf8ToUtf16(input), library, &selection);
    if (!WriteMacroLibraryFile(Utf8ToUtf16(first), library, selection))
        std::abort();

    library.NextMacroKeyIndex = 1;
    MacroLocation selectionAgain = MacroLocation::Level0(2);
    if (!ReadMacroLibraryFile(Utf8ToUtf16(first), library, &selectionAgain))
        std::abort();
    if (selectionAgain != selection)
        std::abort();
    if (!WriteMacroLibraryFile(Utf8ToUtf16(second), library, selectionAgain))
        std::abort();
    if (ReadAll(first) != ReadAll(second))
        std::abort();
    return 0;
}
