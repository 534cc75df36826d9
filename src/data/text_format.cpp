#include "data/text_format.h"

#include <climits>

namespace vexmo {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

void AppendCodePoint(std::u16string& out, char32_t cp)
{
    if (cp < 0x10000) {
        out.push_back(static_cast<char16_t>(cp));
    } else {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    }
}

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

} // namespace

int HexDigitValue(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    return -1;
}

std::u16string Utf8ToUtf16(std::string_view utf8)
{
    std::u16string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    const std::size_t n = utf8.size();
    while (i < n) {
        const auto b0 = static_cast<unsigned char>(utf8[i]);
        if (b0 < 0x80) {
            out.push_back(b0);
            ++i;
            continue;
        }
        int extra;
        char32_t cp;
        char32_t minimum;
        if (b0 >= 0xC2 && b0 <= 0xDF) {
            extra = 1;
            cp = b0 & 0x1F;
            minimum = 0x80;
        } else if (b0 >= 0xE0 && b0 <= 0xEF) {
            extra = 2;
            cp = b0 & 0x0F;
            minimum = 0x800;
        } else if (b0 >= 0xF0 && b0 <= 0xF4) {
            extra = 3;
            cp = b0 & 0x07;
            minimum = 0x10000;
        } else {
            out.push_back(kReplacement);
            ++i;
            continue;
        }
        bool ok = i + static_cast<std::size_t>(extra) < n;
        if (ok) {
            for (int k = 1; k <= extra; ++k) {
                const auto b = static_cast<unsigned char>(utf8[i + k]);
                if ((b & 0xC0) != 0x80) {
                    ok = false;
                    break;
                }
                cp = (cp << 6) | (b & 0x3F);
            }
        }
        if (!ok || cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            out.push_back(kReplacement);
            ++i;
            continue;
        }
        AppendCodePoint(out, cp);
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16)
{
    std::string out;
    out.reserve(utf16.size());
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        const char16_t c = utf16[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00
            && utf16[i + 1] <= 0xDFFF) {
            const char32_t cp = 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10)
                + (static_cast<char32_t>(utf16[i + 1]) - 0xDC00);
            AppendUtf8(out, cp);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            AppendUtf8(out, kReplacement);
        } else {
            AppendUtf8(out, c);
        }
    }
    return out;
}

void AppendUnsigned(std::u16string& out, unsigned long long value)
{
    char16_t digits[24];
    int count = 0;
    do {
        digits[count++] = static_cast<char16_t>(u'0' + value % 10);
        value /= 10;
    } while (value != 0);
    while (count > 0)
        out.push_back(digits[--count]);
}

std::u16string FormatUnsigned(unsigned long long value)
{
    std::u16string out;
    AppendUnsigned(out, value);
    return out;
}

void AppendDecimal(std::u16string& out, long long value)
{
    if (value < 0) {
        out.push_back(u'-');
        // Negate in unsigned arithmetic so that LLONG_MIN does not overflow.
        AppendUnsigned(out, 0ULL - static_cast<unsigned long long>(value));
    } else {
        AppendUnsigned(out, static_cast<unsigned long long>(value));
    }
}

std::u16string FormatDecimal(long long value)
{
    std::u16string out;
    AppendDecimal(out, value);
    return out;
}

void AppendHex(std::u16string& out, std::uint32_t value, int minDigits, char16_t pad)
{
    static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
    char16_t digits[8];
    int count = 0;
    do {
        digits[count++] = kDigits[value & 0xF];
        value >>= 4;
    } while (value != 0);
    for (int k = count; k < minDigits; ++k)
        out.push_back(pad);
    while (count > 0)
        out.push_back(digits[--count]);
}

std::u16string FormatHex(std::uint32_t value, int minDigits, char16_t pad)
{
    std::u16string out;
    AppendHex(out, value, minDigits, pad);
    return out;
}

std::u16string FormatHex0x(std::uint32_t value)
{
    std::u16string out = u"0x";
    AppendHex(out, value, 4, u' ');
    return out;
}

std::uint32_t ParseHex(std::u16string_view text)
{
    std::size_t i = 0;
    if (text.size() >= 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X')) {
        i = 2;
        while (i < text.size() && text[i] == u' ')
            ++i;
    }
    std::uint64_t value = 0;
    for (; i < text.size(); ++i) {
        const int digit = HexDigitValue(text[i]);
        if (digit < 0)
            break;
        value = value * 16 + static_cast<std::uint64_t>(digit);
        if (value > 0xFFFFFFFFu)
            value = 0x100000000u; // stays above the limit however many digits follow
    }
    return value > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<std::uint32_t>(value);
}

int ParseDecimal(std::u16string_view text)
{
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    // One past INT_MAX's magnitude is enough to decide saturation in either direction.
    constexpr long long kLimit = static_cast<long long>(INT_MAX) + 1;
    long long magnitude = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        magnitude = magnitude * 10 + (text[i] - u'0');
        if (magnitude > kLimit)
            magnitude = kLimit;
    }
    if (negative)
        return static_cast<int>(-magnitude); // -kLimit is INT_MIN
    return magnitude > INT_MAX ? INT_MAX : static_cast<int>(magnitude);
}

std::u16string_view FieldAt(std::u16string_view text, std::size_t offset, std::size_t count)
{
    if (offset >= text.size())
        return {};
    return text.substr(offset, count);
}

} // namespace vexmo
