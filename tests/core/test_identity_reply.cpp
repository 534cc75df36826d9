#include "device/identity_reply.h"

#include <gtest/gtest.h>

using vexmo::ParseIdentityReply;

namespace {

std::array<uint8_t, 33> Reply(uint8_t sensor, uint8_t battery, uint8_t charging, uint8_t show, bool mark = true)
{
    std::array<uint8_t, 33> r{};
    r[0] = 0x0C;
    r[2] = 0x20;
    r[6] = 16;
    if (mark) {
        r[8] = 'Q';
        r[9] = '7';
        r[10] = 'J';
        r[11] = '2';
    }
    r[15] = sensor;
    r[18] = battery;
    r[19] = charging;
    r[21] = show;
    return r;
}

} // namespace

TEST(IdentityReply, DecodesStatusFields)
{
    struct Case {
        uint8_t sensor, battery, charging, show;
        bool mark;
        std::optional<uint16_t> sensorId;
        uint8_t percent;
        int charge;
    } cases[] = {
        {0x12, 57, 0, 1, true, 0x3212, 57, 0},
        {0x60, 40, 2, 0, true, 0x3360, 100, 2}, // full reads as 100 %
        {0x99, 12, 1, 0, true, 0x3399, 12, 1},
        {0x04, 80, 7, 3, false, 0x3104, 80, 0}, // no mark: sensor and battery still count
        {0x13, 80, 0, 0, true, std::nullopt, 80, 0},
    };
    for (const auto& c : cases) {
        const auto status = ParseIdentityReply(Reply(c.sensor, c.battery, c.charging, c.show, c.mark));
        ASSERT_TRUE(status.has_value());
        EXPECT_EQ(status->MarkFound, c.mark);
        EXPECT_EQ(status->ShowBit, c.show != 0);
        EXPECT_EQ(status->SensorId, c.sensorId);
        EXPECT_EQ(status->BatteryPercent, c.percent);
        EXPECT_EQ(status->ChargeState, c.charge);
    }
}

TEST(IdentityReply, IgnoresAnswersToOtherCommands)
{
    auto r = Reply(0x12, 50, 0, 1);
    r[2] = 0x05;
    EXPECT_FALSE(ParseIdentityReply(r).has_value());
    r = Reply(0x12, 50, 0, 1);
    r[3] = 0x01;
    EXPECT_FALSE(ParseIdentityReply(r).has_value());
}
