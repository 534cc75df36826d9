#include "macros/macro_library_file.h"

#include "app/core/process_values.h"
#include "core/file_test_util.h"
#include "macros/macro_model.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include <sys/stat.h>

using namespace vexmo;
using namespace vexmo::test;

namespace {

using Loc = MacroLocation;

std::u16string U(const std::string& s)
{
    return std::u16string(s.begin(), s.end());
}

std::string Narrow(std::u16string_view s)
{
    return std::string(s.begin(), s.end());
}

std::string Show(const Loc& l)
{
    std::string out = "{";
    for (const int32_t v : {l.stage, l.stage0Index, l.stage1Index, l.stage2Index})
        out.append(std::to_string(v)).append(",");
    out.back() = '}';
    return out;
}

// "AllAction=" with the given leading digits and zeros for the rest of the 2688.
std::u16string AllAction(std::u16string_view digits, std::size_t length = 2688)
{
    std::u16string value(digits);
    value.resize(length, u'0');
    return u"AllAction=" + value;
}

// Every slot of the library, level by level.
template <typename F>
void ForEachSlot(F&& f)
{
    for (int i = 0; i < 60; ++i)
        f(Loc::Level0(i));
    for (int i = 0; i < 60; ++i)
        for (int j = 0; j < 60; ++j)
            f(Loc::Level1(i, j));
    for (int i = 0; i < 60; ++i)
        for (int j = 0; j < 60; ++j)
            for (int k = 0; k < 60; ++k)
                f(Loc::Level2(i, j, k));
}

int NamedSlots(const MacroLibrary& lib)
{
    int count = 0;
    ForEachSlot([&](const Loc& l) { count += lib.ItemAt(l)->IsFree() ? 0 : 1; });
    return count;
}

// Empty when both libraries hold the same items, keys and counter; else the first difference.
std::string FirstDifference(const MacroLibrary& a, const MacroLibrary& b)
{
    if (a.NextMacroKeyIndex != b.NextMacroKeyIndex)
        return "NextMacroKeyIndex " + std::to_string(a.NextMacroKeyIndex) + " vs " +
               std::to_string(b.NextMacroKeyIndex);
    std::string diff;
    ForEachSlot([&](const Loc& l) {
        const MacroItem& x = *a.ItemAt(l);
        const MacroItem& y = *b.ItemAt(l);
        if (!diff.empty())
            return;
        if (x.MacroItemName != y.MacroItemName || x.MacroItemIsFolder != y.MacroItemIsFolder ||
            x.MacroItemFolderIsOpen != y.MacroItemFolderIsOpen || !x.key != !y.key) {
            diff = "item at " + Show(l) + ": " + Narrow(x.MacroItemName) + " vs " +
                   Narrow(y.MacroItemName);
            return;
        }
        if (!x.key)
            return;
        const MacroKey& p = *x.key;
        const MacroKey& q = *y.key;
        if (p.name != q.name || p.MacroKeyIndex != q.MacroKeyIndex ||
            p.ActionCount != q.ActionCount || p.Actions != q.Actions ||
            p.MacroKeyLoopType != q.MacroKeyLoopType || p.MacroKeyLoopNum != q.MacroKeyLoopNum ||
            p.MacroCommandActionNum != q.MacroCommandActionNum)
            diff = "macro at " + Show(l) + " (" + Narrow(x.MacroItemName) + ")";
    });
    return diff;
}

// A folder at each level that can hold one, macros at each level, a name with "=", an action
// left behind the used ones, and a counter that is not simply the number of macros.
void BuildSample(MacroLibrary& lib)
{
    Loc games;
    ASSERT_EQ(lib.AddFolder(u"Games", games), AddResult::Added);
    lib.ItemAt(games)->MacroItemFolderIsOpen = 1;
    Loc fps = games;
    ASSERT_EQ(lib.AddFolder(u"FPS", fps), AddResult::Added);
    Loc reload = games;
    ASSERT_EQ(lib.AddMacroKey(u"Reload", reload), AddResult::Added);
    Loc crouch = fps;
    ASSERT_EQ(lib.AddMacroKey(u"Crouch=Hold", crouch), AddResult::Added);
    Loc jump;
    ASSERT_EQ(lib.AddMacroKey(u"Jump", jump), AddResult::Added);
    ASSERT_EQ(jump, Loc::Level0(1));
    ASSERT_EQ(crouch, Loc::Level2(0, 0, 0));

    MacroKey& j = *lib.ItemAt(jump)->key;
    j.InsertAction(0, MacroAction::Delay(50));
    j.InsertAction(1, MacroAction::Key(0x41, false));
    j.InsertAction(2, MacroAction::Key(0x41, true));
    j.InsertAction(3, MacroAction::Movement(0xE5, -1));
    j.SetAction(335, MacroAction::FromBytes(0x12, 0x34, 0x56, 0x78));
    j.MacroKeyLoopType = 4;
    j.MacroKeyLoopNum = 7;
    j.MacroCommandActionNum = 3;

    MacroKey& c = *lib.ItemAt(crouch)->key;
    c.InsertAction(0, MacroAction::Key(0xE0, false));
    c.MacroCommandActionNum = 1;
}

const std::u16string kSampleText =
    u"[MacroLibrary]\n"
    u"MacroKeyIndex=4\n"
    u"Select Locaton:stage=1;stage0Index=0;stage1Index=1;stage2Index=0;\n"
    u"++++++++MacroItemName=Games\n"
    u"MacroItemLocation:stage=0;stage0Index=0;stage1Index=0;stage2Index=0;\n"
    u"MacroItemIsFolder=1\n"
    u"MacroItemFolderIsOpen=1\n"
    u"++++++++MacroItemName=Jump\n"
    u"MacroItemLocation:stage=0;stage0Index=1;stage1Index=0;stage2Index=0;\n"
    u"MacroItemIsFolder=0\n"
    u"MacroItemFolderIsOpen=0\n"
    u"MacroKeyIndex=3\n"
    u"MacroKeyLoopType=4\n"
    u"MacroKeyLoopNum=7\n"
    u"MacroActionNum=4\n"
    u"MacroCommandActionNum=3\n" +
    AllAction(u"03000032" u"41000000" u"41800000" u"E50000FF", 2680) + u"12345678\n" +
    u"\t++++++++MacroItemName=FPS\n"
    u"\tMacroItemLocation:stage=1;stage0Index=0;stage1Index=0;stage2Index=0;\n"
    u"\tMacroItemIsFolder=1\n"
    u"\tMacroItemFolderIsOpen=0\n"
    u"\t++++++++MacroItemName=Reload\n"
    u"\tMacroItemLocation:stage=1;stage0Index=0;stage1Index=1;stage2Index=0;\n"
    u"\tMacroItemIsFolder=0\n"
    u"\tMacroItemFolderIsOpen=0\n"
    u"\tMacroKeyIndex=1\n"
    u"\tMacroKeyLoopType=2\n"
    u"\tMacroKeyLoopNum=1\n"
    u"\tMacroActionNum=0\n"
    u"\tMacroCommandActionNum=0\n"
    u"\t" + AllAction(u"") + u"\n" +
    u"\t\t++++++++MacroItemName=Crouch=Hold\n"
    u"\t\tMacroItemLocation:stage=2;stage0Index=0;stage1Index=0;stage2Index=0;\n"
    u"\t\tMacroItemIsFolder=0\n"
    u"\t\tMacroItemFolderIsOpen=0\n"
    u"\t\tMacroKeyIndex=2\n"
    u"\t\tMacroKeyLoopType=2\n"
    u"\t\tMacroKeyLoopNum=1\n"
    u"\t\tMacroActionNum=1\n"
    u"\t\tMacroCommandActionNum=1\n"
    u"\t\t" + AllAction(u"E0000000") + u"\n";

// Hand-made files: a header and records with every value given as text.
std::u16string Header(std::u16string_view counter = u"1",
                      std::u16string_view selection = u"stage=-1;a=0;b=0;c=0;")
{
    return u"[MacroLibrary]\nMacroKeyIndex=" + std::u16string(counter) + u"\nSelect Locaton:" +
           std::u16string(selection) + u"\n";
}

std::u16string TopLevel(int slot)
{
    return u"stage=0;stage0Index=" + U(std::to_string(slot)) + u";stage1Index=0;stage2Index=0;";
}

struct MacroText {
    std::u16string name = u"M";
    std::u16string location = TopLevel(0);
    std::u16string keyIndex = u"5";
    std::u16string loopType = u"2";
    std::u16string loopNum = u"1";
    std::u16string actionNum = u"0";
    std::u16string commandNum = u"0";
    std::u16string allAction = AllAction(u"");
};

std::u16string MacroRecord(const MacroText& m)
{
    return u"++++++++MacroItemName=" + m.name + u"\nMacroItemLocation:" + m.location +
           u"\nMacroItemIsFolder=0\nMacroItemFolderIsOpen=0\nMacroKeyIndex=" + m.keyIndex +
           u"\nMacroKeyLoopType=" + m.loopType + u"\nMacroKeyLoopNum=" + m.loopNum +
           u"\nMacroActionNum=" + m.actionNum + u"\nMacroCommandActionNum=" + m.commandNum +
           u"\n" + m.allAction + u"\n";
}

std::u16string MacroRecord(std::u16string name, std::u16string location)
{
    MacroText m;
    m.name = std::move(name);
    m.location = std::move(location);
    return MacroRecord(m);
}

std::u16string FolderRecord(std::u16string_view name, std::u16string_view location)
{
    return u"++++++++MacroItemName=" + std::u16string(name) + u"\nMacroItemLocation:" +
           std::u16string(location) + u"\nMacroItemIsFolder=1\nMacroItemFolderIsOpen=0\n";
}

class LibraryFileTest : public ::testing::Test {
protected:
    TempFolder dir;
    std::string file = dir / "MacroLibraryFile.mlf";
    std::u16string path = U16(file);
    MacroLibrary lib;
    MacroLibrary back;

    void WriteText(std::u16string_view text) { WriteBytes(file, Utf16Bytes(text)); }
    std::u16string FileText() const
    {
        const Bytes bytes = ReadBytes(file);
        std::u16string text;
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
            text.push_back(char16_t(bytes[i] | bytes[i + 1] << 8));
        return text;
    }
    const MacroItem& At(const Loc& l) const { return *back.ItemAt(l); }
};

TEST_F(LibraryFileTest, EmptyLibraryIsTheThreeHeaderLines)
{
    BuildSample(lib);
    ASSERT_TRUE(WriteMacroLibraryFile(path, lib, Loc::Level0(0)));
    // Writing again truncates what was there.
    ASSERT_TRUE(WriteMacroLibraryFile(path, back, Loc::None()));
    EXPECT_EQ(ReadBytes(file),
              Utf16Bytes(u"[MacroLibrary]\n"
                         u"MacroKeyIndex=1\n"
                         u"Select Locaton:stage=-1;stage0Index=0;stage1Index=0;stage2Index=0;\n"));
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"MacroLibraryFile.mlf"});
}

TEST_F(LibraryFileTest, WritesEveryLevelByteExactAndReadsItBack)
{
    BuildSample(lib);
    ASSERT_TRUE(WriteMacroLibraryFile(path, lib, Loc::Level1(0, 1)));
    const bool exact = ReadBytes(file) == Utf16Bytes(kSampleText);
    EXPECT_TRUE(exact) << Narrow(FileText());

    Loc selection;
    EXPECT_TRUE(ReadMacroLibraryFile(path, back, &selection));
    EXPECT_EQ(FirstDifference(lib, back), "");
    EXPECT_EQ(selection, Loc::Level1(0, 1));
    EXPECT_EQ(At(Loc::Level2(0, 0, 0)).key->name, u"Crouch=Hold");
}

TEST_F(LibraryFileTest, TabsAndTheWordsBeforeTheValuesAreNotRead)
{
    BuildSample(lib);
    std::u16string noTabs = kSampleText;
    std::erase(noTabs, u'\t');
    // Two tabs on every line but the first, whose text must be exact.
    std::u16string moreTabs;
    for (const char16_t c : kSampleText) {
        moreTabs += c;
        if (c == u'\n')
            moreTabs += u"\t\t";
    }
    moreTabs.resize(moreTabs.size() - 2);
    std::u16string otherWords = kSampleText;
    for (const std::u16string_view word : {u"MacroKeyLoopNum=", u"MacroItemLocation:stage="}) {
        for (auto at = otherWords.find(word); at != std::u16string::npos;
             at = otherWords.find(word, at + 1))
            otherWords.replace(at, word.size() - 1, std::u16string(word.size() - 1, u'x'));
    }

    for (const auto& text : {noTabs, moreTabs, otherWords}) {
        WriteText(text);
        EXPECT_TRUE(ReadMacroLibraryFile(path, back));
        EXPECT_EQ(FirstDifference(lib, back), "");
    }
}

TEST_F(LibraryFileTest, NumbersFollowTheFileRules)
{
    struct Case {
        std::u16string MacroText::*field;
        std::u16string text;
        uint32_t (*get)(const MacroKey&);
        uint32_t expected;
    };
    const auto loopNum = [](const MacroKey& k) -> uint32_t { return k.MacroKeyLoopNum; };
    const auto loopType = [](const MacroKey& k) -> uint32_t { return k.MacroKeyLoopType; };
    const auto index = [](const MacroKey& k) -> uint32_t { return k.MacroKeyIndex; };
    const auto count = [](const MacroKey& k) -> uint32_t { return k.ActionCount; };
    const auto commands = [](const MacroKey& k) -> uint32_t { return k.MacroCommandActionNum; };
    const auto action0 = [](const MacroKey& k) -> uint32_t { return k.GetAction(0).word; };
    const Case cases[] = {
        {&MacroText::loopNum, u"300", loopNum, 44}, // low 8 bits
        {&MacroText::loopNum, u"  +9 times", loopNum, 9},
        {&MacroText::loopNum, u"-", loopNum, 0},
        {&MacroText::loopType, u"-1", loopType, 255},
        {&MacroText::loopType, u"abc", loopType, 0},
        {&MacroText::loopType, u"4;2", loopType, 4},
        {&MacroText::keyIndex, u"4294967295", index, 0xFFFFFFFF}, // as %u writes it
        {&MacroText::keyIndex, u"-1", index, 0xFFFFFFFF},
        {&MacroText::keyIndex, u"99999999999", index, 0xFFFFFFFF},
        {&MacroText::keyIndex, u"\t 12", index, 12},
        {&MacroText::actionNum, u"336", count, 336},
        {&MacroText::commandNum, u"168", commands, 168},
        {&MacroText::allAction, AllAction(u"e0800a0B"), action0,
         MacroAction::FromBytes(0xE0, 0x80, 0x0A, 0x0B).word},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Narrow(c.text));
        MacroText m;
        m.*c.field = c.text;
        WriteText(Header() + MacroRecord(m));
        EXPECT_TRUE(ReadMacroLibraryFile(path, back));
        const MacroItem& item = At(Loc::Level0(0));
        ASSERT_TRUE(item.IsMacro());
        EXPECT_EQ(c.get(*item.key), c.expected);
    }
}

TEST_F(LibraryFileTest, NextMacroKeyIndexIsRestored)
{
    Loc a, b, c;
    lib.AddMacroKey(u"A", a);
    lib.AddMacroKey(u"B", b);
    lib.DeleteItem(a);
    ASSERT_TRUE(WriteMacroLibraryFile(path, lib, Loc::None()));
    ASSERT_TRUE(ReadMacroLibraryFile(path, back));
    EXPECT_EQ(back.NextMacroKeyIndex, 3u);
    EXPECT_EQ(At(Loc::Level0(0)).key->MacroKeyIndex, 2u);
    ASSERT_EQ(back.AddMacroKey(u"C", c), AddResult::Added);
    EXPECT_EQ(back.ItemAt(c)->key->MacroKeyIndex, 3u);

    // The counter is written with %d; a value past the signed range comes back whole.
    lib.NextMacroKeyIndex = 3000000000u;
    ASSERT_TRUE(WriteMacroLibraryFile(path, lib, Loc::None()));
    EXPECT_NE(FileText().find(u"\nMacroKeyIndex=-1294967296\n"), std::u16string::npos);
    ASSERT_TRUE(ReadMacroLibraryFile(path, back));
    EXPECT_EQ(back.NextMacroKeyIndex, 3000000000u);
}

TEST_F(LibraryFileTest, LocationLinesAreCutAtEqualsAndSemicolons)
{
    struct Case {
        std::u16string line;
        bool parses;
        Loc expected;
    };
    const Case cases[] = {
        {u"Select Locaton:stage=1;stage0Index=2;stage1Index=5;stage2Index=0;", true, {1, 2, 5, 0}},
        {u"\t\tstage= 2 ;a=-3;b=+4x;c=;", true, {2, -3, 4, 0}},
        {u"a=1;b=2;c=3;d=4", true, {1, 2, 3, 0}},    // no fourth ";": 0
        {u"a=1=2=3=4;;;;", true, {1, 2, 3, 4}},      // values run up to the n-th ";"
        {u"a;b;c;d;=1=2=3=4", true, {0, 0, 0, 0}},   // each ";" before its "="
        {u"a=4294967295;b=2;c=3;d=4;", true, {-1, 2, 3, 4}},
        {u"stage=1;stage0Index=2;stage1Index=3;", false, {}},
        {u"stage=1;stage0Index=2;stage1Index=3;stage2Index=", false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Narrow(c.line));
        Loc selection = Loc::Level0(9);
        WriteText(u"[MacroLibrary]\nMacroKeyIndex=1\n" + c.line + u"\n" +
                  MacroRecord(u"M", TopLevel(0)));
        EXPECT_EQ(ReadMacroLibraryFile(path, back, &selection), c.parses);
        EXPECT_EQ(Show(selection), Show(c.parses ? c.expected : Loc::None()));
        EXPECT_EQ(NamedSlots(back), c.parses ? 1 : 0);
    }

    // An item goes where its location line says, whatever came before it.
    WriteText(Header() +
              MacroRecord(u"M", u"stage=1;stage0Index=2;stage1Index=5;stage2Index=0;"));
    EXPECT_TRUE(ReadMacroLibraryFile(path, back));
    EXPECT_EQ(At(Loc::Level1(2, 5)).MacroItemName, u"M");
    EXPECT_EQ(NamedSlots(back), 1);
}

TEST_F(LibraryFileTest, BrokenRecordEndsTheReadKeepingWhatWasPlaced)
{
    const std::u16string good = MacroRecord(u"Before", TopLevel(0));
    struct Case {
        const char* what;
        std::u16string bad;
        bool last = false; // the file ends with this record
    };
    auto macro = [](auto edit) {
        MacroText m;
        m.location = TopLevel(1);
        edit(m);
        return MacroRecord(m);
    };
    const std::u16string folder = FolderRecord(u"F", TopLevel(1));
    const Case cases[] = {
        {"empty name", macro([](MacroText& m) { m.name.clear(); })},
        {"name line without =", u"++++++++MacroItemName\n" + folder.substr(folder.find(u'\n') + 1)},
        {"location with three =",
         macro([](MacroText& m) { m.location = u"stage=0;stage0Index=1;stage1Index=0;"; })},
        {"value line ending in =", macro([](MacroText& m) { m.loopNum = u""; })},
        {"AllAction of 2687", macro([](MacroText& m) { m.allAction = AllAction(u"", 2687); })},
        {"AllAction of 2689", macro([](MacroText& m) { m.allAction = AllAction(u"", 2689); })},
        {"AllAction not hex", macro([](MacroText& m) { m.allAction = AllAction(u"0300003G"); })},
        {"AllAction line missing", [&] {
             std::u16string r = macro([](MacroText&) {});
             return r.substr(0, r.rfind(u"AllAction="));
         }()},
        {"blank line inside the record", [&] {
             std::u16string r = folder;
             return r.insert(r.find(u"MacroItemIsFolder"), u"\n");
         }()},
        {"truncated AllAction", [&] {
             std::u16string r = macro([](MacroText&) {});
             return r.substr(0, r.size() - 1000) + u"\n";
         }()},
        {"macro record cut after its counts",
         [&] {
             std::u16string r = macro([](MacroText&) {});
             return r.substr(0, r.rfind(u"AllAction="));
         }(),
         true},
        {"folder record cut after its folder line",
         folder.substr(0, folder.find(u"MacroItemFolderIsOpen")), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        back.NextMacroKeyIndex = 1;
        WriteText(Header(u"40") + good + c.bad +
                  (c.last ? u"" : MacroRecord(u"After", TopLevel(2))));
        EXPECT_FALSE(ReadMacroLibraryFile(path, back));
        EXPECT_EQ(At(Loc::Level0(0)).MacroItemName, u"Before");
        EXPECT_EQ(NamedSlots(back), 1);
        EXPECT_EQ(back.NextMacroKeyIndex, 40u);
    }
}

TEST_F(LibraryFileTest, RecordOutsideTheLibraryIsSkippedAndReadingGoesOn)
{
    auto macro = [](auto edit) {
        MacroText m;
        m.name = u"Bad";
        edit(m);
        return MacroRecord(m);
    };
    const struct {
        const char* what;
        std::u16string bad;
    } cases[] = {
        {"stage 3", macro([](MacroText& m) { m.location = u"stage=3;a=1;b=0;c=0;"; })},
        {"stage -1", macro([](MacroText& m) { m.location = u"stage=-1;a=1;b=0;c=0;"; })},
        {"index 60", macro([](MacroText& m) { m.location = TopLevel(60); })},
        {"index -1", macro([](MacroText& m) { m.location = TopLevel(-1); })},
        {"level-1 index 60", macro([](MacroText& m) { m.location = u"stage=1;a=0;b=60;c=0;"; })},
        {"level-2 index 60", macro([](MacroText& m) { m.location = u"stage=2;a=0;b=0;c=60;"; })},
        {"folder at level 2", FolderRecord(u"Bad", u"stage=2;a=0;b=0;c=1;")},
        {"folder at stage 7", FolderRecord(u"Bad", u"stage=7;a=0;b=0;c=0;")},
        {"action count 337", macro([](MacroText& m) { m.actionNum = u"337"; })},
        {"action count -1", macro([](MacroText& m) { m.actionNum = u"-1"; })},
        {"command count 169", macro([](MacroText& m) { m.commandNum = u"169"; })},
        // Its low 8 bits would be 44, but the written count is already wrong.
        {"command count 300", macro([](MacroText& m) { m.commandNum = u"300"; })},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        WriteText(Header() + MacroRecord(u"Before", TopLevel(0)) + c.bad +
                  MacroRecord(u"After", TopLevel(2)));
        EXPECT_FALSE(ReadMacroLibraryFile(path, back));
        EXPECT_EQ(At(Loc::Level0(0)).MacroItemName, u"Before");
        EXPECT_EQ(At(Loc::Level0(2)).MacroItemName, u"After");
        EXPECT_EQ(NamedSlots(back), 2);
    }
}

TEST_F(LibraryFileTest, HeaderDecidesWhetherAnythingIsRead)
{
    Loc any;
    std::u16string crlf;
    for (const char16_t c : kSampleText)
        crlf += c == u'\n' ? std::u16string(u"\r\n") : std::u16string(1, c);
    const std::u16string record = MacroRecord(u"M", TopLevel(0));
    const std::u16string selectionLine = u"Select Locaton:stage=-1;a=0;b=0;c=0;\n";
    const struct {
        const char* what;
        std::u16string text;
        uint32_t counter; // back's counter afterwards; it starts at 77
    } cases[] = {
        {"CR LF line ends", crlf, 77},
        {"header in other case", u"[macrolibrary]\nMacroKeyIndex=5\n" + selectionLine + record, 77},
        {"counter without value", u"[MacroLibrary]\nMacroKeyIndex=\n" + selectionLine + record, 77},
        {"no selection line", u"[MacroLibrary]\nMacroKeyIndex=5\n" + record, 5},
        {"empty file", u"", 77},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        back.ClearLibrary();
        back.AddMacroKey(u"Old", any);
        back.NextMacroKeyIndex = 77;
        WriteText(c.text);
        EXPECT_FALSE(ReadMacroLibraryFile(path, back));
        EXPECT_EQ(NamedSlots(back), 0);
        EXPECT_EQ(back.NextMacroKeyIndex, c.counter);
    }

    // Three header lines and nothing else: an empty library, read successfully.
    WriteText(Header(u"9"));
    EXPECT_TRUE(ReadMacroLibraryFile(path, back));
    EXPECT_EQ(back.NextMacroKeyIndex, 9u);

    // A file that cannot be opened leaves the library as it is.
    back.AddMacroKey(u"Kept", any);
    Loc selection = Loc::Level0(3);
    EXPECT_FALSE(ReadMacroLibraryFile(U16(dir / "missing.mlf"), back, &selection));
    EXPECT_EQ(At(Loc::Level0(0)).MacroItemName, u"Kept");
    EXPECT_EQ(selection, Loc::Level0(3));
}

TEST_F(LibraryFileTest, UnwritableTargetIsLeftAlone)
{
    BuildSample(lib);
    EXPECT_FALSE(WriteMacroLibraryFile(U16(dir / "no/such/folder.mlf"), lib, Loc::None()));
    EXPECT_TRUE(dir.Entries().empty());

    WriteText(Header(u"3"));
    ASSERT_EQ(::chmod(file.c_str(), 0444), 0);
    EXPECT_FALSE(WriteMacroLibraryFile(path, lib, Loc::None()));
    EXPECT_EQ(ReadBytes(file), Utf16Bytes(Header(u"3")));
}

TEST_F(LibraryFileTest, MainLibraryUsesTheFileUnderTheDataFolder)
{
    EXPECT_EQ(MacroLibraryFilePath(u"/data/"), u"/data/config/MacroLibraryFile.mlf");

    const std::u16string savedFolder = DataFolder;
    DataFolder = U16(dir.Path() + "/");
    ASSERT_EQ(::mkdir((dir / "config").c_str(), 0755), 0);
    MainMacroLibrary.ClearLibrary();
    MainMacroLibrary.NextMacroKeyIndex = 1;
    BuildSample(MainMacroLibrary);
    BuildSample(lib);

    EXPECT_TRUE(SaveMainMacroLibrary());
    const Bytes bytes = ReadBytes(dir / "config/MacroLibraryFile.mlf");
    MainMacroLibrary.ClearLibrary();
    MainMacroLibrary.NextMacroKeyIndex = 1;
    EXPECT_TRUE(LoadMainMacroLibrary());
    const std::string diff = FirstDifference(lib, MainMacroLibrary);

    MainMacroLibrary.ClearLibrary();
    MainMacroLibrary.NextMacroKeyIndex = 1;
    DataFolder = savedFolder;

    EXPECT_EQ(diff, "");
    // Saved with no stored selection.
    std::u16string expected = kSampleText;
    expected.replace(expected.find(u"stage=1;stage0Index=0;stage1Index=1;"), 36,
                     u"stage=-1;stage0Index=0;stage1Index=0;");
    EXPECT_TRUE(bytes == Utf16Bytes(expected));
}

TEST_F(LibraryFileTest, UnreadableMainLibraryIsKeptAside)
{
    const std::u16string savedFolder = DataFolder;
    DataFolder = U16(dir.Path() + "/");
    ASSERT_EQ(::mkdir((dir / "config").c_str(), 0755), 0);
    const auto mainFile = dir / "config/MacroLibraryFile.mlf";
    const auto aside = dir / "config/MacroLibraryFile.mlf.unreadable";

    // A record broken halfway: the read keeps the first macro and fails.
    const std::u16string text = Header(u"3") + MacroRecord(u"Kept", TopLevel(0)) + u"++++++++MacroItemName=Lost\n";
    WriteBytes(mainFile, Utf16Bytes(text));
    EXPECT_FALSE(LoadMainMacroLibrary());
    const bool keptFirst = MainMacroLibrary.ItemAt(MacroLocation::Level0(0)) != nullptr &&
                           MainMacroLibrary.ItemAt(MacroLocation::Level0(0))->IsMacro();
    const Bytes asideBytes = ReadBytes(aside);

    // A file read whole leaves nothing aside.
    ::unlink(aside.c_str());
    WriteBytes(mainFile, Utf16Bytes(Header(u"3")));
    EXPECT_TRUE(LoadMainMacroLibrary());
    const bool asideAfterGoodRead = ::access(aside.c_str(), F_OK) == 0;
    // No file at all is the first run, not a damaged file.
    ::unlink(mainFile.c_str());
    EXPECT_FALSE(LoadMainMacroLibrary());
    const bool asideWithoutFile = ::access(aside.c_str(), F_OK) == 0;

    MainMacroLibrary.ClearLibrary();
    MainMacroLibrary.NextMacroKeyIndex = 1;
    DataFolder = savedFolder;

    EXPECT_TRUE(keptFirst);
    EXPECT_TRUE(asideBytes == Utf16Bytes(text));
    EXPECT_FALSE(asideAfterGoodRead);
    EXPECT_FALSE(asideWithoutFile);
}

} // namespace
