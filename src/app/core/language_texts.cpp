#include "app/core/language_texts.h"

#include "app/core/language_choice.h"
#include "app/core/process_values.h"
#include "data/stdio_file_ex.h"
#include "data/text_format.h"

namespace vexmo {

LanguageTable LanguageTexts;
std::u16string UiFontName = u"宋体";
int UiFontSize = 12;
int UiFontCharset = 134;

namespace {

constexpr char16_t kHeader[] = u"[Setting]";

bool ValidIndex(int index)
{
    return index >= 0 && index < kLanguageTextCount;
}

} // namespace

const std::u16string& LanguageTable::operator[](int index) const
{
    static const std::u16string empty;
    return ValidIndex(index) ? texts_[static_cast<std::size_t>(index)] : empty;
}

void LanguageTable::Set(int index, std::u16string text)
{
    if (ValidIndex(index))
        texts_[static_cast<std::size_t>(index)] = std::move(text);
}

std::u16string LanguageFileName(std::u16string_view code)
{
    return code == u"EN" ? u"config/Lan_EN.txt" : u"config/Lan.txt";
}

UiFontChoice ChooseUiFont(const std::u16string& entry0, float uiScale)
{
    // The scale comes from the screen size and is 1, 1.5 or 2; anything else must not turn into
    // a nonsensical (or, for NaN, undefined) font height.
    if (!(uiScale > 0.0f && uiScale <= 16.0f))
        uiScale = 1.0f;
    if (entry0 == u"中文")
        return {u"宋体", static_cast<int>(uiScale * 12.0f), 134};
    return {u"Tahoma", static_cast<int>(uiScale * 16.0f), 1};
}

int LoadLanguage(const std::u16string& dataFolder, float uiScale, LanguageTable& texts, UiFontChoice& font)
{
    const std::u16string code = ReadLanguageCode(dataFolder);

    CStdioFileEx file;
    if (!file.Open(dataFolder + LanguageFileName(code), CStdioFileEx::Mode::Read))
        return 0;
    std::u16string line;
    if (!file.ReadString(line) || line != kHeader)
        return 0;

    while (file.ReadString(line)) {
        const auto equals = line.find(u'=');
        if (equals == std::u16string::npos || equals == 0 || equals + 1 == line.size())
            return 0;
        // ParseDecimal saturates, so an index too long for int still lands outside the table.
        texts.Set(ParseDecimal(std::u16string_view(line).substr(0, equals)), line.substr(equals + 1));
    }

    font = ChooseUiFont(texts[0], uiScale);
    return 1;
}

int LoadLanguage()
{
    UiFontChoice font{UiFontName, UiFontSize, UiFontCharset};
    const int result = LoadLanguage(DataFolder, UiScale, LanguageTexts, font);
    UiFontName = std::move(font.name);
    UiFontSize = font.size;
    UiFontCharset = font.charset;
    return result;
}

} // namespace vexmo
