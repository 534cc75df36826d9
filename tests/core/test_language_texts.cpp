#include "app/core/language_choice.h"
#include "app/core/language_texts.h"
#include "app/core/process_values.h"
#include "data/text_format.h"

#include "core/file_test_util.h"

#include <gtest/gtest.h>

#include <climits>
#include <limits>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

using namespace vexmo;
using namespace vexmo::test;

namespace {

// A data folder with its "config" subfolder.
struct LanguageFolder {
    TempFolder dir;
    std::u16string folder = U16(dir.Path() + "/");

    LanguageFolder() { ::mkdir((dir / "config").c_str(), 0755); }
    void Write(const std::string& name, std::u16string_view text) const
    {
        WriteBytes(dir / ("config/" + name), Utf16Bytes(text));
    }
    int Load(LanguageTable& texts, UiFontChoice& font, float scale = 1.0f) const
    {
        return LoadLanguage(folder, scale, texts, font);
    }
};

void ExpectFont(const UiFontChoice& font, std::u16string_view name, int size, int charset)
{
    EXPECT_EQ(font.name, name);
    EXPECT_EQ(font.size, size);
    EXPECT_EQ(font.charset, charset);
}

// A font no language file would produce, to see whether loading touched it.
const UiFontChoice kUntouchedFont{u"untouched", 7, 9};

} // namespace

TEST(LanguageTexts, ChoiceFileSelectsTextFile)
{
    struct Case {
        std::optional<std::u16string> choiceFile; // nullopt: no file
        std::u16string code;
    };
    const Case cases[] = {
        {std::nullopt, u""},
        {u"", u""},
        {u"EN", u"EN"},
        {u"EN\n", u"EN"},
        {u"[ChangeLanguage]\nLanguage=EN\n", u"EN"},
        {u"[ChangeLanguage]\nLang=en\n", u"en"},
        {u"[ChangeLanguage]\nEN\n", u"EN"},
        {u"[ChangeLanguage]\n=EN\n", u"=EN"},
        {u"[ChangeLanguage]\nLanguage=\n", u"Language="},
        {u"[ChangeLanguage]\nkey=a=EN\n", u"a=EN"},
        {u"[ChangeLanguage]\n", u"[ChangeLanguage]"},
        {u"[ChangeLanguage]\nLanguage=EN \n", u"EN "},
        {u"[changelanguage]\nLanguage=EN\n", u"[changelanguage]"},
        {u"[ChangeLanguage]\nLanguage=ZH\n", u"ZH"},
    };
    for (const Case& c : cases) {
        const std::string label = c.choiceFile ? Utf16ToUtf8(*c.choiceFile) : "(no file)";
        SCOPED_TRACE(label);
        LanguageFolder f;
        if (c.choiceFile)
            f.Write("LanSetting.ini", *c.choiceFile);
        f.Write("Lan_EN.txt", u"[Setting]\n1=english\n");
        f.Write("Lan.txt", u"[Setting]\n1=default\n");

        EXPECT_EQ(ReadLanguageCode(f.folder), c.code);
        LanguageTable texts;
        UiFontChoice font;
        EXPECT_EQ(f.Load(texts, font), 1);
        EXPECT_EQ(texts[1], c.code == u"EN" ? u"english" : u"default");
    }
}

TEST(LanguageTexts, FontFollowsEntryZeroAndScale)
{
    struct Case {
        std::u16string file;
        float scale;
        std::u16string name;
        int size;
        int charset;
    };
    const Case cases[] = {
        {u"[Setting]\n0=中文\n", 1.5f, u"宋体", 18, 134},
        {u"[Setting]\n0=中文\n", 1.0f, u"宋体", 12, 134},
        {u"[Setting]\n0=English\n", 2.0f, u"Tahoma", 32, 1},
        {u"[Setting]\n0=English\n", 1.5f, u"Tahoma", 24, 1},
        {u"[Setting]\n0=中文 \n", 1.0f, u"Tahoma", 16, 1},   // exact match only
        {u"[Setting]\n5=no entry 0\n", 1.0f, u"Tahoma", 16, 1},
        {u"[Setting]\n0=English\n0=中文\n", 2.0f, u"宋体", 24, 134}, // the later line counts
        {u"[Setting]", 1.0f, u"Tahoma", 16, 1},                     // header only, no LF
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf16ToUtf8(c.file) + " scale " + std::to_string(c.scale));
        LanguageFolder f;
        f.Write("Lan.txt", c.file);
        LanguageTable texts;
        UiFontChoice font = kUntouchedFont;
        EXPECT_EQ(f.Load(texts, font, c.scale), 1);
        ExpectFont(font, c.name, c.size, c.charset);
    }
}

TEST(LanguageTexts, ScaleOutsideItsRangeGivesBaseSize)
{
    for (const float scale : {0.0f, -2.0f, 1e30f, std::numeric_limits<float>::quiet_NaN(),
                              std::numeric_limits<float>::infinity()}) {
        SCOPED_TRACE(scale);
        ExpectFont(ChooseUiFont(u"中文", scale), u"宋体", 12, 134);
        ExpectFont(ChooseUiFont(u"x", scale), u"Tahoma", 16, 1);
    }
}

TEST(LanguageTexts, BadLineEndsReadingAndKeepsFont)
{
    const std::u16string badLines[] = {u"2=", u"2", u"=two", u"", u"just text"};
    for (const std::u16string& bad : badLines) {
        SCOPED_TRACE(Utf16ToUtf8(bad));
        LanguageFolder f;
        f.Write("Lan.txt", u"[Setting]\n0=中文\n1=one\n" + bad + u"\n3=three\n");
        LanguageTable texts;
        UiFontChoice font = kUntouchedFont;
        EXPECT_EQ(f.Load(texts, font, 2.0f), 0);
        EXPECT_EQ(texts[0], u"中文");
        EXPECT_EQ(texts[1], u"one");
        EXPECT_EQ(texts[2], u"");
        EXPECT_EQ(texts[3], u"") << "nothing after the bad line is read";
        ExpectFont(font, kUntouchedFont.name, kUntouchedFont.size, kUntouchedFont.charset);
    }
}

TEST(LanguageTexts, UnreadableTextFileChangesNothing)
{
    struct Case {
        const char* what;
        std::optional<std::u16string> file;
    };
    const Case cases[] = {
        {"missing", std::nullopt},
        {"empty", u""},
        {"header in other case", u"[setting]\n1=new\n"},
        {"header with CR", u"[Setting]\r\n1=new\n"},
        {"no header", u"1=new\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LanguageFolder f;
        if (c.file)
            f.Write("Lan.txt", *c.file);
        LanguageTable texts;
        texts.Set(1, u"old");
        UiFontChoice font = kUntouchedFont;
        EXPECT_EQ(f.Load(texts, font), 0);
        EXPECT_EQ(texts[1], u"old");
        ExpectFont(font, kUntouchedFont.name, kUntouchedFont.size, kUntouchedFont.charset);
    }
}

TEST(LanguageTexts, MissingEnglishFileDoesNotFallBack)
{
    LanguageFolder f;
    f.Write("LanSetting.ini", u"[ChangeLanguage]\nLanguage=EN\n");
    f.Write("Lan.txt", u"[Setting]\n1=default\n");
    LanguageTable texts;
    UiFontChoice font = kUntouchedFont;
    EXPECT_EQ(f.Load(texts, font), 0);
    EXPECT_EQ(texts[1], u"");
    EXPECT_EQ(font.name, kUntouchedFont.name);
}

TEST(LanguageTexts, IndexesAndTexts)
{
    LanguageFolder f;
    f.Write("Lan.txt", u"[Setting]\n"
                       u"3=first\n"
                       u"nodigits=at zero\n"
                       u"500=past the end\n"
                       u"-1=negative\n"
                       u"99999999999=too long\n"
                       u"-99999999999=too long negative\n"
                       u"12ab=twelve\n"
                       u"007=seven\n"
                       u"3=second\n"
                       u"4=a=b\n"
                       u"5= spaced \n"
                       u"499=last");
    LanguageTable texts;
    UiFontChoice font = kUntouchedFont;
    EXPECT_EQ(f.Load(texts, font), 1) << "lines outside the table do not end the reading";
    EXPECT_EQ(texts[0], u"at zero");
    EXPECT_EQ(texts[3], u"second");
    EXPECT_EQ(texts[4], u"a=b");
    EXPECT_EQ(texts[5], u" spaced ");
    EXPECT_EQ(texts[7], u"seven");
    EXPECT_EQ(texts[12], u"twelve");
    EXPECT_EQ(texts[499], u"last");
    EXPECT_EQ(font.name, u"Tahoma");

    for (const int outside : {-1, 500, 501, INT_MAX, INT_MIN})
        EXPECT_EQ(texts[outside], u"") << outside;
    int set = 0;
    for (int i = 0; i < kLanguageTextCount; ++i)
        set += texts[i].empty() ? 0 : 1;
    EXPECT_EQ(set, 7) << "nothing else was stored";
}

TEST(LanguageTexts, ProcessWideLoadUsesDataFolderAndScale)
{
    const std::u16string savedFolder = DataFolder;
    const float savedScale = UiScale;
    const LanguageTable savedTexts = LanguageTexts;
    const UiFontChoice savedFont{UiFontName, UiFontSize, UiFontCharset};

    LanguageFolder f;
    f.Write("Lan.txt", u"[Setting]\n0=中文\n151=keep left click\n");
    DataFolder = f.folder;
    UiScale = 1.5f;
    const int result = LoadLanguage();

    EXPECT_EQ(result, 1);
    EXPECT_EQ(LanguageTexts[151], u"keep left click");
    EXPECT_EQ(UiFontName, u"宋体");
    EXPECT_EQ(UiFontSize, 18);
    EXPECT_EQ(UiFontCharset, 134);

    DataFolder = savedFolder;
    UiScale = savedScale;
    LanguageTexts = savedTexts;
    UiFontName = savedFont.name;
    UiFontSize = savedFont.size;
    UiFontCharset = savedFont.charset;
}

// ---- language choice for a first run ----------------------------------------------------------

TEST(LanguageChoice, LocaleGivesCode)
{
    struct Case {
        const char* locale;
        const char16_t* code;
    };
    const Case cases[] = {
        {"zh_CN.UTF-8", u"ZH"}, {"zh_TW", u"ZH"},   {"zh", u"ZH"},         {"ZH_cn.utf8", u"ZH"},
        {"zh.GB18030", u"ZH"},  {"zh@x", u"ZH"},    {"en_US.UTF-8", u"EN"}, {"C", u"EN"},
        {"C.UTF-8", u"EN"},     {"POSIX", u"EN"},   {"", u"EN"},           {"zhx_CN", u"EN"},
        {"z", u"EN"},           {"de_DE", u"EN"},   {"_zh", u"EN"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LanguageCodeForLocale(c.locale), c.code) << c.locale;
}

TEST(LanguageChoice, MessagesLocalePrecedence)
{
    EXPECT_EQ(MessagesLocale("zh_CN", "en_US", "de_DE"), "zh_CN");
    EXPECT_EQ(MessagesLocale("", "en_US", "zh_CN"), "en_US");
    EXPECT_EQ(MessagesLocale("", "", "zh_CN"), "zh_CN");
    EXPECT_EQ(MessagesLocale("", "", ""), "");
}

TEST(LanguageChoice, FirstRunWritesChoiceOnce)
{
    LanguageFolder f;
    EXPECT_EQ(WriteLanguageChoiceIfMissing(f.folder, "zh_CN.UTF-8"), ChoiceFileResult::Written);
    EXPECT_EQ(ReadBytes(f.dir / "config/LanSetting.ini"),
              Utf16Bytes(u"[ChangeLanguage]\nLanguage=ZH\n"));
    EXPECT_EQ(f.dir.Entries("config"), std::vector<std::string>{"LanSetting.ini"}) << "no temporary left";
    EXPECT_EQ(ReadLanguageCode(f.folder), u"ZH");

    // An existing choice is the user's; a later start does not replace it.
    EXPECT_EQ(WriteLanguageChoiceIfMissing(f.folder, "en_US.UTF-8"), ChoiceFileResult::Present);
    EXPECT_EQ(ReadLanguageCode(f.folder), u"ZH");

    LanguageFolder english;
    EXPECT_EQ(WriteLanguageChoiceIfMissing(english.folder, ""), ChoiceFileResult::Written);
    EXPECT_EQ(ReadLanguageCode(english.folder), u"EN");
}

TEST(LanguageChoice, UnusableOrUnwritablePathIsLeftAlone)
{
    LanguageFolder dangling;
    ASSERT_EQ(::symlink("elsewhere", (dangling.dir / "config/LanSetting.ini").c_str()), 0);
    EXPECT_EQ(WriteLanguageChoiceIfMissing(dangling.folder, "zh_CN"), ChoiceFileResult::Present);
    EXPECT_FALSE(std::filesystem::exists(dangling.dir / "config/elsewhere"));

    TempFolder noConfig;
    EXPECT_EQ(WriteLanguageChoiceIfMissing(U16(noConfig.Path() + "/"), "zh_CN"), ChoiceFileResult::Failed);
    EXPECT_TRUE(noConfig.Entries().empty());
}

// ---- the installed language files --------------------------------------------------------------

namespace {

// Every index that the program shows a text for.
struct IndexRange {
    int first;
    int last;
};
constexpr IndexRange kUsedIndexes[] = {
    {0, 5},     {7, 11},    {13, 15},   {19, 32},   {34, 34},   {36, 36},   {40, 42},   {45, 54},
    {60, 68},   {75, 80},   {85, 93},   {100, 100}, {140, 147}, {150, 152}, {155, 156}, {170, 176},
    {180, 180}, {190, 210}, {220, 225}, {232, 239}, {241, 243}, {245, 257}, {260, 267}, {270, 274},
};

bool IsUsed(int index)
{
    for (const IndexRange& range : kUsedIndexes)
        if (index >= range.first && index <= range.last)
            return true;
    return false;
}

void CopyShipped(const std::string& name, const LanguageFolder& to)
{
    const std::string from = std::string(VEXMO_SHIPPED_CONFIG) + "/" + name;
    const Bytes bytes = ReadBytes(from);
    ASSERT_FALSE(bytes.empty()) << from << " missing; it is built with the vexmo_config target";
    WriteBytes(to.dir / ("config/" + name), bytes);
}

// Loads one shipped language file as the program would and checks it from end to end.
LanguageTable LoadShipped(const char* textFile, bool withShippedChoice, const UiFontChoice& expectedFont)
{
    LanguageFolder f;
    CopyShipped(textFile, f);
    if (withShippedChoice)
        CopyShipped("LanSetting.ini", f);

    const Bytes bytes = ReadBytes(f.dir / (std::string("config/") + textFile));
    EXPECT_GE(bytes.size(), 2u);
    EXPECT_TRUE(bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) << "UTF-16LE mark";
    EXPECT_EQ(bytes.size() % 2, 0u);
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
        EXPECT_FALSE(bytes[i] == '\r' && bytes[i + 1] == 0) << "CR at byte " << i;

    LanguageTable texts;
    UiFontChoice font = kUntouchedFont;
    EXPECT_EQ(LoadLanguage(f.folder, 2.0f, texts, font), 1) << "read to the end";
    ExpectFont(font, expectedFont.name, expectedFont.size, expectedFont.charset);
    for (int i = 0; i < kLanguageTextCount; ++i) {
        if (IsUsed(i))
            EXPECT_FALSE(texts[i].empty()) << textFile << ": no text for index " << i;
        else
            EXPECT_TRUE(texts[i].empty()) << textFile << ": text for unused index " << i;
    }
    return texts;
}

} // namespace

TEST(ShippedLanguageFiles, ShippedChoiceSelectsEnglish)
{
    LanguageFolder f;
    CopyShipped("LanSetting.ini", f);
    EXPECT_EQ(ReadLanguageCode(f.folder), u"EN");
}

TEST(ShippedLanguageFiles, EnglishCoversEveryIndex)
{
    const LanguageTable texts = LoadShipped("Lan_EN.txt", true, {u"Tahoma", 32, 1});
    // Texts shown joined with a number or a name keep the space that separates them.
    EXPECT_EQ(texts[266].back(), u' ');
    EXPECT_EQ(texts[267].front(), u' ');
    EXPECT_EQ(texts[190].back(), u' ');
}

TEST(ShippedLanguageFiles, ChineseCoversEveryIndex)
{
    const LanguageTable texts = LoadShipped("Lan.txt", false, {u"宋体", 24, 134});
    EXPECT_EQ(texts[0], u"中文");
}
