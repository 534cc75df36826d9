// The language loader on an arbitrary text file and choice file: no crash, nothing stored
// outside the table, and a font only ever chosen from the two known faces.

#include "fuzz_input.h"

#include "app/core/language_texts.h"
#include "data/text_format.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace vexmo;
    const std::string folder = fuzz::Folder();
    // The first byte picks which file the rest goes to: the choice file or the text file.
    if (size == 0)
        return 0;
    const bool choiceFile = (data[0] & 1) != 0;
    const std::string textName = (data[0] & 2) != 0 ? "Lan_EN.txt" : "Lan.txt";
    if (choiceFile) {
        fuzz::WriteFile(folder + "config/LanSetting.ini", data + 1, size - 1);
    } else {
        static const uint8_t kEnglish[] = {0xFF, 0xFE, '[', 0, 'C', 0, 'h', 0, 'a', 0, 'n', 0, 'g', 0, 'e', 0,
                                           'L', 0, 'a', 0, 'n', 0, 'g', 0, 'u', 0, 'a', 0, 'g', 0, 'e', 0,
                                           ']', 0, '\n', 0, 'L', 0, '=', 0, 'E', 0, 'N', 0, '\n', 0};
        if (textName == "Lan_EN.txt")
            fuzz::WriteFile(folder + "config/LanSetting.ini", kEnglish, sizeof kEnglish);
        else
            fuzz::WriteFile(folder + "config/LanSetting.ini", nullptr, 0);
        fuzz::WriteFile(folder + "config/" + textName, data + 1, size - 1);
    }
    LanguageTable texts;
    UiFontChoice font;
    LoadLanguage(Utf8ToUtf16(folder), 1.5f, texts, font);
    if (font.name != u"宋体" && font.name != u"Tahoma")
        std::abort();
    if (!texts[-1].empty() || !texts[500].empty())
        std::abort();
    return 0;
}
