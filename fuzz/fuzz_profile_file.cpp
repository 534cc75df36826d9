// The profile file reader on arbitrary bytes: no crash, no access outside the record, and
// whatever it accepts writes back as 93 lines and reads again to the same record.

#include "fuzz_input.h"

#include "data/profile_file.h"
#include "data/profile_record.h"
#include "data/text_format.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace vexmo;
    const std::string folder = fuzz::Folder();
    const std::u16string input = Utf8ToUtf16(folder + "config/input.psf");
    const std::u16string output = Utf8ToUtf16(folder + "config/output.psf");
    fuzz::WriteFile(folder + "config/input.psf", data, size);

    auto first = std::make_unique<ProfileRecord>();
    if (!ReadProfileRecord(*first, input))
        return 0;
    for (const KeySlot& slot : first->KeySlots) {
        if (slot.Macro.ActionCount > MacroKey::kMaxActions)
            std::abort();
    }

    const std::u16string text = FormatProfileFile(*first);
    if (std::count(text.begin(), text.end(), u'\n') != 93)
        std::abort();
    if (!WriteProfileRecord(*first, output))
        std::abort();
    auto second = std::make_unique<ProfileRecord>();
    if (!ReadProfileRecord(*second, output))
        std::abort();
    if (!(*second == *first))
        std::abort();
    return 0;
}
