#include "data/dpi_tables.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

using vexmo::AbsoluteLevel;
using vexmo::DpiTables;
using vexmo::kNoDpiLevel;

struct SensorCase {
    std::uint16_t sensor;
    int steps;
    int firstDpi;
    int lastDpi;
    int codeOffset;
    bool highResolution;
};

constexpr SensorCase kSensorCases[] = {
    {0x3104, 48, 100, 8000, 0, false},
    {0x3325, 59, 200, 10000, 1, false},
    {0x3327, 74, 200, 12400, 1, false},
    {0x3212, 42, 200, 4800, 1, false},
    {0x3335, 160, 100, 16000, 0, true},
    {0x3389, 160, 100, 16000, 0, true},
    {0x3360, 121, 100, 24000, 0, true},
    {0x3370, 290, 50, 19000, 0, true},
    {0x3395, 520, 50, 26000, 0, true},
    {0x3399, 400, 50, 20000, 0, true},
};

TEST(DpiTables, EverySensorHasItsStepsCodesAndFlag)
{
    for (const auto& c : kSensorCases) {
        SCOPED_TRACE(::testing::Message() << std::hex << "sensor 0x" << c.sensor);
        DpiTables t;
        ASSERT_TRUE(t.Rebuild(c.sensor));
        EXPECT_EQ(t.TableSensor(), c.sensor);
        EXPECT_EQ(t.DpiStepCount(), c.steps);
        EXPECT_EQ(t.Values().size(), static_cast<std::size_t>(c.steps));
        EXPECT_EQ(t.StepToDpi(0), c.firstDpi);
        EXPECT_EQ(t.StepToDpi(c.steps - 1), c.lastDpi);
        EXPECT_EQ(t.DpiCodeTable(0), c.codeOffset);
        EXPECT_EQ(t.DpiCodeTable(c.steps - 1), c.steps - 1 + c.codeOffset);
        EXPECT_EQ(t.HighResolutionTable(), c.highResolution);

        // Every table rises step by step; a swapped or mistyped value breaks this.
        for (int i = 1; i < t.DpiStepCount(); ++i)
            EXPECT_LT(t.DpiValueTable(i - 1), t.DpiValueTable(i)) << "step " << i;
    }
}

TEST(DpiTables, StepsWhereTheTablesChangePace)
{
    struct Case { std::uint16_t sensor; int step; int value; } cases[] = {
        {0x3104, 9, 20}, {0x3104, 39, 80}, {0x3104, 40, 90}, {0x3104, 41, 96},
        {0x3104, 42, 110}, {0x3104, 47, 160},
        {0x3325, 48, 100}, {0x3325, 49, 110}, {0x3325, 51, 128}, {0x3325, 52, 140},
        {0x3327, 60, 124}, {0x3327, 61, 130}, {0x3327, 72, 240}, {0x3327, 73, 248},
        {0x3212, 22, 48}, {0x3212, 23, 60},
        {0x3335, 79, 160}, {0x3389, 79, 160},
        {0x3360, 119, 240}, {0x3360, 120, 480},
        {0x3370, 199, 200}, {0x3370, 200, 202}, {0x3370, 289, 380},
        {0x3395, 99, 100}, {0x3399, 250, 251},
    };
    for (const auto& c : cases) {
        DpiTables t;
        ASSERT_TRUE(t.Rebuild(c.sensor));
        EXPECT_EQ(t.DpiValueTable(c.step), c.value) << std::hex << "sensor 0x" << c.sensor
                                                    << std::dec << " step " << c.step;
    }
}

TEST(DpiTables, StepToDpiIsFiftyTimesTheTableValue)
{
    DpiTables t;
    ASSERT_TRUE(t.Rebuild(0x3104));
    EXPECT_EQ(t.StepToDpi(9), 1000);
    EXPECT_EQ(t.StepToDpi(47), 8000);

    ASSERT_TRUE(t.Rebuild(0x3212));
    EXPECT_EQ(t.StepToDpi(22), 2400);
    EXPECT_EQ(t.StepToDpi(23), 3000);
    EXPECT_EQ(t.DpiCodeTable(22), 23);
}

TEST(DpiTables, StepOutsideTheTableReadsTheNearestEnd)
{
    DpiTables t;
    ASSERT_TRUE(t.Rebuild(0x3104));
    // The 0x3104 defaults give levels 6 and 7 steps 58 and 50, past its 48 steps.
    EXPECT_EQ(t.StepToDpi(58), 8000);
    EXPECT_EQ(t.StepToDpi(48), 8000);
    EXPECT_EQ(t.DpiCodeTable(58), 47);
    EXPECT_EQ(t.DpiValueTable(65535), 160);
    EXPECT_EQ(t.StepToDpi(-1), 100);
    EXPECT_EQ(t.DpiCodeTable(-1), 0);

    ASSERT_TRUE(t.Rebuild(0x3325));
    EXPECT_EQ(t.DpiCodeTable(100), 59); // last step 58, coded + 1
    EXPECT_EQ(t.DpiCodeTable(-5), 1);
}

TEST(DpiTables, UnknownSensorKeepsThePreviousTables)
{
    DpiTables t;
    // Before any rebuild: the default sensor's tables, never an empty one.
    EXPECT_EQ(t.TableSensor(), vexmo::kInitialDpiSensor);
    EXPECT_EQ(t.DpiStepCount(), 42);

    EXPECT_FALSE(t.Rebuild(0x3000));
    EXPECT_EQ(t.DpiStepCount(), 42);

    ASSERT_TRUE(t.Rebuild(0x3360));
    EXPECT_FALSE(t.Rebuild(0x3000));
    EXPECT_FALSE(t.Rebuild(0x0000));
    EXPECT_EQ(t.TableSensor(), 0x3360);
    EXPECT_EQ(t.DpiStepCount(), 121);
    EXPECT_EQ(t.StepToDpi(120), 24000);
    EXPECT_EQ(t.DpiCodeTable(5), 5);
    EXPECT_TRUE(t.HighResolutionTable());
}

TEST(DpiTables, RebuildDpiTablesSwitchesTheProcessWideTables)
{
    vexmo::RebuildDpiTables(0x3327);
    EXPECT_EQ(vexmo::CurrentDpiTables().DpiStepCount(), 74);
    vexmo::RebuildDpiTables(0x3000);
    EXPECT_EQ(vexmo::CurrentDpiTables().DpiStepCount(), 74);
    vexmo::RebuildDpiTables(0x3104);
    EXPECT_EQ(vexmo::CurrentDpiTables().StepToDpi(9), 1000);

    vexmo::RebuildDpiTables(vexmo::kInitialDpiSensor);
}

TEST(AbsoluteLevel, PositionOfTheEnabledLevel)
{
    struct Case { std::uint8_t mask; int ordinal; int level; } cases[] = {
        {0x3F, 0, 0}, {0x3F, 2, 2}, {0x3F, 5, 5},
        {0x3E, 0, 1}, {0x3E, 1, 2},
        // Sparse: levels 0, 2, 5 and 7 on.
        {0xA5, 0, 0}, {0xA5, 1, 2}, {0xA5, 2, 5}, {0xA5, 3, 7},
        {0x80, 0, 7}, {0xFF, 7, 7},
        // More ordinals than enabled levels.
        {0x3F, 6, kNoDpiLevel}, {0xA5, 4, kNoDpiLevel}, {0xFF, 8, kNoDpiLevel},
        {0x00, 0, kNoDpiLevel}, {0x3F, 255, kNoDpiLevel}, {0x3F, -1, kNoDpiLevel},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AbsoluteLevel(c.mask, c.ordinal), c.level)
            << std::hex << "mask 0x" << int(c.mask) << std::dec << " ordinal " << c.ordinal;
}

} // namespace
