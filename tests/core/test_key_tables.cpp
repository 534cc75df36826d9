#include "data/fixed_names.h"
#include "data/key_names.h"
#include "data/vk_to_hid_usage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

using vexmo::FixedName;
using vexmo::HidUsageOf;
using vexmo::KeyName;

std::string Printable(std::u16string_view s)
{
    std::string out;
    for (char16_t c : s)
        out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

TEST(KeyNameTable, NamesAtTheEndsOfEachRangeAndTheOddSpellings)
{
    struct Case { int code; std::u16string_view name; } cases[] = {
        {1, u"LBUTTON"}, {6, u"XBUTTON2"}, {8, u"Backspace"}, {9, u"Tab"}, {12, u"Clear"},
        {13, u"Enter"}, {16, u"Shift"}, {20, u"CapsLock"}, {21, u"Kana"}, {23, u"junja"},
        {25, u"Hanja"}, {27, u"Esc"}, {31, u"ModeChange"}, {32, u"Space"}, {33, u"Page Up"},
        {40, u"Down Arrow"}, {44, u"Print Screen"}, {45, u"Ins"}, {46, u"Del"}, {47, u"Help"},
        {48, u"0"}, {57, u"9"}, {65, u"A"}, {77, u"M"}, {90, u"Z"}, {91, u"Win_L"}, {93, u"App"},
        {95, u"Sleep"}, {96, u"Num0"}, {105, u"Num9"}, {106, u"Multiply"}, {108, u"Separator"},
        {111, u"Divide"}, {112, u"F1"}, {123, u"F12"}, {135, u"F24"}, {144, u"Num Lock"},
        {145, u"Scroll Lock"}, {160, u"Shift_L"}, {163, u"Ctrl_R"}, {165, u"Alt_R"},
        {186, u";"}, {187, u"="}, {188, u","}, {192, u"~"}, {219, u"["}, {220, u"\\"},
        {221, u"]"}, {222, u"'"}, {224, u"L Key"}, {227, u"K4"}, {229, u"Mouse X"},
        {231, u"Mouse Wheel"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(KeyName(c.code), c.name) << "code " << c.code << " is " << Printable(KeyName(c.code));
}

TEST(KeyNameTable, UnlistedCodesAreUndefined)
{
    for (int code : {0, 7, 10, 11, 14, 15, 22, 26, 58, 64, 94, 136, 143, 146, 159, 166, 185, 193,
                     218, 223})
        EXPECT_EQ(KeyName(code), u"Undefined") << "code " << code;
    for (int code = 232; code <= 255; ++code)
        EXPECT_EQ(KeyName(code), u"Undefined") << "code " << code;

    // 147 codes carry a name; a shifted or doubled row changes this count.
    EXPECT_EQ(std::count(vexmo::KeyNameTable.begin(), vexmo::KeyNameTable.end(), u"Undefined"), 109);
}

TEST(KeyNameTable, CodesOutsideTheTableAreUndefined)
{
    EXPECT_EQ(vexmo::KeyNameTable.size(), 256u);
    EXPECT_EQ(KeyName(-1), u"Undefined");
    EXPECT_EQ(KeyName(256), u"Undefined");
    EXPECT_EQ(KeyName(0x141), u"Undefined"); // not folded onto code 0x41
}

TEST(FixedNames, RatesNumbersAndCommandWords)
{
    ASSERT_EQ(vexmo::FixedNames.size(), 24u);
    struct Case { int index; std::u16string_view text; } cases[] = {
        {0, u"125Hz"}, {1, u"250Hz"}, {2, u"500Hz"}, {3, u"1000Hz"},
        {4, u"200"}, {9, u"700"}, {14, u"1200"},
        {15, u"\u590D\u5236"}, // copy
        {19, u"\u65B0\u5EFA"}, // new
        {23, u"\u64A4\u9500"}, // undo
    };
    for (const auto& c : cases)
        EXPECT_EQ(FixedName(c.index), c.text) << "index " << c.index;
}

TEST(FixedNames, IndexOutsideTheListGivesEmptyText)
{
    EXPECT_TRUE(FixedName(-1).empty());
    EXPECT_TRUE(FixedName(24).empty());
}

TEST(VkToHidUsage, KeysMapToTheirUsages)
{
    struct Case { int code; int usage; } cases[] = {
        {0x08, 0x2A}, {0x09, 0x2B}, {0x0D, 0x28}, {0x0E, 0x58}, {0x13, 0x48}, {0x14, 0x39},
        {0x1B, 0x29}, {0x20, 0x2C}, {0x21, 0x4B}, {0x24, 0x4A}, {0x25, 0x50}, {0x26, 0x52},
        {0x27, 0x4F}, {0x28, 0x51}, {0x2C, 0x46}, {0x2E, 0x4C}, {0x30, 0x27}, {0x31, 0x1E},
        {0x35, 0x22}, {0x39, 0x26}, {0x3B, 0x29}, {0x41, 0x04}, {0x4D, 0x10}, {0x5A, 0x1D},
        {0x5B, 0xE3}, {0x5C, 0xE7}, {0x5D, 0x65}, {0x5F, 0x82}, {0x60, 0x62}, {0x61, 0x59},
        {0x69, 0x61}, {0x6A, 0x55}, {0x6B, 0x57}, {0x6D, 0x56}, {0x6E, 0x63}, {0x6F, 0x54},
        {0x70, 0x3A}, {0x7B, 0x45}, {0x90, 0x53}, {0x91, 0x47}, {0xA0, 0xE1}, {0xA1, 0xE5},
        {0xA2, 0xE0}, {0xA3, 0xE4}, {0xA4, 0xE2}, {0xA5, 0xE6}, {0xBA, 0x33}, {0xBC, 0x36},
        {0xBF, 0x38}, {0xC0, 0x35}, {0xDB, 0x2F}, {0xDC, 0x31}, {0xDE, 0x34}, {0xE0, 0xF0},
        {0xE7, 0xF7}, {0xF0, 0x81}, {0xF2, 0x32}, {0xF4, 0x85}, {0xF5, 0x87}, {0xF9, 0x8B},
        {0xFA, 0x90}, {0xFB, 0x91},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HidUsageOf(c.code), c.usage) << std::hex << "code 0x" << c.code;
}

TEST(VkToHidUsage, UnlistedCodesHaveNoUsage)
{
    for (int code : {0x00, 0x01, 0x0C, 0x10, 0x2F, 0x3A, 0x40, 0x5E, 0x6C, 0x7C, 0x87, 0x92,
                     0xA6, 0xC1, 0xDF, 0xE8, 0xFC, 0xFF})
        EXPECT_EQ(HidUsageOf(code), 0) << std::hex << "code 0x" << code;

    // 126 codes have a usage; a shifted or dropped range changes this count.
    EXPECT_EQ(std::count_if(vexmo::VkToHidUsage.begin(), vexmo::VkToHidUsage.end(),
                            [](std::uint8_t u) { return u != 0; }),
              126);

    EXPECT_EQ(HidUsageOf(-1), 0);
    EXPECT_EQ(HidUsageOf(256), 0);
    EXPECT_EQ(HidUsageOf(0x141), 0); // not folded onto code 0x41
}

} // namespace
