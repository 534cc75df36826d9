#pragma once
// Fixed word lists shown beside the language texts: report rates, DPI numbers, office commands.

#include <array>
#include <string_view>

namespace vexmo {

// 0..3 report rates "125Hz".."1000Hz" (by rate code), 4..14 the numbers "200".."1200" (the
// DPI-lock list takes its item number plus 3), 15..23 the office command words.
extern const std::array<std::u16string_view, 24> FixedNames;

// Entry `index` of FixedNames; an index outside 0..23 gives an empty string.
std::u16string_view FixedName(int index);

} // namespace vexmo
