// Macro buttons in the mouse: numbering, the event format, chunking and when buffers are sent.

#include "device/macro_download.h"
#include "device/macro_encoding.h"
#include "device/setting_commands.h"

#include "data/profile_file.h"

#include "command_test_util.h"
#include "file_test_util.h"

#include <gtest/gtest.h>

#include <vector>

using namespace vexmo;
using namespace vexmo::test;

namespace {

constexpr uint8_t VkA = 0x41; // usage 0x04
constexpr uint8_t VkB = 0x42; // usage 0x05

MacroAction Press(uint8_t code) { return MacroAction::Key(code, false); }
MacroAction Release(uint8_t code) { return MacroAction::Key(code, true); }

std::unique_ptr<MacroKey> NewMacro(uint32_t identity, const std::u16string& name,
                                   const std::vector<MacroAction>& actions, uint8_t loopType = 2,
                                   uint8_t loopNum = 1)
{
    auto macro = std::make_unique<MacroKey>(name);
    macro->MacroKeyIndex = identity;
    macro->ActionCount = static_cast<uint32_t>(actions.size());
    std::copy(actions.begin(), actions.end(), macro->Actions.begin());
    macro->MacroCommandActionNum = CountCommandActions(*macro);
    macro->MacroKeyLoopType = loopType;
    macro->MacroKeyLoopNum = loopNum;
    return macro;
}

// `count` presses of alternating keys, each followed by a 10 ms delay.
std::unique_ptr<MacroKey> KeyRun(uint32_t identity, int count)
{
    std::vector<MacroAction> actions;
    for (int i = 0; i < count; ++i) {
        actions.push_back(Press(i % 2 ? VkB : VkA));
        actions.push_back(MacroAction::Delay(10));
    }
    auto macro = NewMacro(identity, u"run", {});
    macro->ActionCount = static_cast<uint32_t>(std::min<size_t>(actions.size(), MacroKey::kMaxActions));
    std::copy_n(actions.begin(), macro->ActionCount, macro->Actions.begin());
    macro->MacroCommandActionNum = CountCommandActions(*macro);
    return macro;
}

// `count` presses without any delay: up to 336 events.
std::unique_ptr<MacroKey> PressesOnly(int count)
{
    return NewMacro(1, u"presses", std::vector<MacroAction>(size_t(count), Press(VkA)));
}

// What a button holds after the macro choice dialog: name, type 0x90 and a copy of the macro.
void AssignButton(ProfileRecord& profile, int slot, const MacroKey& macro)
{
    KeySlot& s = profile.KeySlots[slot];
    s.KeyName = u"Macro " + macro.name;
    s.KeyValue = {KeyTypeMacro, 0, 0};
    s.MacroKeyIndex = macro.MacroKeyIndex;
    s.Macro = MacroKey();
    CopyMacroContent(macro, s.Macro);
    s.Macro.MacroKeyIndex = macro.MacroKeyIndex;
}

std::vector<uint8_t> Flat(const std::vector<MacroEvent>& events)
{
    std::vector<uint8_t> bytes;
    for (const MacroEvent& e : events)
        bytes.insert(bytes.end(), e.begin(), e.end());
    return bytes;
}

// A library with macros placed where a test wants them.
struct Library {
    Library() { texts.Set(DeletedMacroKeyText, u"Disabled"); }

    const MacroKey& Put(const MacroLocation& at, std::unique_ptr<MacroKey> macro)
    {
        const MacroKey& kept = *macro;
        const std::u16string name = macro->name;
        EXPECT_TRUE(library->SetMacroItemAt(at, name, std::move(macro)));
        return kept;
    }
    void Folder(const MacroLocation& at) { EXPECT_TRUE(library->SetFolderItemAt(at, u"folder", 0)); }
    CommandSources Sources() const { return {nullptr, library.get(), &texts}; }

    std::unique_ptr<MacroLibrary> library = std::make_unique<MacroLibrary>();
    LanguageTable texts;
};

// The macro chunk reports of a log: index (byte 7) and event bytes (from byte 8, byte 6 - 1 of them).
struct Download {
    uint8_t index;
    std::vector<uint8_t> events;
    friend bool operator==(const Download&, const Download&) = default;
};
std::vector<Download> Downloads(const std::vector<SimReport>& reports)
{
    std::vector<Download> out;
    for (const SimReport& r : reports) {
        if (r[2] != MacroChunkCommand)
            continue;
        if ((r[5] >> 4) == 0)
            out.push_back({r[7], {}});
        out.back().events.insert(out.back().events.end(), r.begin() + 8, r.begin() + 8 + (r[6] - 1));
    }
    return out;
}

// ---- event format ---------------------------------------------------------------------------------

TEST(MacroEvents, EachActionBecomesOneThreeByteEvent)
{
    struct Case {
        const char* what;
        MacroAction action;
        uint32_t delay;
        MacroEvent event;
    } cases[] = {
        {"key press", Press(VkA), 100, {0x30, 100, 0x04}},
        {"key release", Release(VkA), 0, {0xB0, 0, 0x04}},
        {"only bit 7 of byte 1 is the release", MacroAction::FromBytes(VkA, 0x7F, 0, 0), 0, {0x30, 0, 0x04}},
        {"delay bits 11..8 in the first byte", Press(VkA), 0x123, {0x31, 0x23, 0x04}},
        {"4095 ms", Press(VkA), 4095, {0x3F, 0xFF, 0x04}},
        {"10 000 ms is capped", Press(VkA), 10000, {0x3F, 0xFF, 0x04}},
        {"last keyboard usage", Press(0xFA), 0, {0x30, 0, 0x90}},
        {"first modifier usage", Press(0xFB), 0, {0x20, 0, 0x02}},
        {"left Ctrl", Press(0xA2), 0, {0x20, 0, 0x01}},
        {"right GUI released", Release(0x5C), 0, {0xA0, 0, 0x80}},
        {"left mouse button", Press(0xE0), 5, {0x10, 5, 0x01}},
        {"fifth mouse button released", Release(0xE4), 0, {0x90, 0, 0x10}},
        {"horizontal movement", MacroAction::Movement(0xE5, -3), 0, {0x40, 0, 0xFD}},
        {"vertical movement", MacroAction::Movement(0xE6, 7), 0, {0x50, 0, 0x07}},
        {"wheel", MacroAction::Movement(0xE7, -1), 40, {0x60, 40, 0xFF}},
        {"a code below 8 other than 3 goes as a key", MacroAction::FromBytes(5, 0, 0, 0x20), 0, {0x30, 0, 0x00}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EncodeMacroEvent(c.action, c.delay), c.event) << c.what;

    for (int usage : {0xE8, 0xEF, 0xF8, 0xFF})
        EXPECT_EQ(ClassOfUsage(uint8_t(usage)), MacroEventClass::Other) << usage;
    EXPECT_EQ(ClassOfUsage(0xE7), MacroEventClass::Modifier);
    EXPECT_EQ(ClassOfUsage(0xF4), MacroEventClass::MouseButton);
}

TEST(MacroEvents, OnlyTheDelayRightAfterAnActionCounts)
{
    struct Case {
        const char* what;
        std::vector<MacroAction> actions;
        std::vector<MacroEvent> events;
    } cases[] = {
        {"press, delay, release at the end",
         {Press(VkA), MacroAction::Delay(100), Release(VkA)},
         {{0x30, 100, 0x04}, {0xB0, 0, 0x04}}},
        {"consecutive delays: the second is dropped",
         {Press(VkA), MacroAction::Delay(50), MacroAction::Delay(70), Release(VkA)},
         {{0x30, 50, 0x04}, {0xB0, 0, 0x04}}},
        {"a long delay between two keys",
         {Press(VkA), MacroAction::Delay(10000), Press(VkB), MacroAction::Delay(1)},
         {{0x3F, 0xFF, 0x04}, {0x30, 1, 0x05}}},
        {"leading delays make no event", {MacroAction::Delay(30), Press(VkB)}, {{0x30, 0, 0x05}}},
        {"delays only", {MacroAction::Delay(30), MacroAction::Delay(40)}, {}},
    };
    for (const Case& c : cases) {
        auto macro = NewMacro(1, u"m", c.actions);
        EXPECT_EQ(MacroEvents(*macro), c.events) << c.what;
    }

    // A delay in a slot past the used actions is not the next action.
    auto macro = NewMacro(1, u"m", {Press(VkA), MacroAction::Delay(100)});
    macro->ActionCount = 1;
    EXPECT_EQ(MacroEvents(*macro), (std::vector<MacroEvent>{{0x30, 0, 0x04}}));
}

TEST(MacroEvents, BufferHeaderCountsTheEventsItHolds)
{
    auto macro = NewMacro(1, u"m", {Press(VkA), MacroAction::Delay(100), Release(VkA), MacroAction::Delay(20)});
    macro->MacroCommandActionNum = 0; // a stale stored count must not shorten the macro
    const MacroBuffer buffer = BuildMacroBuffer(*macro, 3);
    std::vector<uint8_t> expected(MacroBufferLength, 0);
    const std::vector<uint8_t> head = {9, 0x90, 3, 2, 0x30, 100, 0x04, 0xB0, 20, 0x04};
    std::copy(head.begin(), head.end(), expected.begin());
    EXPECT_EQ(std::vector<uint8_t>(buffer.begin(), buffer.end()), expected);

    // More steps than the mouse's buffer holds: the events that fit, the rest of it zero.
    auto full = PressesOnly(200);
    const MacroBuffer big = BuildMacroBuffer(*full, 1);
    EXPECT_EQ(big[3], MaxMacroEvents);
    EXPECT_EQ(big[4 + 3 * (MaxMacroEvents - 1)], 0x30);
    EXPECT_TRUE(std::all_of(big.begin() + 4 + 3 * MaxMacroEvents, big.end(), [](uint8_t b) { return b == 0; }));
}

TEST(MacroChunks, PacketFieldAndLengthOfEachChunk)
{
    struct Case {
        int events;
        std::vector<uint8_t> packets;
        std::vector<uint8_t> lengths;
    } cases[] = {
        {0, {0x01}, {1}},
        {4, {0x01}, {13}},
        {8, {0x01}, {25}},
        {9, {0x02, 0x12}, {26, 3}},
        {30, {0x04, 0x14, 0x24, 0x34}, {26, 26, 26, 16}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.events);
        const MacroBuffer buffer = BuildMacroBuffer(*KeyRun(1, c.events), 5);
        const auto chunks = MacroChunks(buffer);
        std::vector<uint8_t> packets, lengths, carried;
        for (const MacroChunk& chunk : chunks) {
            packets.push_back(chunk.packet);
            lengths.push_back(chunk.length);
            EXPECT_EQ(chunk.data[0], 5);
            carried.insert(carried.end(), chunk.data.begin() + 1, chunk.data.end());
        }
        EXPECT_EQ(packets, c.packets);
        EXPECT_EQ(lengths, c.lengths);
        // Every chunk carries the next 25 bytes after the header, the events and then zeros.
        EXPECT_EQ(carried, std::vector<uint8_t>(buffer.begin() + 4, buffer.begin() + 4 + carried.size()));
    }

    // Beyond 15 chunks only the low four bits of index and count go out.
    const auto chunks = MacroChunks(BuildMacroBuffer(*PressesOnly(200), 1));
    ASSERT_EQ(chunks.size(), 21u); // 169 events, 507 bytes
    EXPECT_EQ(chunks[15].packet, 0xF5);
    EXPECT_EQ(chunks[16].packet, 0x05);
    EXPECT_EQ(chunks[20].packet, 0x45);
    EXPECT_EQ(chunks[20].length, 8);
}

// ---- numbering ------------------------------------------------------------------------------------

TEST(MacroNumbering, LibraryIsSearchedTopLevelFirstUpToEachListsFirstGap)
{
    Library lib;
    lib.Folder(MacroLocation::Level0(0));
    lib.Put(MacroLocation::Level1(0, 0), NewMacro(7, u"deep", {}));
    lib.Put(MacroLocation::Level0(1), NewMacro(7, u"top", {})); // the same identity, on top
    lib.Folder(MacroLocation::Level1(0, 1));
    lib.Put(MacroLocation::Level2(0, 1, 0), NewMacro(8, u"bottom", {}));
    lib.Folder(MacroLocation::Level0(2));
    lib.Put(MacroLocation::Level1(2, 0), NewMacro(9, u"second", {}));
    lib.Put(MacroLocation::Level0(4), NewMacro(10, u"after a gap", {}));
    lib.Put(MacroLocation::Level1(2, 2), NewMacro(11, u"after a gap below", {}));

    EXPECT_EQ(FindLibraryMacro(*lib.library, 7), MacroLocation::Level0(1));
    EXPECT_EQ(FindLibraryMacro(*lib.library, 8), MacroLocation::Level2(0, 1, 0));
    EXPECT_EQ(FindLibraryMacro(*lib.library, 9), MacroLocation::Level1(2, 0));
    EXPECT_TRUE(FindLibraryMacro(*lib.library, 10).IsNone());
    EXPECT_TRUE(FindLibraryMacro(*lib.library, 11).IsNone());
    EXPECT_TRUE(FindLibraryMacro(*lib.library, 12).IsNone());
}

TEST(MacroNumbering, KeyValueCarriesIndexAndLoopFromTheLibrary)
{
    struct Case {
        uint8_t loopType, loopNum, p1, p2;
    } cases[] = {{1, 3, 0x11, 0}, {2, 5, 0x21, 5}, {4, 9, 0x41, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.loopType));
        Library lib;
        const MacroKey& m = lib.Put(MacroLocation::Level0(0), NewMacro(4, u"m", {Press(VkA)}, c.loopType, c.loopNum));
        auto profile = DefaultProfile();
        AssignButton(*profile, 2, m);
        DeviceCaches caches;
        AssignDownloadIndexes(*profile, caches, *lib.library, lib.texts);
        EXPECT_EQ(profile->KeySlots[2].KeyValue, (ByteTriple{0x90, c.p1, c.p2}));
    }
}

TEST(MacroNumbering, ButtonsShareAnIndexPerMacroAndEachIndexIsSentOnce)
{
    Library lib;
    const MacroKey& a = lib.Put(MacroLocation::Level0(0),
                                NewMacro(1, u"A", {Press(VkA), MacroAction::Delay(100), Release(VkA)}));
    lib.Folder(MacroLocation::Level0(1));
    const MacroKey& b = lib.Put(MacroLocation::Level1(1, 0), NewMacro(2, u"B", {Press(VkB), Release(VkB)}, 4));
    CommandRig rig;
    DeviceCaches caches;
    auto profile = DefaultProfile();
    SyncDeviceCaches(rig.link, caches, *profile, lib.Sources());
    rig.Clear();

    AssignButton(*profile, 0, a);
    AssignButton(*profile, 2, b);
    AssignButton(*profile, 4, a);
    DirtyGroups dirty;
    dirty.KeysDirty = 1;
    EXPECT_TRUE(ApplyDirtyGroups(rig.link, caches, *profile, dirty, lib.Sources()));

    EXPECT_EQ(caches.DownloadIndexes.IndexOf(MacroLocation::Level0(0)), 1);
    EXPECT_EQ(caches.DownloadIndexes.IndexOf(MacroLocation::Level1(1, 0)), 2);
    EXPECT_EQ(caches.DownloadIndexes.Count(), 2u);
    // Key slot 4 is device slot 3. Then one download per index; the third macro button finds its
    // index's buffer unchanged and only pauses.
    EXPECT_EQ(rig.steps, (Steps{"0x04", "w60", "w60", "0x04", "w60", "0x04", "w60", "w60", "w60", //
                                "0x0E", "w60", "w60", "0x0E", "w60", "w60", "w60"}));
    const auto reports = rig.Reports();
    EXPECT_EQ(reports[0], ExpectedReport(0x04, 0, 1, 4, {0, 0x90, 0x21, 1}));
    EXPECT_EQ(reports[1], ExpectedReport(0x04, 1, 1, 4, {2, 0x90, 0x42, 0}));
    EXPECT_EQ(reports[2], ExpectedReport(0x04, 2, 1, 4, {3, 0x90, 0x21, 1}));
    EXPECT_EQ(reports[3], ExpectedReport(0x0E, 3, 0x01, 7, {1, 0x30, 100, 0x04, 0xB0, 0, 0x04}));
    EXPECT_EQ(reports[4], ExpectedReport(0x0E, 4, 0x01, 7, {2, 0x30, 0, 0x05, 0xB0, 0, 0x05}));
    EXPECT_EQ(rig.link.WrittenFlag, 1);
}

TEST(MacroNumbering, MovingAMacroToALaterButtonSwapsTheIndexesAndSendsBoth)
{
    Library lib;
    const MacroKey& a = lib.Put(MacroLocation::Level0(0), NewMacro(1, u"A", {Press(VkA), Release(VkA)}));
    const MacroKey& b = lib.Put(MacroLocation::Level0(1), NewMacro(2, u"B", {Press(VkB)}));
    CommandRig rig;
    DeviceCaches caches;
    auto profile = DefaultProfile();
    AssignButton(*profile, 0, a);
    AssignButton(*profile, 1, b);
    DirtyGroups dirty = DirtyGroups::All();
    ApplyDirtyGroups(rig.link, caches, *profile, dirty, lib.Sources());
    EXPECT_EQ(Downloads(rig.Reports()), (std::vector<Download>{{1, Flat(MacroEvents(a))}, {2, Flat(MacroEvents(b))}}));

    rig.Clear();
    profile->KeySlots[0].KeyValue = {0x10, 0x01, 0};
    AssignButton(*profile, 2, a);
    dirty = DirtyGroups::All();
    ApplyDirtyGroups(rig.link, caches, *profile, dirty, lib.Sources());
    EXPECT_EQ(profile->KeySlots[1].KeyValue[1] & 0x0F, 1);
    EXPECT_EQ(profile->KeySlots[2].KeyValue[1] & 0x0F, 2);
    EXPECT_EQ(Downloads(rig.Reports()), (std::vector<Download>{{1, Flat(MacroEvents(b))}, {2, Flat(MacroEvents(a))}}));

    // Nothing moved: the same content lands on the same index and nothing is sent.
    rig.Clear();
    dirty = DirtyGroups::All();
    EXPECT_FALSE(ApplyDirtyGroups(rig.link, caches, *profile, dirty, lib.Sources()));
    EXPECT_TRUE(rig.Reports().empty());
}

TEST(MacroNumbering, DifferingCopiesOfOneMacroGetTheirOwnIndexes)
{
    // Button 1 kept its copy from before the library macro was edited; button 2 took the
    // edited one. Each must play its own copy, and nothing is sent again once both are in.
    Library lib;
    const MacroKey& edited = lib.Put(MacroLocation::Level0(0), NewMacro(3, u"m", {Press(VkB)}));
    auto before = NewMacro(3, u"m", {Press(VkA), Release(VkA)});
    CommandRig rig;
    DeviceCaches caches;
    auto profile = DefaultProfile();
    AssignButton(*profile, 0, *before);
    AssignButton(*profile, 1, edited);
    AssignButton(*profile, 2, *before);

    DirtyGroups none;
    ApplyDirtyGroups(rig.link, caches, *profile, none, lib.Sources());
    EXPECT_EQ(profile->KeySlots[0].KeyValue[1], 0x21);
    EXPECT_EQ(profile->KeySlots[1].KeyValue[1], 0x22);
    EXPECT_EQ(profile->KeySlots[2].KeyValue[1], 0x21);
    EXPECT_EQ(Downloads(rig.Reports()),
              (std::vector<Download>{{1, Flat(MacroEvents(*before))}, {2, Flat(MacroEvents(edited))}}));

    rig.Clear();
    EXPECT_FALSE(ApplyDirtyGroups(rig.link, caches, *profile, none, lib.Sources()));
    EXPECT_TRUE(rig.Reports().empty());
}

TEST(MacroNumbering, ButtonWhoseMacroLeftTheLibraryIsDisabledAndWrittenSo)
{
    Library lib;
    auto gone = NewMacro(99, u"gone", {Press(VkA)});
    CommandRig rig;
    DeviceCaches caches;
    auto profile = DefaultProfile();
    SyncDeviceCaches(rig.link, caches, *profile, lib.Sources());
    AssignButton(*profile, 3, *gone);
    rig.Clear();

    DirtyGroups dirty;
    dirty.KeysDirty = 1;
    ApplyDirtyGroups(rig.link, caches, *profile, dirty, lib.Sources());
    EXPECT_EQ(profile->KeySlots[3].KeyName, u"Disabled");
    EXPECT_EQ(profile->KeySlots[3].KeyValue, (ByteTriple{0, 0, 0}));
    // Key slot 3 is device slot 4; no download for a disabled button.
    EXPECT_EQ(rig.steps, (Steps{"w60", "w60", "w60", "w60", "0x04", "w60", "w60"}));
    EXPECT_EQ(rig.Reports()[0], ExpectedReport(0x04, 0, 1, 4, {4, 0, 0, 0}));
}

TEST(MacroNumbering, RefreshPendingCopiesTheLibraryMacroOnceIntoEveryButton)
{
    Library lib;
    auto old = NewMacro(5, u"old", {Press(VkA)});
    const MacroKey& edited = lib.Put(MacroLocation::Level0(0),
                                     NewMacro(5, u"edited", {Press(VkB), MacroAction::Delay(7), Release(VkB)}));
    auto profile = DefaultProfile();
    AssignButton(*profile, 0, *old);
    AssignButton(*profile, 5, *old);
    DeviceCaches caches;

    // Without the flag each button keeps (and would download) its own copy.
    AssignDownloadIndexes(*profile, caches, *lib.library, lib.texts);
    EXPECT_EQ(profile->KeySlots[0].Macro, profile->KeySlots[5].Macro);
    EXPECT_EQ(profile->KeySlots[0].Macro.name, u"old");

    caches.MacroRefreshPending = 1;
    AssignDownloadIndexes(*profile, caches, *lib.library, lib.texts);
    EXPECT_EQ(caches.MacroRefreshPending, 0);
    for (int slot : {0, 5}) {
        EXPECT_EQ(profile->KeySlots[slot].Macro, edited) << slot;
        EXPECT_EQ(profile->KeySlots[slot].KeyName, u"Macro old") << slot; // the name shown stays
    }
}

// ---- download -------------------------------------------------------------------------------------

TEST(MacroDownload, PrimingAndAbsentMouseKeepTheBuffersAndPaceWithoutSending)
{
    Library lib;
    const MacroKey& m = lib.Put(MacroLocation::Level0(0), NewMacro(1, u"m", {Press(VkA)}));
    auto profile = DefaultProfile();
    AssignButton(*profile, 1, m);
    AssignButton(*profile, 4, *NewMacro(2, u"gone", {Press(VkB)})); // disabled by the numbering

    // Priming: a pause per macro button, nothing built into a report.
    CommandRig rig(false);
    DeviceCaches caches;
    SyncDeviceCaches(rig.link, caches, *profile, lib.Sources());
    EXPECT_EQ(rig.steps, Steps{"w60"});
    EXPECT_EQ(rig.link.SequenceNumber, 0);

    // A change while the mouse is away: chunks are paced and numbered but go nowhere.
    rig.Clear();
    CopyMacroContent(*KeyRun(1, 30), profile->KeySlots[1].Macro);
    DownloadMacros(rig.link, caches, *profile, true);
    EXPECT_EQ(rig.steps, (Steps{"w60", "w60", "w60", "w60", "w60"}));
    EXPECT_EQ(rig.link.SequenceNumber, 4);
    EXPECT_EQ(rig.link.WrittenFlag, 0);

    // Back again: the buffer already holds it, so it is not sent.
    rig.Clear();
    rig.Connect();
    DirtyGroups none;
    EXPECT_FALSE(ApplyDirtyGroups(rig.link, caches, *profile, none, lib.Sources()));
    EXPECT_TRUE(rig.Reports().empty());
    EXPECT_EQ(rig.steps, Steps{"w60"});
}

TEST(MacroDownload, ThirtyActionsGoInFourChunks)
{
    Library lib;
    const MacroKey& m = lib.Put(MacroLocation::Level0(0), KeyRun(3, 30));
    CommandRig rig;
    DeviceCaches caches;
    auto profile = DefaultProfile();
    AssignButton(*profile, 0, m);
    DirtyGroups none;
    ApplyDirtyGroups(rig.link, caches, *profile, none, lib.Sources());

    EXPECT_EQ(rig.steps, (Steps{"0x0E", "w60", "0x0E", "w60", "0x0E", "w60", "0x0E", "w60", "w60"}));
    const auto reports = rig.Reports();
    const uint8_t packets[] = {0x04, 0x14, 0x24, 0x34};
    const uint8_t lengths[] = {26, 26, 26, 16};
    for (size_t c = 0; c < 4; ++c) {
        EXPECT_EQ(reports[c][5], packets[c]);
        EXPECT_EQ(reports[c][6], lengths[c]);
        EXPECT_EQ(reports[c][7], 1);
    }
    EXPECT_EQ(Downloads(reports), (std::vector<Download>{{1, Flat(MacroEvents(m))}}));
}

// After a restart a button's macro comes from the profile file, which does not store the
// number of non-delay actions; a profile switch then numbers it without refreshing from the
// library. Whatever the way the button got its macro, the mouse must get all of it.
TEST(MacroDownload, WholeMacroIsSentHoweverTheButtonGotIt)
{
    const std::vector<MacroAction> actions = {Press(VkA), MacroAction::Delay(100), Release(VkA),
                                              MacroAction::Delay(20), Press(VkB), Release(VkB)};
    const std::vector<Download> whole = {
        {1, {0x30, 100, 0x04, 0xB0, 20, 0x04, 0x30, 0, 0x05, 0xB0, 0, 0x05}}};

    Library lib;
    const MacroKey& m = lib.Put(MacroLocation::Level0(0), NewMacro(6, u"m", actions));
    TempFolder folder;

    enum class Way { FromProfileFile, StaleCountRefreshed, StaleCountCopied };
    for (Way way : {Way::FromProfileFile, Way::StaleCountRefreshed, Way::StaleCountCopied}) {
        SCOPED_TRACE(int(way));
        CommandRig rig;
        DeviceCaches caches;
        // At start the mouse holds the profile in use, which has no macro buttons.
        auto current = DefaultProfile(0);
        SyncDeviceCaches(rig.link, caches, *current, lib.Sources());

        auto next = DefaultProfile(1);
        if (way == Way::FromProfileFile) {
            auto saved = DefaultProfile(1);
            AssignButton(*saved, 3, m);
            const std::u16string path = U16(folder / "default1.psf");
            ASSERT_TRUE(WriteProfileRecord(*saved, path));
            ASSERT_TRUE(ReadProfileRecord(*next, path));
        } else {
            auto stale = NewMacro(6, u"m", actions);
            stale->MacroCommandActionNum = 0; // as a library file could have it
            AssignButton(*next, 3, *stale);
            caches.MacroRefreshPending = way == Way::StaleCountRefreshed ? 1 : 0;
            if (way == Way::StaleCountRefreshed)
                lib.library->ItemAt(MacroLocation::Level0(0))->key->MacroCommandActionNum = 0;
        }

        rig.Clear();
        DirtyGroups dirty = DirtyGroups::All();
        ApplyDirtyGroups(rig.link, caches, *next, dirty, lib.Sources());
        EXPECT_EQ(Downloads(rig.Reports()), whole);
        lib.library->ItemAt(MacroLocation::Level0(0))->key->MacroCommandActionNum = 4;
    }
}

} // namespace
