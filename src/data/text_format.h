#pragma once
// Number formatting and parsing shared by every text file of the program (settings, profiles,
// language texts, macro library), and the UTF-8 <-> UTF-16 conversion used at the OS boundary.
//
// Text in core is UTF-16 (std::u16string), the encoding of the files themselves. File paths are
// kept as UTF-16 too and converted to UTF-8 only when an OS call needs them.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vexmo {

// 0..15 for a hexadecimal digit of either case, -1 for anything else.
int HexDigitValue(char16_t c);

// ---- UTF-8 <-> UTF-16 ---------------------------------------------------------------------------

// Invalid UTF-8 (stray continuation bytes, overlong forms, encoded surrogates, values above
// U+10FFFF, truncated sequences) becomes U+FFFD, one per offending byte.
std::u16string Utf8ToUtf16(std::string_view utf8);
// An unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view utf16);

// ---- Formatting ---------------------------------------------------------------------------------

// "%d"
std::u16string FormatDecimal(long long value);
void AppendDecimal(std::u16string& out, long long value);
// "%u"
std::u16string FormatUnsigned(unsigned long long value);
void AppendUnsigned(std::u16string& out, unsigned long long value);

// Upper-case hexadecimal with at least `minDigits` digits, padded on the left with `pad`:
// "%.2X" is (v, 2), "%.4X" is (v, 4), "%4X" is (v, 4, u' '). Longer values keep all digits.
std::u16string FormatHex(std::uint32_t value, int minDigits, char16_t pad = u'0');
void AppendHex(std::u16string& out, std::uint32_t value, int minDigits, char16_t pad = u'0');
// "0x%4X": 0x12 gives "0x  12", 0x3212 gives "0x3212", 0xFFFFFFFF gives "0xFFFFFFFF".
std::u16string FormatHex0x(std::uint32_t value);

// ---- Parsing ------------------------------------------------------------------------------------
// Parsing never fails: it takes what it can from the start of the text and gives 0 when nothing
// fits. Leading white space is not skipped.

// Optional "0x" or "0X" prefix, then hexadecimal digits (either case) up to the first other
// character. Spaces directly after the prefix are skipped, because "0x%4X" pads short values that
// way ("0x  12" reads back as 0x12); without a prefix a leading space stops the number (gives 0).
// Values above 0xFFFFFFFF saturate at 0xFFFFFFFF.
std::uint32_t ParseHex(std::u16string_view text);

// Optional '-' or '+', then decimal digits up to the first non-digit ("00" gives 0, "12ab" 12,
// "-5" -5, "ab" 0, "-" 0). Values outside the range of int saturate at its limits.
int ParseDecimal(std::u16string_view text);

// The `count` code units at `offset`, shortened to what the text holds (empty when `offset` is
// past the end). Fixed-width fields of a line are cut out with it without bounds worries.
std::u16string_view FieldAt(std::u16string_view text, std::size_t offset, std::size_t count);

} // namespace vexmo
