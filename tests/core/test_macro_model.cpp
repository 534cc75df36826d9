#include "macros/macro_model.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

using namespace vexmo;

namespace {

using Loc = MacroLocation;

std::string Show(const Loc& l)
{
    std::string out = "{";
    for (int32_t v : {l.stage, l.stage0Index, l.stage1Index, l.stage2Index})
        out += std::to_string(v) + ",";
    out.back() = '}';
    return out;
}

std::u16string U(const std::string& s)
{
    return std::u16string(s.begin(), s.end());
}

std::string Narrow(const std::u16string& s)
{
    return std::string(s.begin(), s.end());
}

MacroLocation AddMacro(MacroLibrary& lib, const std::u16string& name, Loc where = Loc::None())
{
    EXPECT_EQ(lib.AddMacroKey(name, where), AddResult::Added) << Narrow(name);
    return where;
}

MacroLocation AddFolder(MacroLibrary& lib, const std::u16string& name, Loc where = Loc::None(),
                        bool open = false)
{
    EXPECT_EQ(lib.AddFolder(name, where), AddResult::Added) << Narrow(name);
    if (MacroItem* item = lib.ItemAt(where))
        item->MacroItemFolderIsOpen = open ? 1 : 0;
    return where;
}

// Every named slot of the library, as "location name" lines, for before/after comparisons.
std::vector<std::string> Snapshot(const MacroLibrary& lib)
{
    std::vector<std::string> out;
    auto take = [&](const Loc& l) {
        const MacroItem* item = lib.ItemAt(l);
        if (!item->IsFree())
            out.push_back(Show(l) + " " + Narrow(item->MacroItemName) + " f" +
                          std::to_string(item->MacroItemIsFolder) + " k" +
                          (item->key ? std::to_string(item->key->MacroKeyIndex) : "-"));
    };
    for (int i = 0; i < 60; ++i)
        take(Loc::Level0(i));
    for (int i = 0; i < 60; ++i)
        for (int j = 0; j < 60; ++j)
            take(Loc::Level1(i, j));
    for (int i = 0; i < 60; ++i)
        for (int j = 0; j < 60; ++j)
            for (int k = 0; k < 60; ++k)
                take(Loc::Level2(i, j, k));
    return out;
}

std::vector<MacroAction> Used(const MacroKey& key)
{
    return {key.Actions.begin(), key.Actions.begin() + key.UsedActions()};
}

const MacroAction A = MacroAction::Key(0x41, false);
const MacroAction B = MacroAction::Key(0x42, false);
const MacroAction C = MacroAction::Key(0x43, false);
const MacroAction X = MacroAction::Delay(50);

} // namespace

// ---- actions ----------------------------------------------------------------------------------

TEST(MacroAction, DecodesTheFourBytes)
{
    struct Case {
        uint8_t b[4];
        MacroActionKind kind;
        uint32_t delay;
        bool release;
        int amount;
    } cases[] = {
        {{0x03, 0x00, 0x00, 0x32}, MacroActionKind::Delay, 50, false, 0x32},
        {{0x03, 0x00, 0x00, 0x64}, MacroActionKind::Delay, 100, false, 0x64},
        {{0x00, 0x01, 0x02, 0x03}, MacroActionKind::Delay, 0x010203, false, 3},
        {{0x07, 0xFF, 0xFF, 0xFF}, MacroActionKind::Delay, 0xFFFFFF, true, -1},
        {{0xE0, 0x00, 0x00, 0x00}, MacroActionKind::MouseButton, 0, false, 0},
        {{0xE0, 0x80, 0x00, 0x00}, MacroActionKind::MouseButton, 0x800000, true, 0},
        {{0xE4, 0x81, 0x00, 0x00}, MacroActionKind::MouseButton, 0x810000, true, 0},
        {{0x41, 0x00, 0x00, 0x00}, MacroActionKind::Key, 0, false, 0},
        {{0x41, 0x80, 0x00, 0x00}, MacroActionKind::Key, 0x800000, true, 0},
        {{0x08, 0x00, 0x00, 0x00}, MacroActionKind::Key, 0, false, 0},
        {{0xDF, 0x7F, 0x00, 0x00}, MacroActionKind::Key, 0x7F0000, false, 0},
        {{0xE8, 0x00, 0x00, 0x00}, MacroActionKind::Key, 0, false, 0},
        {{0xFF, 0x00, 0x00, 0x00}, MacroActionKind::Key, 0, false, 0},
        {{0xE5, 0x00, 0x00, 0xFF}, MacroActionKind::MoveX, 0xFF, false, -1},
        {{0xE6, 0x00, 0x00, 0x01}, MacroActionKind::MoveY, 1, false, 1},
        {{0xE7, 0x00, 0x00, 0x80}, MacroActionKind::Wheel, 0x80, false, -128},
    };
    for (const auto& c : cases) {
        const MacroAction a = MacroAction::FromBytes(c.b[0], c.b[1], c.b[2], c.b[3]);
        SCOPED_TRACE(testing::Message() << std::hex << a.word);
        EXPECT_EQ(a.word, uint32_t(c.b[0]) | uint32_t(c.b[1]) << 8 | uint32_t(c.b[2]) << 16 |
                              uint32_t(c.b[3]) << 24);
        for (unsigned n = 0; n < 4; ++n)
            EXPECT_EQ(a.Byte(n), c.b[n]);
        EXPECT_EQ(a.Byte(4), 0);
        EXPECT_EQ(a.Code(), c.b[0]);
        EXPECT_EQ(a.Kind(), c.kind);
        EXPECT_EQ(a.IsDelay(), c.kind == MacroActionKind::Delay);
        EXPECT_EQ(a.DelayMs(), c.delay);
        EXPECT_EQ(a.IsRelease(), c.release);
        EXPECT_EQ(a.Amount(), c.amount);
    }
}

TEST(MacroAction, BuildersGiveTheDocumentedBytes)
{
    EXPECT_EQ(MacroAction::Delay(50), MacroAction::FromBytes(0x03, 0x00, 0x00, 0x32));
    EXPECT_EQ(MacroAction::Delay(15300000), MacroAction::FromBytes(0x03, 0xE9, 0x75, 0xA0));
    EXPECT_EQ(MacroAction::Delay(0x1000000), MacroAction::FromBytes(0x03, 0xFF, 0xFF, 0xFF));
    EXPECT_EQ(MacroAction::Key(0xE0, false), MacroAction::FromBytes(0xE0, 0x00, 0x00, 0x00));
    EXPECT_EQ(MacroAction::Key(0x41, true), MacroAction::FromBytes(0x41, 0x80, 0x00, 0x00));
    EXPECT_EQ(MacroAction::Movement(0xE5, -1), MacroAction::FromBytes(0xE5, 0x00, 0x00, 0xFF));
    EXPECT_EQ(MacroAction::Movement(0xE6, 1), MacroAction::FromBytes(0xE6, 0x00, 0x00, 0x01));
}

// ---- one macro ----------------------------------------------------------------------------------

TEST(MacroKey, NewMacroDefaults)
{
    const MacroKey key(u"Jump");
    EXPECT_EQ(key.name, u"Jump");
    EXPECT_EQ(key.MacroKeyIndex, 0u);
    EXPECT_EQ(key.ActionCount, 0u);
    EXPECT_EQ(key.MacroKeyLoopType, 2);
    EXPECT_EQ(key.MacroKeyLoopNum, 1);
    EXPECT_EQ(key.MacroCommandActionNum, 0);
    for (const MacroAction& a : key.Actions)
        ASSERT_EQ(a.word, 0u);
}

TEST(MacroKey, InsertClampsThePositionToTheEnd)
{
    struct Case {
        unsigned position;
        std::vector<MacroAction> expected;
    } cases[] = {
        {0, {X, A, B, C}},        {1, {A, X, B, C}},        {2, {A, B, X, C}},
        {3, {A, B, C, X}},        {4, {A, B, C, X}},        {335, {A, B, C, X}},
        {336, {A, B, C, X}},      {UINT_MAX, {A, B, C, X}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.position);
        MacroKey key;
        for (MacroAction a : {A, B, C})
            ASSERT_TRUE(key.InsertAction(key.ActionCount, a));
        ASSERT_TRUE(key.InsertAction(c.position, X));
        EXPECT_EQ(key.ActionCount, 4u);
        EXPECT_EQ(Used(key), c.expected);
        EXPECT_EQ(key.GetAction(4).word, 0u);
    }
}

TEST(MacroKey, FullListRefusesInsertAndDeleteOfLastEmptiesSlot335)
{
    MacroKey key;
    for (unsigned n = 0; n < MacroKey::kMaxActions; ++n)
        ASSERT_TRUE(key.InsertAction(n, MacroAction::Delay(n + 1)));
    ASSERT_EQ(key.ActionCount, 336u);

    EXPECT_FALSE(key.InsertAction(0, X));
    EXPECT_FALSE(key.InsertAction(336, X));
    EXPECT_EQ(key.ActionCount, 336u);
    EXPECT_EQ(key.GetAction(0), MacroAction::Delay(1));
    EXPECT_EQ(key.GetAction(335), MacroAction::Delay(336));

    EXPECT_TRUE(key.DeleteAction(335));
    EXPECT_EQ(key.ActionCount, 335u);
    EXPECT_EQ(key.GetAction(335).word, 0u);
    EXPECT_EQ(key.GetAction(334), MacroAction::Delay(335));

    EXPECT_TRUE(key.DeleteAction(0));
    EXPECT_EQ(key.ActionCount, 334u);
    EXPECT_EQ(key.GetAction(0), MacroAction::Delay(2));
    EXPECT_EQ(key.GetAction(333), MacroAction::Delay(335));
    EXPECT_EQ(key.GetAction(334).word, 0u);
}

TEST(MacroKey, DeleteShiftsLaterActionsDown)
{
    struct Case {
        unsigned index;
        bool done;
        std::vector<MacroAction> expected;
    } cases[] = {
        {0, true, {B, C}},      {1, true, {A, C}},          {2, true, {A, B}},
        {3, false, {A, B, C}},  {335, false, {A, B, C}},    {336, false, {A, B, C}},
        {UINT_MAX, false, {A, B, C}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        MacroKey key;
        for (MacroAction a : {A, B, C})
            key.InsertAction(key.ActionCount, a);
        EXPECT_EQ(key.DeleteAction(c.index), c.done);
        EXPECT_EQ(Used(key), c.expected);
    }
}

TEST(MacroKey, SlotAccessOutsideTheArrayFailsCleanly)
{
    MacroKey key;
    key.InsertAction(0, A);
    EXPECT_TRUE(key.SetAction(335, B)); // beyond the used actions but inside the array
    EXPECT_EQ(key.GetAction(335), B);
    EXPECT_EQ(key.ActionCount, 1u);

    for (unsigned index : {336u, 337u, 100000u, UINT_MAX}) {
        SCOPED_TRACE(index);
        EXPECT_FALSE(key.SetAction(index, C));
        EXPECT_EQ(key.GetAction(index).word, 0u);
    }
    EXPECT_EQ(key.GetAction(0), A);
    EXPECT_EQ(key.GetAction(335), B);
}

TEST(MacroKey, CountAboveCapacityNeverReachesPastTheArray)
{
    // A damaged file can bring any count; the operations must stay inside the 336 slots.
    MacroKey key;
    key.Actions.fill(A);
    key.ActionCount = 5000;
    EXPECT_EQ(key.UsedActions(), 336u);
    EXPECT_FALSE(key.InsertAction(400, X));
    EXPECT_FALSE(key.DeleteAction(400));
    EXPECT_TRUE(key.DeleteAction(335));
    EXPECT_EQ(key.ActionCount, 335u);
    EXPECT_EQ(key.GetAction(335).word, 0u);
}

TEST(MacroKey, CopyMacroContentKeepsTheTargetsIdentity)
{
    MacroKey from(u"Source");
    from.MacroKeyIndex = 7;
    from.MacroKeyLoopType = 4;
    from.MacroKeyLoopNum = 9;
    from.MacroCommandActionNum = 2;
    from.InsertAction(0, A);
    from.InsertAction(1, X);
    from.InsertAction(2, B);
    from.SetAction(300, C); // stale slot past the used actions travels too

    MacroKey to(u"Target");
    to.MacroKeyIndex = 42;
    to.InsertAction(0, C);
    CopyMacroContent(from, to);

    EXPECT_EQ(to.MacroKeyIndex, 42u);
    EXPECT_EQ(to.name, u"Source");
    EXPECT_EQ(to.MacroKeyLoopType, 4);
    EXPECT_EQ(to.MacroKeyLoopNum, 9);
    EXPECT_EQ(to.MacroCommandActionNum, 2);
    EXPECT_EQ(to.ActionCount, 3u);
    EXPECT_EQ(to.Actions, from.Actions);
}

// ---- the library ------------------------------------------------------------------------------

TEST(MacroModel, ProcessWideStateStartsEmpty)
{
    for (const MacroLibrary* lib : {&MainMacroLibrary, &StagingLibrary}) {
        EXPECT_EQ(lib->NextMacroKeyIndex, 1u);
        EXPECT_EQ(lib->CountVisibleRows(), 0);
        EXPECT_TRUE(lib->ItemAt(Loc::Level0(0))->IsFree());
    }
    EXPECT_TRUE(CurrentMacroSelection.IsNone());
    EXPECT_EQ(LoadedSelection, Loc::None());
    EXPECT_EQ(MacroLibrary::kSlotCount, 219660u);
}

// Top level: [0] folder F { [0] folder G { [0] g1 }, [1] m1 }, [1] macro M.
struct Tree {
    Loc F, G, g1, m1, M;
};

Tree BuildTree(MacroLibrary& lib)
{
    Tree t;
    t.F = AddFolder(lib, u"F");
    t.G = AddFolder(lib, u"G", t.F);
    t.g1 = AddMacro(lib, u"g1", t.G);
    t.m1 = AddMacro(lib, u"m1", t.F);
    t.M = AddMacro(lib, u"M");
    return t;
}

class MacroTree : public testing::Test {
protected:
    void SetUp() override { t = BuildTree(lib); }
    MacroLibrary lib;
    Tree t;
};

TEST(MacroLibrary, NewItemGoesWhereTheSelectionLeads)
{
    const Loc top = Loc::Level0(2);
    struct Case {
        Loc selection;
        bool folder;
        AddResult result;
        Loc placed; // the selection afterwards
    } cases[] = {
        {Loc::None(), false, AddResult::Added, top},
        {Loc::None(), true, AddResult::Added, top},
        {Loc::Level0(0), false, AddResult::Added, Loc::Level1(0, 2)},
        {Loc::Level0(0), true, AddResult::Added, Loc::Level1(0, 2)},
        {Loc::Level1(0, 0), false, AddResult::Added, Loc::Level2(0, 0, 1)},
        {Loc::Level1(0, 0), true, AddResult::NotAdded, Loc::Level1(0, 0)},
        // A selected macro, wherever it is, sends the new item to the top level.
        {Loc::Level1(0, 1), false, AddResult::Added, top},
        {Loc::Level1(0, 1), true, AddResult::Added, top},
        {Loc::Level2(0, 0, 0), false, AddResult::Added, top},
        {Loc::Level0(1), true, AddResult::Added, top},
        // Free slots and locations that address nothing count as no selection.
        {Loc::Level0(7), false, AddResult::Added, top},
        {Loc::Level2(0, 0, 5), false, AddResult::Added, top},
        {Loc{-7, 3, 3, 3}, false, AddResult::Added, top},
        {Loc{3, 0, 0, 0}, false, AddResult::Added, top},
        {Loc{0, 60, 0, 0}, true, AddResult::Added, top},
        {Loc{1, 0, -1, 0}, false, AddResult::Added, top},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Show(c.selection) + (c.folder ? " folder" : " macro"));
        MacroLibrary lib;
        const Tree t = BuildTree(lib);
        ASSERT_EQ(t.F, Loc::Level0(0));
        ASSERT_EQ(t.G, Loc::Level1(0, 0));
        ASSERT_EQ(t.g1, Loc::Level2(0, 0, 0));
        ASSERT_EQ(t.m1, Loc::Level1(0, 1));
        ASSERT_EQ(t.M, Loc::Level0(1));
        const auto before = Snapshot(lib);
        const uint32_t counter = lib.NextMacroKeyIndex;

        Loc sel = c.selection;
        const AddResult r = c.folder ? lib.AddFolder(u"new", sel) : lib.AddMacroKey(u"new", sel);
        EXPECT_EQ(r, c.result);
        EXPECT_EQ(sel, c.placed) << Show(sel);
        if (r != AddResult::Added) {
            EXPECT_EQ(Snapshot(lib), before);
            continue;
        }
        const MacroItem* item = lib.ItemAt(sel);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->MacroItemName, u"new");
        EXPECT_EQ(item->MacroItemFolderIsOpen, 0);
        if (c.folder) {
            EXPECT_TRUE(item->IsFolder());
            EXPECT_EQ(item->key, nullptr);
            EXPECT_EQ(lib.NextMacroKeyIndex, counter);
        } else {
            ASSERT_TRUE(item->IsMacro());
            EXPECT_EQ(item->key->name, u"new");
            EXPECT_EQ(item->key->MacroKeyIndex, counter);
            EXPECT_EQ(lib.NextMacroKeyIndex, counter + 1);
        }
        EXPECT_EQ(Snapshot(lib).size(), before.size() + 1);
    }
}

TEST(MacroLibrary, DuplicateNamesAreCheckedInTheTargetListOnly)
{
    const Loc F = Loc::Level0(0), G = Loc::Level1(0, 0), m1 = Loc::Level1(0, 1);
    struct Case {
        std::u16string name;
        Loc selection;
        bool folder;
        AddResult result;
    } cases[] = {
        {u"M", Loc::None(), false, AddResult::NameExists},
        {u"M", Loc::None(), true, AddResult::NameExists}, // folders and macros share names
        {u"F", m1, false, AddResult::NameExists},         // a selected macro: top level
        {u"m", Loc::None(), false, AddResult::Added},     // letter case matters
        {u"f", Loc::None(), true, AddResult::Added},
        {u"m1", Loc::None(), false, AddResult::Added},    // exists, but inside F
        {u"m1", F, false, AddResult::NameExists},
        {u"M", F, false, AddResult::Added},
        {u"F", F, true, AddResult::Added},                // a folder's own name is not a child
        {u"g1", G, false, AddResult::NameExists},
        {u"m1", G, false, AddResult::Added},
        // No folder can go under G: nothing is created and no duplicate is reported.
        {u"g1", G, true, AddResult::NotAdded},
        {u"x", G, true, AddResult::NotAdded},
        // An empty name never becomes an item: it would mark the slot free.
        {u"", Loc::None(), false, AddResult::NotAdded},
        {u"", F, true, AddResult::NotAdded},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.name) + " at " + Show(c.selection) + (c.folder ? " folder" : ""));
        MacroLibrary lib;
        BuildTree(lib);
        if (!c.folder) {
            EXPECT_EQ(lib.NameExistsAtTarget(c.name, c.selection),
                      c.result == AddResult::NameExists);
        }
        const auto before = Snapshot(lib);
        Loc sel = c.selection;
        EXPECT_EQ(c.folder ? lib.AddFolder(c.name, sel) : lib.AddMacroKey(c.name, sel), c.result);
        if (c.result != AddResult::Added) {
            EXPECT_EQ(sel, c.selection);
            EXPECT_EQ(Snapshot(lib), before);
        }
    }
}

TEST_F(MacroTree, NameExistsAmongSiblingsLooksAtTheListHoldingTheLocation)
{
    struct Case {
        std::u16string name;
        Loc location;
        bool exists;
    } cases[] = {
        {u"m1", t.m1, true},         // the item itself counts
        {u"G", t.m1, true},
        {u"m1", t.F, false},
        {u"M", t.F, true},
        {u"M", Loc::None(), true}, // no location: the top-level list
        {u"F", Loc{-3, 9, 9, 9}, true},
        {u"g1", t.g1, true},
        {u"g1", Loc::Level2(0, 0, 30), true}, // a free slot of that block
        {u"g1", Loc::Level2(0, 1, 0), false},
        {u"G1", t.g1, false},
        {u"", Loc::Level0(40), false},
        {u"m1", Loc{1, 0, 60, 0}, false},
        {u"M", Loc{3, 0, 0, 0}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(lib.NameExistsAmongSiblings(c.name, c.location), c.exists)
            << Narrow(c.name) << " at " << Show(c.location);
}

TEST_F(MacroTree, ContainsMacroKeyIndexLooksThroughFolders)
{
    const uint32_t ig1 = lib.ItemAt(t.g1)->key->MacroKeyIndex;
    const uint32_t im1 = lib.ItemAt(t.m1)->key->MacroKeyIndex;
    const uint32_t iM = lib.ItemAt(t.M)->key->MacroKeyIndex;
    struct Case {
        Loc location;
        uint32_t index;
        bool contains;
    } cases[] = {
        {t.F, ig1, true},  {t.F, im1, true},   {t.F, iM, false},  {t.G, ig1, true},
        {t.G, im1, false}, {t.m1, im1, true},  {t.m1, ig1, false}, {t.M, iM, true},
        {t.g1, ig1, true}, {Loc::None(), iM, false}, {Loc::Level0(5), 0, false},
        {Loc{0, 60, 0, 0}, iM, false},     {Loc{2, 0, 0, -1}, ig1, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(lib.ContainsMacroKeyIndex(c.location, c.index), c.contains)
            << Show(c.location) << " index " << c.index;
}

TEST_F(MacroTree, FolderFlagAtTheThirdLevelLeadsNowhere)
{
    // Only a stray flag can make one; it must neither take children nor hide a top-level name.
    const uint32_t ig1 = lib.ItemAt(t.g1)->key->MacroKeyIndex;
    EXPECT_TRUE(lib.NameExistsAtTarget(u"M", t.g1));
    lib.ItemAt(t.g1)->MacroItemIsFolder = 1;
    EXPECT_FALSE(lib.NameExistsAtTarget(u"M", t.g1));
    EXPECT_FALSE(lib.ContainsMacroKeyIndex(t.g1, ig1));
    lib.ItemAt(t.G)->MacroItemFolderIsOpen = 1;
    lib.ItemAt(t.F)->MacroItemFolderIsOpen = 1;
    EXPECT_EQ(lib.CountVisibleRows(), 5); // F, G, g1, m1, M
}

TEST(MacroLibrary, SixtyFirstItemIsRefused)
{
    // One full list at each level; the add must change nothing, not even the counter.
    struct Case {
        const char* list;
        int depth; // 0: top level, 1: inside a top-level folder, 2: inside a second-level folder
    } cases[] = {{"top level", 0}, {"level 1", 1}, {"level 2", 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.list);
        MacroLibrary lib;
        Loc parent = Loc::None();
        if (c.depth >= 1)
            parent = AddFolder(lib, u"outer");
        if (c.depth == 2)
            parent = AddFolder(lib, u"inner", parent);
        for (int n = 0; n < 60; ++n)
            AddMacro(lib, std::u16string{u'm', char16_t(u'A' + n)}, parent);

        const auto before = Snapshot(lib);
        const uint32_t counter = lib.NextMacroKeyIndex;
        Loc sel = parent;
        EXPECT_EQ(lib.AddMacroKey(u"extra", sel), AddResult::NotAdded);
        EXPECT_EQ(sel, parent);
        sel = parent;
        EXPECT_EQ(lib.AddFolder(u"extra", sel), AddResult::NotAdded);
        EXPECT_EQ(sel, parent);
        EXPECT_EQ(lib.NextMacroKeyIndex, counter);
        EXPECT_EQ(Snapshot(lib), before);
        // An existing name is still reported as such in a full list.
        sel = parent;
        EXPECT_EQ(lib.AddMacroKey(u"mZ", sel), AddResult::NameExists);
    }
}

TEST(MacroLibrary, DeletingTopLevelFolderMovesLaterFoldersWithTheirContents)
{
    MacroLibrary lib;
    const Loc a = AddFolder(lib, u"A");
    AddMacro(lib, u"a1", a);
    const Loc a2 = AddFolder(lib, u"A2", a);
    AddMacro(lib, u"a21", a2);
    const Loc b = AddFolder(lib, u"B");
    AddMacro(lib, u"b1", b);
    const Loc b2 = AddFolder(lib, u"B2", b);
    const Loc b21 = AddMacro(lib, u"b21", b2);
    AddMacro(lib, u"b22", b2);
    const Loc c = AddFolder(lib, u"C", Loc::None(), true);
    const Loc c1 = AddMacro(lib, u"c1", c);
    const uint32_t b21Index = lib.ItemAt(b21)->key->MacroKeyIndex;
    const uint32_t c1Index = lib.ItemAt(c1)->key->MacroKeyIndex;
    const uint32_t counter = lib.NextMacroKeyIndex;

    ASSERT_TRUE(lib.DeleteItem(a));

    const std::vector<std::string> expected = {
        "{0,0,0,0} B f1 k-",    "{0,1,0,0} C f1 k-",
        "{1,0,0,0} b1 f0 k3",   "{1,0,1,0} B2 f1 k-", "{1,1,0,0} c1 f0 k6",
        "{2,0,1,0} b21 f0 k4",  "{2,0,1,1} b22 f0 k5",
    };
    EXPECT_EQ(Snapshot(lib), expected);
    EXPECT_EQ(lib.ItemAt(Loc::Level2(0, 1, 0))->key->MacroKeyIndex, b21Index);
    EXPECT_EQ(lib.ItemAt(Loc::Level1(1, 0))->key->MacroKeyIndex, c1Index);
    EXPECT_EQ(lib.ItemAt(Loc::Level0(1))->MacroItemFolderIsOpen, 1); // flags move too
    EXPECT_EQ(lib.NextMacroKeyIndex, counter);

    // The emptied last slots take new items again.
    Loc sel = Loc::None();
    EXPECT_EQ(lib.AddFolder(u"D", sel), AddResult::Added);
    EXPECT_EQ(sel, Loc::Level0(2));
    EXPECT_EQ(lib.CountVisibleRows(), 4); // B, C (open), c1, D
}

TEST(MacroLibrary, DeletingInsideFoldersMovesOnlyThatList)
{
    MacroLibrary lib;
    const Loc f = AddFolder(lib, u"F");
    const Loc x = AddFolder(lib, u"X", f);
    AddMacro(lib, u"x1", x);
    AddMacro(lib, u"x2", x);
    AddMacro(lib, u"y", f);
    const Loc z = AddFolder(lib, u"Z", f);
    AddMacro(lib, u"z1", z);
    AddMacro(lib, u"z2", z);
    AddMacro(lib, u"z3", z);
    AddMacro(lib, u"top");

    ASSERT_TRUE(lib.DeleteItem(x)); // a second-level folder with its macros
    ASSERT_TRUE(lib.DeleteItem(Loc::Level2(0, 1, 1))); // z2, the middle of Z's list
    const std::vector<std::string> expected = {
        "{0,0,0,0} F f1 k-",   "{0,1,0,0} top f0 k7", "{1,0,0,0} y f0 k3",
        "{1,0,1,0} Z f1 k-",   "{2,0,1,0} z1 f0 k4",  "{2,0,1,1} z3 f0 k6",
    };
    EXPECT_EQ(Snapshot(lib), expected);

    // Deleting the last slot of a full list empties it without touching the others.
    MacroLibrary full;
    for (int n = 0; n < 60; ++n)
        AddMacro(full, U(std::to_string(n)));
    ASSERT_TRUE(full.DeleteItem(Loc::Level0(59)));
    EXPECT_TRUE(full.ItemAt(Loc::Level0(59))->IsFree());
    EXPECT_EQ(full.ItemAt(Loc::Level0(58))->key->MacroKeyIndex, 59u);
    EXPECT_EQ(full.CountVisibleRows(), 59);
}

TEST(MacroLibrary, MacroKeyIndexIsNeverReused)
{
    MacroLibrary lib;
    Loc sel = Loc::None();
    lib.AddMacroKey(u"A", sel);
    const Loc a = sel;
    lib.AddMacroKey(u"B", sel);
    ASSERT_TRUE(lib.DeleteItem(a));
    sel = Loc::None();
    ASSERT_EQ(lib.AddMacroKey(u"C", sel), AddResult::Added);
    EXPECT_EQ(lib.ItemAt(sel)->key->MacroKeyIndex, 3u);

    sel = Loc::None();
    lib.AddFolder(u"folders take no index", sel);
    lib.ClearLibrary();
    EXPECT_EQ(lib.NextMacroKeyIndex, 4u);
    sel = Loc::None();
    ASSERT_EQ(lib.AddMacroKey(u"A", sel), AddResult::Added);
    EXPECT_EQ(sel, Loc::Level0(0));
    EXPECT_EQ(lib.ItemAt(sel)->key->MacroKeyIndex, 4u);
}

TEST(MacroLibrary, ClosedFolderShowsOneRowOpenedShowsItsChildren)
{
    MacroLibrary lib;
    const Loc f = AddFolder(lib, u"F");
    for (char16_t n = u'1'; n <= u'5'; ++n)
        AddMacro(lib, std::u16string(u"m") + n, f);
    EXPECT_EQ(lib.CountVisibleRows(), 1);
    EXPECT_EQ(lib.LocationToRow(Loc::Level1(0, 2)), -1);
    EXPECT_EQ(lib.RowToLocation(1), Loc::None());

    lib.ItemAt(f)->MacroItemFolderIsOpen = 1;
    EXPECT_EQ(lib.CountVisibleRows(), 6);
    EXPECT_EQ(lib.LocationToRow(Loc::Level1(0, 2)), 3);
    EXPECT_EQ(lib.RowToLocation(3), Loc::Level1(0, 2));

    // Only a flag of exactly 1 opens a folder.
    lib.ItemAt(f)->MacroItemFolderIsOpen = 2;
    EXPECT_EQ(lib.CountVisibleRows(), 1);
    lib.ItemAt(f)->MacroItemFolderIsOpen = 1;
    lib.ItemAt(f)->MacroItemIsFolder = 2;
    EXPECT_EQ(lib.CountVisibleRows(), 1);
}

TEST(MacroLibrary, RowViewWalksOpenFoldersInPreOrder)
{
    MacroLibrary lib;
    const Loc f1 = AddFolder(lib, u"F1", Loc::None(), true);
    const Loc a = AddMacro(lib, u"a", f1);
    const Loc g = AddFolder(lib, u"G", f1, true);
    const Loc g1 = AddMacro(lib, u"g1", g);
    const Loc g2 = AddMacro(lib, u"g2", g);
    const Loc b = AddMacro(lib, u"b", f1);
    const Loc m = AddMacro(lib, u"M");
    const Loc f2 = AddFolder(lib, u"F2");
    const Loc c = AddMacro(lib, u"c", f2);
    const Loc f3 = AddFolder(lib, u"F3", Loc::None(), true);
    const Loc h = AddFolder(lib, u"H", f3); // closed, inside an open folder
    const Loc h1 = AddMacro(lib, u"h1", h);
    const Loc d = AddMacro(lib, u"d", f3);
    const Loc k = AddFolder(lib, u"K"); // open, inside a closed folder
    const Loc kk = AddFolder(lib, u"KK", k, true);
    const Loc kk1 = AddMacro(lib, u"kk1", kk);
    lib.ItemAt(m)->MacroItemFolderIsOpen = 1; // a macro's open flag shows nothing

    const std::vector<Loc> rows = {f1, a, g, g1, g2, b, m, f2, f3, h, d, k};
    ASSERT_EQ(lib.CountVisibleRows(), int(rows.size()));
    for (int r = 0; r < int(rows.size()); ++r) {
        EXPECT_EQ(lib.RowToLocation(r), rows[r]) << r;
        EXPECT_EQ(lib.LocationToRow(rows[r]), r) << Show(rows[r]);
    }
    for (int r : {-1, int(rows.size()), 1000, INT_MIN, INT_MAX})
        EXPECT_EQ(lib.RowToLocation(r), Loc::None()) << r;
    for (const Loc& hidden : {c, h1, kk, kk1, Loc::Level0(10), Loc::Level1(0, 3),
                              Loc::Level2(0, 1, 2), Loc::None()})
        EXPECT_EQ(lib.LocationToRow(hidden), -1) << Show(hidden);

    lib.CollapseAllFolders();
    EXPECT_EQ(lib.CountVisibleRows(), 5);
    for (const Loc& folder : {f1, g, f3, kk})
        EXPECT_EQ(lib.ItemAt(folder)->MacroItemFolderIsOpen, 0) << Show(folder);
}

TEST(MacroLibrary, LocationsOutsideTheArraysAddressNothing)
{
    MacroLibrary lib;
    const Loc f = AddFolder(lib, u"F", Loc::None(), true);
    const Loc g = AddFolder(lib, u"G", f, true);
    const uint32_t index = lib.ItemAt(AddMacro(lib, u"g1", g))->key->MacroKeyIndex;
    const auto before = Snapshot(lib);

    const Loc bad[] = {
        {3, 0, 0, 0},       {INT_MAX, 0, 0, 0},  {0, -1, 0, 0},     {0, 60, 0, 0},
        {0, INT_MIN, 0, 0}, {1, 0, -1, 0},       {1, 0, 60, 0},     {1, 60, 0, 0},
        {2, 0, 0, -1},      {2, 0, 0, 60},       {2, 0, 60, 0},     {2, -1, 0, 0},
        {2, INT_MAX, INT_MAX, INT_MAX},
    };
    for (const Loc& l : bad) {
        SCOPED_TRACE(Show(l));
        EXPECT_FALSE(l.AddressesSlot());
        EXPECT_EQ(lib.ItemAt(l), nullptr);
        EXPECT_FALSE(lib.DeleteItem(l));
        EXPECT_FALSE(lib.SetMacroItemAt(l, u"x", std::make_unique<MacroKey>(u"x")));
        EXPECT_FALSE(lib.SetFolderItemAt(l, u"x", 0));
        EXPECT_FALSE(lib.ContainsMacroKeyIndex(l, index));
        EXPECT_FALSE(lib.NameExistsAmongSiblings(u"F", l));
        EXPECT_EQ(lib.LocationToRow(l), -1);
    }
    // No location and free slots are not items either.
    for (const Loc& l : {Loc::None(), Loc{-2, 0, 0, 0}, Loc::Level0(1), Loc::Level2(0, 0, 59)})
        EXPECT_FALSE(lib.DeleteItem(l)) << Show(l);
    EXPECT_EQ(Snapshot(lib), before);

    // Indexes below the stage carry no meaning.
    EXPECT_EQ(lib.ItemAt(Loc{0, 0, 99, -5}), lib.ItemAt(f));
    EXPECT_EQ(lib.ItemAt(Loc{1, 0, 0, 77}), lib.ItemAt(g));
}

TEST(MacroLibrary, ReaderPlacementRules)
{
    MacroLibrary lib;
    auto key = [](const char16_t* name, uint32_t index) {
        auto k = std::make_unique<MacroKey>(name);
        k->MacroKeyIndex = index;
        return k;
    };
    EXPECT_TRUE(lib.SetFolderItemAt(Loc::Level0(2), u"F", 1));
    EXPECT_TRUE(lib.SetMacroItemAt(Loc::Level1(2, 0), u"m", key(u"m", 9)));
    EXPECT_TRUE(lib.SetFolderItemAt(Loc::Level1(2, 1), u"G", 5));
    EXPECT_TRUE(lib.SetMacroItemAt(Loc::Level2(2, 1, 0), u"g", key(u"g", 10)));
    EXPECT_FALSE(lib.SetFolderItemAt(Loc::Level2(2, 1, 1), u"deep", 0));
    EXPECT_FALSE(lib.SetMacroItemAt(Loc::Level0(0), u"", key(u"", 11)));
    EXPECT_FALSE(lib.SetMacroItemAt(Loc::Level0(0), u"nokey", nullptr));
    EXPECT_FALSE(lib.SetFolderItemAt(Loc::Level0(0), u"", 0));

    const MacroItem* g = lib.ItemAt(Loc::Level1(2, 1));
    EXPECT_TRUE(g->IsFolder());
    EXPECT_EQ(g->MacroItemFolderIsOpen, 5); // stored as given, shows as closed
    EXPECT_TRUE(lib.ContainsMacroKeyIndex(Loc::Level0(2), 10));
    // Lists placed with a gap in front still show their named items.
    EXPECT_EQ(lib.RowToLocation(0), Loc::Level0(2));
    EXPECT_EQ(lib.CountVisibleRows(), 3); // F, m, G

    // A folder record over a macro slot drops the macro; a macro record over a folder clears
    // both flags.
    ASSERT_TRUE(lib.SetFolderItemAt(Loc::Level1(2, 0), u"now a folder", 0));
    EXPECT_TRUE(lib.ItemAt(Loc::Level1(2, 0))->IsFolder());
    EXPECT_EQ(lib.ItemAt(Loc::Level1(2, 0))->key, nullptr);
    ASSERT_TRUE(lib.SetMacroItemAt(Loc::Level0(2), u"now a macro", key(u"now a macro", 12)));
    EXPECT_TRUE(lib.ItemAt(Loc::Level0(2))->IsMacro());
    EXPECT_EQ(lib.ItemAt(Loc::Level0(2))->MacroItemFolderIsOpen, 0);
}

TEST(MacroLibrary, ClearLibraryEmptiesEverySlotEvenWithGaps)
{
    MacroLibrary lib;
    lib.NextMacroKeyIndex = 77;
    lib.SetMacroItemAt(Loc::Level0(5), u"gap before me", std::make_unique<MacroKey>(u"x"));
    lib.SetFolderItemAt(Loc::Level1(7, 3), u"orphan", 1);
    lib.SetMacroItemAt(Loc::Level2(59, 59, 59), u"last", std::make_unique<MacroKey>(u"y"));
    ASSERT_EQ(Snapshot(lib).size(), 3u);

    lib.ClearLibrary();
    EXPECT_TRUE(Snapshot(lib).empty());
    EXPECT_EQ(lib.ItemAt(Loc::Level2(59, 59, 59))->key, nullptr);
    EXPECT_EQ(lib.ItemAt(Loc::Level1(7, 3))->MacroItemIsFolder, 0);
    EXPECT_EQ(lib.NextMacroKeyIndex, 77u);
}
