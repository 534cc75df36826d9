#pragma once
// The display texts of the program, by number, and the UI font that goes with the language.
//
// Every caption, label, menu item, notice and default name shown in the user's language is entry
// n of LanguageTexts, filled once at start from DataFolder + "config/Lan_EN.txt" (English) or
// DataFolder + "config/Lan.txt" (the default language), as DataFolder + "config/LanSetting.ini"
// chooses. Text files: "[Setting]", then lines "index=text" in any order.

#include <array>
#include <string>

namespace vexmo {

inline constexpr int kLanguageTextCount = 500;

class LanguageTable {
public:
    // Entry `index`: empty when no line set it and for any index outside 0..499.
    const std::u16string& operator[](int index) const;
    // Stores `text` as entry `index`; an index outside 0..499 has no slot and is ignored.
    void Set(int index, std::u16string text);

private:
    std::array<std::u16string, kLanguageTextCount> texts_;
};

// Face, pixel height and character set of the skinned controls' text.
struct UiFontChoice {
    std::u16string name = u"宋体";
    int size = 12;
    int charset = 134;
};

// The process-wide table and font, set by LoadLanguage() at start and unchanged afterwards.
extern LanguageTable LanguageTexts;
extern std::u16string UiFontName; // "宋体" until a language file was read to its end
extern int UiFontSize;            // 12 until then
extern int UiFontCharset;         // 134 until then

// "config/Lan_EN.txt" for the code "EN" (case-sensitive), "config/Lan.txt" for any other code.
std::u16string LanguageFileName(std::u16string_view code);

// The font for a text table whose entry 0 is `entry0`: "中文" gives "宋体", 12 × scale, 134;
// anything else "Tahoma", 16 × scale, 1. Sizes are truncated; a scale that is not a positive
// number up to 16 counts as 1.
UiFontChoice ChooseUiFont(const std::u16string& entry0, float uiScale);

// Reads the language file that the choice file under `dataFolder` (ending in '/') selects into
// `texts`, one line at a time; later lines replace earlier ones with the same index, lines with
// an index outside 0..499 are skipped. Reading stops at a line without "=" or with "=" as its
// first or last character; the texts read so far stay. Only a file read to its end sets `font`
// (ChooseUiFont from entry 0) and gives 1; a missing file, a wrong first line or a bad line give
// 0 and leave `font` as it was. Entries that no line set keep their values.
int LoadLanguage(const std::u16string& dataFolder, float uiScale, LanguageTable& texts, UiFontChoice& font);

// The same for the process: DataFolder, UiScale, LanguageTexts and the three UiFont values.
int LoadLanguage();

} // namespace vexmo
