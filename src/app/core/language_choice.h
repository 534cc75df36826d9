#pragma once
// The language choice file DataFolder + "config/LanSetting.ini": "[ChangeLanguage]" and a line
// "Language=EN". The code "EN" selects the English texts, any other code the default language
// (Simplified Chinese). It is read once at start; on a first run the start-up writes one that
// follows the desktop's locale.

#include <string>
#include <string_view>

namespace vexmo {

// dataFolder + "config/LanSetting.ini".
std::u16string LanguageChoicePath(const std::u16string& dataFolder);

// The language code that the choice file under `dataFolder` holds; empty when it cannot be
// opened or is empty. A first line other than "[ChangeLanguage]" is itself the code. After that
// header the code is the text after the first "=" of line 2, or the whole of line 2 when its "="
// is missing, first or last; a file that stops after the header gives "[ChangeLanguage]".
std::u16string ReadLanguageCode(const std::u16string& dataFolder);

// The locale that decides the language of messages: the first non-empty of LC_ALL, LC_MESSAGES
// and LANG, as the C library picks it. Empty when all are empty.
std::string_view MessagesLocale(std::string_view lcAll, std::string_view lcMessages, std::string_view lang);

// Code for a locale name such as "zh_CN.UTF-8", "zh_TW", "en_US.UTF-8", "C" or "": "ZH" when its
// language part (before '_', '.' or '@') is "zh" in any case, "EN" for everything else. Chinese
// of any region gets the default-language texts, which are the only Chinese ones there are.
std::u16string LanguageCodeForLocale(std::string_view locale);

// The whole choice file for `code`: "[ChangeLanguage]\nLanguage=" + code + "\n".
std::u16string LanguageChoiceText(std::u16string_view code);

enum class ChoiceFileResult {
    Present, // something is already there (even an unusable file); it is left alone
    Written, // a new file was written
    Failed,  // missing, and writing it failed (for example no config folder); nothing is left
};

// On a first run: writes the choice file under `dataFolder` for `locale` when nothing exists at
// its path, replacing atomically so that a failed write leaves no partial file. Meant to run at
// start-up before the installed language files are copied into the data folder, so that the
// copy does not put the installed (English) choice there first.
ChoiceFileResult WriteLanguageChoiceIfMissing(const std::u16string& dataFolder, std::string_view locale);

} // namespace vexmo
