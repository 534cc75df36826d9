#include "macros/macro_types.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

using namespace vexmo;

namespace {

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
