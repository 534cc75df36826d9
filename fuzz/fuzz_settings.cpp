// The settings reader on arbitrary bytes: no crash, no out-of-bounds access, and whatever it
// accepts writes back and reads again to the same table.

#include "fuzz_input.h"

#include "data/settings_store.h"
#include "data/text_format.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace vexmo;
    const std::string folder = fuzz::Folder();
    fuzz::WriteFile(folder + "config/config.ini", data, size);
    SettingsStore store(Utf8ToUtf16(folder));
    if (!store.Read())
        return 0;
    if (!store.Write())
        std::abort();
    SettingsStore again(Utf8ToUtf16(folder));
    if (!again.Read())
        std::abort();
    for (int i = 0; i < kSettingsEntryCount; ++i) {
        if (again.GetKey(i) != store.GetKey(i) || again.GetValue(i) != store.GetValue(i))
            std::abort();
    }
    return 0;
}
