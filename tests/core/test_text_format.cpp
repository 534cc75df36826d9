#include "data/text_format.h"

#include <gtest/gtest.h>

#include <climits>

using namespace vexmo;

TEST(TextFormat, FormatsNumbersAsPrintfWould)
{
    EXPECT_EQ(FormatDecimal(0), u"0");
    EXPECT_EQ(FormatDecimal(-42), u"-42");
    EXPECT_EQ(FormatDecimal(LLONG_MIN), u"-9223372036854775808");
    EXPECT_EQ(FormatUnsigned(4294967295u), u"4294967295");

    struct Case { std::uint32_t value; int digits; char16_t pad; const char16_t* text; } cases[] = {
        {0x0, 2, u'0', u"00"},          {0xA, 2, u'0', u"0A"},
        {0xABC, 2, u'0', u"ABC"},       {0x1F, 4, u'0', u"001F"},
        {0xDEAD, 4, u'0', u"DEAD"},     {0x12, 4, u' ', u"  12"},
        {0xFFFFFFFF, 4, u' ', u"FFFFFFFF"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatHex(c.value, c.digits, c.pad), c.text) << c.value;

    EXPECT_EQ(FormatHex0x(0x12), u"0x  12");
    EXPECT_EQ(FormatHex0x(0x3212), u"0x3212");
    EXPECT_EQ(FormatHex0x(0xCC9F), u"0xCC9F");
    EXPECT_EQ(FormatHex0x(0xFFFFFFFF), u"0xFFFFFFFF");

    std::u16string line = u"Key";
    AppendUnsigned(line, 3);
    line += u"Value=";
    AppendHex(line, 0x90, 2);
    AppendHex(line, 0x1, 2);
    EXPECT_EQ(line, u"Key3Value=9001");
}

TEST(TextFormat, ParsesHexadecimal)
{
    struct Case { const char16_t* text; std::uint32_t value; } cases[] = {
        {u"0x3212", 0x3212}, {u"0X3212", 0x3212}, {u"3212", 0x3212}, {u"cded", 0xCDED},
        {u"0x  12", 0x12},   // what "0x%4X" writes for small values reads back
        {u" 12", 0},         // without the prefix a space is not a digit
        {u"1G", 0x1},        {u"G1", 0}, {u"", 0}, {u"0x", 0}, {u"0xZ", 0}, {u"0", 0},
        {u"FFFFFFFF", 0xFFFFFFFF}, {u"123456789", 0xFFFFFFFF}, {u"0x12\r", 0x12},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseHex(c.text), c.value) << std::u16string(c.text).size();
    for (std::uint32_t v : {0u, 0x12u, 0xEDCu, 0xCC9Fu, 0x12345u})
        EXPECT_EQ(ParseHex(FormatHex0x(v)), v) << v;
}

TEST(TextFormat, ParsesDecimal)
{
    struct Case { const char16_t* text; int value; } cases[] = {
        {u"00", 0}, {u"3", 3}, {u"12ab", 12}, {u"ab", 0}, {u"", 0}, {u"-5", -5}, {u"+7", 7},
        {u"-", 0}, {u" 5", 0}, {u"5\r", 5}, {u"--5", 0},
        {u"2147483647", INT_MAX}, {u"99999999999999999999", INT_MAX},
        {u"-2147483648", INT_MIN}, {u"-99999999999999999999", INT_MIN},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseDecimal(c.text), c.value) << std::u16string(c.text).size();
}

TEST(TextFormat, FieldAtStaysInsideTheText)
{
    const std::u16string text = u"=0A1B";
    EXPECT_EQ(FieldAt(text, 1, 2), u"0A");
    EXPECT_EQ(FieldAt(text, 4, 2), u"B");
    EXPECT_EQ(FieldAt(text, 5, 2), u"");
    EXPECT_EQ(FieldAt(text, 99, 2), u"");
}

TEST(TextFormat, ConvertsBetweenUtf8AndUtf16)
{
    const std::string utf8 = "a\xC3\xA9\xE5\xAE\x8B\xF0\x9F\x98\x80"; // a é 宋 😀
    const std::u16string utf16 = u"a\u00E9\u5B8B\U0001F600";
    EXPECT_EQ(Utf8ToUtf16(utf8), utf16);
    EXPECT_EQ(Utf16ToUtf8(utf16), utf8);

    // Malformed input: each bad byte becomes one replacement character.
    EXPECT_EQ(Utf8ToUtf16("a\x80z"), u"a\uFFFDz");
    EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");          // overlong
    EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD"); // encoded surrogate
    EXPECT_EQ(Utf8ToUtf16("\xF4\x90\x80\x80"), u"\uFFFD\uFFFD\uFFFD\uFFFD"); // above U+10FFFF
    EXPECT_EQ(Utf8ToUtf16("x\xE5\xAE"), u"x\uFFFD\uFFFD");         // cut short at the end
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD800)) + u"a"), "\xEF\xBF\xBD" "a");
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xDC00))), "\xEF\xBF\xBD");
}
