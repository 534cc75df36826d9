#include "app/core/process_values.h"

#include <gtest/gtest.h>

TEST(UiScale, ChosenFromScreenSize)
{
    struct Case { int w, h; float scale; } cases[] = {
        {1920, 1080, 1.0f}, {2560, 1440, 1.5f}, {3840, 2160, 2.0f}, {2560, 1400, 1.5f},
        {2401, 1601, 2.0f}, {2400, 1601, 1.5f}, {1801, 1201, 1.5f}, {1800, 1201, 1.0f},
        {2560, 1600, 1.5f}, {1024, 768, 1.0f},
    };
    for (const auto& c : cases)
        EXPECT_EQ(vexmo::ChooseUiScale(c.w, c.h), c.scale) << c.w << "x" << c.h;
}
