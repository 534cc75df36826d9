#include "app/core/language_choice.h"

#include "data/stdio_file_ex.h"

namespace vexmo {

namespace {

constexpr char16_t kHeader[] = u"[ChangeLanguage]";

char AsciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

std::u16string LanguageChoicePath(const std::u16string& dataFolder)
{
    return dataFolder + u"config/LanSetting.ini";
}

std::u16string ReadLanguageCode(const std::u16string& dataFolder)
{
    CStdioFileEx file;
    if (!file.Open(LanguageChoicePath(dataFolder), CStdioFileEx::Mode::Read))
        return {};
    std::u16string line;
    if (!file.ReadString(line))
        return {};
    if (line != kHeader)
        return line;
    if (!file.ReadString(line))
        return kHeader;
    const auto equals = line.find(u'=');
    if (equals == std::u16string::npos || equals == 0 || equals + 1 == line.size())
        return line;
    return line.substr(equals + 1);
}

std::string_view MessagesLocale(std::string_view lcAll, std::string_view lcMessages, std::string_view lang)
{
    if (!lcAll.empty())
        return lcAll;
    if (!lcMessages.empty())
        return lcMessages;
    return lang;
}

std::u16string LanguageCodeForLocale(std::string_view locale)
{
    const std::string_view language = locale.substr(0, locale.find_first_of("_.@"));
    if (language.size() == 2 && AsciiLower(language[0]) == 'z' && AsciiLower(language[1]) == 'h')
        return u"ZH";
    return u"EN";
}

std::u16string LanguageChoiceText(std::u16string_view code)
{
    std::u16string text = kHeader;
    text += u"\nLanguage=";
    text += code;
    text += u'\n';
    return text;
}

ChoiceFileResult WriteLanguageChoiceIfMissing(const std::u16string& dataFolder, std::string_view locale)
{
    const std::u16string path = LanguageChoicePath(dataFolder);
    if (!PathIsMissing(path))
        return ChoiceFileResult::Present;
    CStdioFileEx file;
    if (!file.Open(path, CStdioFileEx::Mode::Write))
        return ChoiceFileResult::Failed;
    if (!file.WriteString(LanguageChoiceText(LanguageCodeForLocale(locale)))) {
        file.Abort();
        return ChoiceFileResult::Failed;
    }
    return file.Close() ? ChoiceFileResult::Written : ChoiceFileResult::Failed;
}

} // namespace vexmo
