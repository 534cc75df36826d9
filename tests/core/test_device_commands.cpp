// Setting blocks as the mouse receives them, and the writers that send only what changed.

#include "device/command_encoding.h"
#include "device/report_capture.h"
#include "device/setting_commands.h"

#include "command_test_util.h"

#include <gtest/gtest.h>

#include <vector>

using namespace vexmo;
using namespace vexmo::test;

namespace {

std::vector<uint8_t> Bytes(std::initializer_list<int> list)
{
    std::vector<uint8_t> bytes;
    for (int b : list)
        bytes.push_back(static_cast<uint8_t>(b));
    return bytes;
}

template <std::size_t N> std::vector<uint8_t> Bytes(const std::array<uint8_t, N>& a)
{
    return std::vector<uint8_t>(a.begin(), a.end());
}

// ---- encodings ----------------------------------------------------------------------------------

TEST(CommandEncoding, KeyBlockSendsKeySlotFourAsDeviceSlotThree)
{
    auto profile = DefaultProfile();
    for (int s = 0; s < kKeySlotCount; ++s)
        profile->KeySlots[s].KeyValue = {uint8_t(0x10 * (s + 1)), uint8_t(s), uint8_t(0xA0 + s)};

    EXPECT_EQ(Bytes(EncodeKeyBlock(*profile)),
              Bytes({0x0C, 0x71, 0x10, 0, 0xA0, 0x20, 1, 0xA1, 0x30, 2, 0xA2, //
                     0x50, 4, 0xA4, 0x40, 3, 0xA3, 0x60, 5, 0xA5}));
    for (int slot : {0, 1, 2, 5})
        EXPECT_EQ(KeySlotOfDeviceSlot(slot), slot);
    EXPECT_EQ(KeySlotOfDeviceSlot(3), 4);
    EXPECT_EQ(KeySlotOfDeviceSlot(4), 3);
}

TEST(CommandEncoding, DpiBlockCountsEnabledLevelsAndSendsCodesOfTheFirstSix)
{
    struct Case {
        uint8_t flags, level, byte0;
    } cases[] = {
        {0x3F, 1, 0x26}, // the defaults
        {0xFF, 0, 0x18},
        {0x00, 7, 0x80},
        {0x81, 2, 0x32},
    };
    DpiTables tables;
    ASSERT_TRUE(tables.Rebuild(0x3395)); // code = step, wider than a byte
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "flags " << int(c.flags) << " level " << int(c.level));
        auto profile = DefaultProfile();
        profile->DPIOffOnFlagValue = c.flags;
        profile->CurrentDPILevelValue = c.level;
        profile->XYSettingValue = {7, 300, 15, 31, 99, 519, 400, 401};
        EXPECT_EQ(Bytes(EncodeDpiBlock(*profile, tables)),
                  Bytes({c.byte0, c.flags, 7, 0, 0x2C, 1, 15, 0, 31, 0, 99, 0, 0x07, 2, //
                         0, 0, 0, 0}));
    }
    // The codes are those of the sensor's table: one above the step for 0x3212.
    auto profile = DefaultProfile();
    profile->XYSettingValue = {6, 10, 14, 22, 25, 41, 12, 12};
    const DpiBlock block = EncodeDpiBlock(*profile, DpiTables{});
    EXPECT_EQ(std::vector<uint8_t>(block.begin() + 2, block.begin() + 14),
              Bytes({7, 0, 11, 0, 15, 0, 23, 0, 26, 0, 42, 0}));
}

TEST(CommandEncoding, ColoursGoRedGreenBlue)
{
    auto profile = DefaultProfile();
    for (int i = 0; i < kDpiLevelCount; ++i)
        profile->DPILevelIndicationValuer[i] = MakeColour(uint8_t(i), uint8_t(0x10 + i), uint8_t(0x20 + i));
    profile->DPILevelIndicationValuer[7] = 0xFF123456; // the unused top byte is not sent
    std::vector<uint8_t> expected;
    for (int i = 0; i < 7; ++i)
        expected.insert(expected.end(), {uint8_t(i), uint8_t(0x10 + i), uint8_t(0x20 + i)});
    expected.insert(expected.end(), {0x56, 0x34, 0x12});
    EXPECT_EQ(Bytes(EncodeColourBlock(*profile)), expected);
}

TEST(CommandEncoding, SingleByteSettings)
{
    auto profile = DefaultProfile();
    for (auto [choice, interval] : {std::pair{0, 8}, {1, 4}, {2, 2}, {3, 1}, {200, 1}}) {
        profile->PollingRateValue[0] = uint8_t(choice);
        EXPECT_EQ(EncodePollingByte(*profile), interval) << "choice " << choice;
    }
    for (auto [height, sent] : {std::pair{u"0", 2}, {u"1", 1}, {u"2", 2}, {u"", 2}, {u"x", 2}}) {
        profile->TextSettings[kTextLiftDetectionHeight].value = height;
        EXPECT_EQ(EncodeLiftOffByte(*profile), sent);
    }
    // Decimal texts cut to a byte; what is not a number is 0.
    for (auto [text, value] : {std::pair{u"12", 12}, {u"300", 44}, {u"abc", 0}, {u"7ms", 7}}) {
        profile->TextSettings[kTextKeyDebounce].value = text;
        EXPECT_EQ(EncodeDebounceByte(*profile), value);
    }
    SetPowerDownTime(*profile, 9);
    SetTextSettingValue(*profile, kTextMoveLightingOnOffMode, 1);
    EXPECT_EQ(Bytes(EncodePowerPair(*profile)), Bytes({9, 1}));
    SetMotionWakeup(*profile, 0);
    EXPECT_EQ(EncodeWakeupByte(*profile), 0);
    SetMotionWakeup(*profile, 5);
    EXPECT_EQ(EncodeWakeupByte(*profile), 1);
}

// Every effect's entries filled with recognisable data, so that a block taking bytes of the
// wrong effect, position or array shows.
LightingZones BusyLighting()
{
    LightingZones z;
    for (int m = 0; m < kLightingEffectCount; ++m) {
        z.Lighting1Speed[m] = uint8_t(m);
        z.Lighting1Brightness[m] = uint8_t(9 - m);
        z.Lighting1Direction[m] = uint8_t(0x70 + m);
        for (int j = 0; j < kLightingColourPositions; ++j) {
            z.Lighting1ColorSelected[m][j] = 1;
            z.Lighting1FixedColor[m][j] = MakeColour(uint8_t(0x10 * m + j), uint8_t(0xA0 + j), uint8_t(m));
        }
    }
    z.Lighting2Speed = 0x55;
    z.Lighting2Brightness = 0x66;
    z.Lighting2FixedColor = 0x777777;
    return z;
}

std::vector<uint8_t> Colour3(Colour c) { return {ColourRed(c), ColourGreen(c), ColourBlue(c)}; }

TEST(CommandEncoding, LightingBlockOfEveryMode)
{
    // Expected block bytes 0 .. L; everything after them must be zero.
    auto expect = [](const LightingZones& z, std::vector<uint8_t> head) {
        const LightingBlock block = EncodeLightingBlock(z);
        std::vector<uint8_t> full(LightingBlockLength, 0);
        std::copy(head.begin(), head.end(), full.begin());
        EXPECT_EQ(Bytes(block), full);
    };
    auto speedByte = [](int m) { return uint8_t(((9 - m + 1) << 4) | ((m + 1) & 0x0F)); };

    for (int m : {0, 4, 5, 8, 9}) {
        SCOPED_TRACE(m);
        LightingZones z = BusyLighting();
        z.Lighting1ModeValue = {uint8_t(m), 0x33, 0x44};
        expect(z, {2, uint8_t(m), speedByte(m)});
    }
    {
        SCOPED_TRACE("mode 1: direction");
        LightingZones z = BusyLighting();
        z.Lighting1ModeValue[0] = 1;
        expect(z, {3, 1, speedByte(1), 0x71});
    }
    {
        SCOPED_TRACE("mode 2: list of the colours in use, black ones left out");
        LightingZones z = BusyLighting();
        z.Lighting1ModeValue[0] = 2;
        z.Lighting1ColorSelected[2] = {1, 0, 0, 1, 0, 1, 0, 1, 1, 1}; // 7..9 are never looked at
        z.Lighting1ColorSelected[2][1] = 1;
        z.Lighting1FixedColor[2][1] = 0; // in use, but black
        std::vector<uint8_t> head = {12, 2, speedByte(2), 3};
        for (int j : {0, 3, 5}) {
            auto c = Colour3(z.Lighting1FixedColor[2][j]);
            head.insert(head.end(), c.begin(), c.end());
        }
        expect(z, head);
        // All seven in use: 3 + 21 bytes.
        z = BusyLighting();
        z.Lighting1ModeValue[0] = 2;
        EXPECT_EQ(EncodeLightingBlock(z)[0], 24);
        EXPECT_EQ(EncodeLightingBlock(z)[3], 7);
    }
    {
        SCOPED_TRACE("mode 3: the first colour, in use or not");
        LightingZones z = BusyLighting();
        z.Lighting1ModeValue[0] = 3;
        z.Lighting1ColorSelected[3][0] = 0;
        std::vector<uint8_t> head = {5, 3, speedByte(3)};
        auto c = Colour3(z.Lighting1FixedColor[3][0]);
        head.insert(head.end(), c.begin(), c.end());
        expect(z, head);
    }
    {
        SCOPED_TRACE("mode 6: seven fixed fields");
        LightingZones z = BusyLighting();
        z.Lighting1ModeValue[0] = 6;
        z.Lighting1ColorSelected[6] = {};
        expect(z, {23, 6, speedByte(6)}); // nothing in use: 21 zero bytes
        z.Lighting1ColorSelected[6] = {1, 0, 0, 0, 0, 0, 1, 1, 1, 1};
        std::vector<uint8_t> head = {23, 6, speedByte(6)};
        auto first = Colour3(z.Lighting1FixedColor[6][0]);
        auto last = Colour3(z.Lighting1FixedColor[6][6]);
        head.insert(head.end(), first.begin(), first.end());
        head.insert(head.end(), 15, 0);
        head.insert(head.end(), last.begin(), last.end());
        expect(z, head);
    }
    {
        SCOPED_TRACE("mode 7: two fixed fields");
        LightingZones z = BusyLighting();
        z.Lighting1ModeValue[0] = 7;
        z.Lighting1ColorSelected[7][0] = 0;
        std::vector<uint8_t> head = {8, 7, speedByte(7), 0, 0, 0};
        auto second = Colour3(z.Lighting1FixedColor[7][1]);
        head.insert(head.end(), second.begin(), second.end());
        expect(z, head);
    }
}

TEST(CommandEncoding, SpeedAndBrightnessShareOneByte)
{
    LightingZones z{};
    z.Lighting1ModeValue[0] = 0;
    for (auto [speed, brightness, byte] :
         {std::tuple{0, 0, 0x11}, {1, 3, 0x42}, {15, 2, 0x30}, {14, 15, 0x0F}}) {
        z.Lighting1Speed[0] = uint8_t(speed);
        z.Lighting1Brightness[0] = uint8_t(brightness);
        EXPECT_EQ(EncodeLightingBlock(z)[2], byte) << speed << ", " << brightness;
    }
}

TEST(CommandEncoding, ModesWithoutTableEntriesReadNothingPastTheTables)
{
    for (int m : {10, 11, 128, 255}) {
        SCOPED_TRACE(m);
        LightingZones z = BusyLighting();
        z.Lighting1ModeValue[0] = uint8_t(m);
        std::vector<uint8_t> expected(LightingBlockLength, 0);
        expected[1] = uint8_t(m);
        expected[2] = 0x11; // speed and brightness taken as 0
        EXPECT_EQ(Bytes(EncodeLightingBlock(z)), expected);
    }
}

// ---- writers ------------------------------------------------------------------------------------

const Steps SixPauses = {"w60", "w60", "w60", "w60", "w60", "w60"};

TEST(SettingWriters, OnlyTheChangedDeviceSlotIsSentButEverySlotPauses)
{
    struct Case {
        int keySlot;
        uint8_t deviceSlot;
    } cases[] = {{0, 0}, {3, 4}, {4, 3}, {5, 5}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keySlot);
        CommandRig rig;
        DeviceCaches caches;
        auto profile = DefaultProfile();
        SyncDeviceCaches(rig.link, caches, *profile);
        rig.Clear();
        rig.link.SequenceNumber = 0x41;

        profile->KeySlots[c.keySlot].KeyValue = {0x70, 0x02, 0x04}; // Shift+A
        WriteKeyAssignments(rig.link, caches.Sent, *profile);

        Steps expected = SixPauses;
        expected.insert(expected.begin() + c.deviceSlot, "0x04");
        EXPECT_EQ(rig.steps, expected);
        ASSERT_EQ(rig.Reports().size(), 1u);
        EXPECT_EQ(rig.Reports()[0], ExpectedReport(0x04, 0x41, 0x01, 4, {c.deviceSlot, 0x70, 0x02, 0x04}));
        EXPECT_EQ(rig.link.WrittenFlag, 1);
        EXPECT_EQ(rig.link.SequenceNumber, 0x42);

        // Nothing changed: still the six pauses, nothing sent.
        rig.Clear();
        rig.link.WrittenFlag = 0;
        WriteKeyAssignments(rig.link, caches.Sent, *profile);
        EXPECT_EQ(rig.steps, SixPauses);
        EXPECT_EQ(rig.link.WrittenFlag, 0);
    }
}

TEST(SettingWriters, SettingsGoInTheirOrderWithTheirLayouts)
{
    CommandRig rig;
    SentCache cache; // nothing sent yet: every block differs from the zeros
    auto profile = DefaultProfile();
    profile->XYSettingValue = {6, 10, 14, 22, 25, 41, 12, 12};
    profile->LightingSettings.Lighting1ModeValue[0] = 3;
    SetKeyDebounce(*profile, 6);
    SetLiftDetectionHeight(*profile, 1);
    profile->PollingRateValue[0] = 0;
    DpiTables tables; // 0x3212

    WriteSettings(rig.link, cache, *profile, tables);

    EXPECT_EQ(rig.steps, (Steps{"0x05", "w60", "0x06", "w60", "0x07", "w60", "0x09", "w60",
                                "0x0A", "w60", "0x08", "w60"}));
    const auto reports = rig.Reports();
    ASSERT_EQ(reports.size(), 6u);
    EXPECT_EQ(reports[0], ExpectedReport(0x05, 0, 1, 18,
                                         {0x26, 0x3F, 7, 0, 11, 0, 15, 0, 23, 0, 26, 0, 42, 0}));
    EXPECT_EQ(reports[1], ExpectedReport(0x06, 1, 1, 24,
                                         {0xFF, 0, 0, 0, 0xFF, 0, 0, 0, 0xFF, 0xFF, 0, 0xFF, //
                                          0xFF, 0xFF, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(reports[2], ExpectedReport(0x07, 2, 1, 1, {8}));
    EXPECT_EQ(reports[3], ExpectedReport(0x09, 3, 1, 2, {1, 0}));
    EXPECT_EQ(reports[4], ExpectedReport(0x0A, 4, 1, 1, {6}));
    // Default effect 3: brightness 3, speed 1, colour 0xFF00FF.
    EXPECT_EQ(reports[5], ExpectedReport(0x08, 5, 1, 5, {3, 0x42, 0xFF, 0x00, 0xFF}));
    EXPECT_EQ(rig.link.WrittenFlag, 1);

    WritePowerSettings(rig.link, cache, *profile);
    WriteMotionWakeup(rig.link, cache, *profile);
    EXPECT_EQ(rig.Reports().size(), 8u);

    // The same settings once more: nothing to send, no pause.
    rig.Clear();
    WriteSettings(rig.link, cache, *profile, tables);
    WritePowerSettings(rig.link, cache, *profile);
    WriteMotionWakeup(rig.link, cache, *profile);
    EXPECT_TRUE(rig.steps.empty());
}

TEST(SettingWriters, LightingModeWithoutTableEntriesStillCarriesModeAndSpeedByte)
{
    CommandRig rig;
    DeviceCaches caches;
    auto profile = DefaultProfile();
    SyncDeviceCaches(rig.link, caches, *profile, {});
    rig.Clear();

    profile->LightingSettings.Lighting1ModeValue[0] = 12;
    WriteSettings(rig.link, caches.Sent, *profile);
    ASSERT_EQ(rig.Reports().size(), 1u);
    EXPECT_EQ(rig.Reports()[0], ExpectedReport(0x08, 0, 1, 0, {12, 0x11}));
    // Another such mode is a change the mouse is told about, although L stays 0.
    profile->LightingSettings.Lighting1ModeValue[0] = 13;
    WriteSettings(rig.link, caches.Sent, *profile);
    ASSERT_EQ(rig.Reports().size(), 2u);
    EXPECT_EQ(rig.Reports()[1], ExpectedReport(0x08, 1, 1, 0, {13, 0x11}));
}

TEST(SettingWriters, PowerAndWakeupEachSendOneReport)
{
    CommandRig rig;
    DeviceCaches caches;
    auto profile = DefaultProfile();
    SyncDeviceCaches(rig.link, caches, *profile);
    rig.Clear();

    SetTextSettingValue(*profile, kTextMoveLightingOnOffMode, 1); // only the second byte
    WritePowerSettings(rig.link, caches.Sent, *profile);
    SetMotionWakeup(*profile, 0);
    WriteMotionWakeup(rig.link, caches.Sent, *profile);

    EXPECT_EQ(rig.steps, (Steps{"0x0B", "w60", "0x0C", "w60"}));
    EXPECT_EQ(rig.Reports()[0], ExpectedReport(0x0B, 0, 1, 2, {6, 1}));
    EXPECT_EQ(rig.Reports()[1], ExpectedReport(0x0C, 1, 1, 1, {0}));
}

TEST(SettingWriters, WithoutAHandleNothingIsSentAndTheSentCopiesStay)
{
    CommandRig rig(false);
    DeviceCaches caches;
    auto before = DefaultProfile();
    SyncDeviceCaches(rig.link, caches, *before);
    const auto synced = std::make_unique<SentCache>(caches.Sent);

    auto profile = DefaultProfile();
    profile->KeySlots[1].KeyValue = {0x00, 0, 0};
    profile->PollingRateValue[0] = 3;
    SetPowerDownTime(*profile, 1);
    SetMotionWakeup(*profile, 0);
    WriteKeyAssignments(rig.link, caches.Sent, *profile);
    WriteSettings(rig.link, caches.Sent, *profile);
    WritePowerSettings(rig.link, caches.Sent, *profile);
    WriteMotionWakeup(rig.link, caches.Sent, *profile);

    EXPECT_TRUE(rig.steps.empty()); // not even the pauses
    EXPECT_TRUE(rig.Reports().empty());
    EXPECT_EQ(rig.link.WrittenFlag, 0);
    EXPECT_EQ(rig.link.SequenceNumber, 0);
    EXPECT_EQ(caches.Sent.KeyBlock.Sent, synced->KeyBlock.Sent);
    EXPECT_EQ(caches.Sent.PollingByte.Sent, synced->PollingByte.Sent);
    EXPECT_EQ(caches.Sent.PowerPair.Sent, synced->PowerPair.Sent);
    EXPECT_EQ(caches.Sent.WakeupByte.Sent, synced->WakeupByte.Sent);

    // Once the mouse is back, what changed meanwhile goes out.
    rig.Connect();
    DirtyGroups dirty = DirtyGroups::All();
    EXPECT_TRUE(ApplyDirtyGroups(rig.link, caches, *profile, dirty));
    EXPECT_EQ(rig.steps, (Steps{"w60", "0x04", "w60", "w60", "w60", "w60", "w60", "0x07", "w60",
                                "0x0B", "w60", "0x0C", "w60"}));
}

TEST(SettingWriters, ProfileSwitchSendsExactlyTheDifferingBlocks)
{
    CommandRig rig;
    DeviceCaches caches;
    auto first = DefaultProfile(0);
    SyncDeviceCaches(rig.link, caches, *first);
    rig.Clear();

    auto second = DefaultProfile(1); // another name, which the mouse never sees
    second->KeySlots[2].KeyValue = {0x80, 0xE9, 0x00};
    second->DPILevelIndicationValuer[7] = 0x000080;
    second->LightingSettings.Lighting1Brightness[1] = 2; // the effect in use
    second->LightingSettings.Lighting1Speed[4] = 9;      // an effect not in use
    second->LightingSettings.Lighting2Speed = 4;         // never sent
    SetMotionWakeup(*second, 0);

    DirtyGroups dirty = DirtyGroups::All();
    EXPECT_TRUE(ApplyDirtyGroups(rig.link, caches, *second, dirty));
    EXPECT_EQ(rig.steps, (Steps{"w60", "w60", "0x04", "w60", "w60", "w60", "w60", //
                                "0x06", "w60", "0x08", "w60", "0x0C", "w60"}));
    EXPECT_EQ(rig.Reports()[0], ExpectedReport(0x04, 0, 1, 4, {2, 0x80, 0xE9, 0x00}));
    EXPECT_EQ(rig.Reports()[2], ExpectedReport(0x08, 2, 1, 3, {1, 0x32, 1}));
    EXPECT_EQ(dirty.KeysDirty + dirty.SettingsDirty + dirty.PowerDirty + dirty.WakeupDirty, 0);

    // And back: the same blocks again, the other way.
    rig.Clear();
    dirty = DirtyGroups::All();
    ApplyDirtyGroups(rig.link, caches, *first, dirty);
    EXPECT_EQ(rig.steps, (Steps{"w60", "w60", "0x04", "w60", "w60", "w60", "w60", //
                                "0x06", "w60", "0x08", "w60", "0x0C", "w60"}));
}

TEST(SettingWriters, ApplyWritesOnlyTheDirtyGroups)
{
    CommandRig rig;
    DeviceCaches caches;
    auto profile = DefaultProfile();
    SyncDeviceCaches(rig.link, caches, *profile);
    rig.Clear();

    profile->KeySlots[0].KeyValue = {0x10, 0x02, 0};
    profile->PollingRateValue[0] = 1;
    SetPowerDownTime(*profile, 3);
    SetMotionWakeup(*profile, 0);

    DirtyGroups dirty;
    dirty.PowerDirty = 1;
    EXPECT_TRUE(ApplyDirtyGroups(rig.link, caches, *profile, dirty));
    EXPECT_EQ(rig.steps, (Steps{"0x0B", "w60"}));

    // The other changes wait for their groups; an apply with nothing dirty sends nothing.
    rig.Clear();
    dirty = {};
    EXPECT_FALSE(ApplyDirtyGroups(rig.link, caches, *profile, dirty));
    EXPECT_TRUE(rig.steps.empty());
    EXPECT_EQ(rig.link.WrittenFlag, 0);

    dirty.SettingsDirty = 1;
    dirty.WakeupDirty = 1;
    dirty.KeysDirty = 1;
    EXPECT_TRUE(ApplyDirtyGroups(rig.link, caches, *profile, dirty));
    EXPECT_EQ(rig.steps, (Steps{"0x04", "w60", "w60", "w60", "w60", "w60", "w60", "0x07", "w60",
                                "0x0C", "w60"}));
}

TEST(SettingWriters, SyncTakesTheProfileAsHeldWithoutSending)
{
    CommandRig rig;
    DeviceCaches caches;
    auto profile = DefaultProfile();
    profile->LightingSettings.Lighting1ModeValue[0] = 6;
    SyncDeviceCaches(rig.link, caches, *profile);
    EXPECT_TRUE(rig.steps.empty());

    DirtyGroups dirty = DirtyGroups::All();
    EXPECT_FALSE(ApplyDirtyGroups(rig.link, caches, *profile, dirty));
    EXPECT_EQ(rig.steps, SixPauses); // the key write's pauses only
}

TEST(SettingWriters, FactoryResetGoesOutWithoutAPause)
{
    CommandRig rig;
    rig.link.SequenceNumber = 255;
    SendFactoryReset(rig.link);
    EXPECT_EQ(rig.steps, Steps{"0x0F"});
    EXPECT_EQ(rig.Reports()[0], ExpectedReport(0x0F, 255, 1, 1, {0xFF}));
    EXPECT_EQ(rig.link.SequenceNumber, 0); // wraps
    EXPECT_EQ(rig.link.WrittenFlag, 0);

    CommandRig absent(false);
    SendFactoryReset(absent.link);
    EXPECT_TRUE(absent.steps.empty());
}

// ---- capture ------------------------------------------------------------------------------------

TEST(ReportCapture, RecordsTheReportsOfAnApplyWithTheirTimes)
{
    CapturingLink capture(0x30);
    DeviceCaches caches;
    auto profile = DefaultProfile();
    SyncDeviceCaches(capture.Link(), caches, *profile);
    EXPECT_TRUE(capture.Reports().empty());

    profile->KeySlots[5].KeyValue = {0x50, 0x03, 0};
    profile->PollingRateValue[0] = 3;
    DirtyGroups dirty = DirtyGroups::All();
    EXPECT_TRUE(ApplyDirtyGroups(capture.Link(), caches, *profile, dirty));

    const auto reports = capture.Reports();
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(Bytes(reports[0].report), Bytes(ExpectedReport(0x04, 0x30, 1, 4, {5, 0x50, 0x03, 0})));
    EXPECT_EQ(Bytes(reports[1].report), Bytes(ExpectedReport(0x07, 0x31, 1, 1, {1})));
    EXPECT_EQ(reports[0].ms, 300u); // after the pauses of the first five slots
    EXPECT_EQ(reports[1].ms, 360u);
    EXPECT_EQ(capture.ElapsedMs(), 420u);

    CapturingLink absent(0, false);
    DirtyGroups all = DirtyGroups::All();
    EXPECT_FALSE(ApplyDirtyGroups(absent.Link(), caches, *DefaultProfile(), all));
    EXPECT_TRUE(absent.Reports().empty());
}

} // namespace
