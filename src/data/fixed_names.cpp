#include "data/fixed_names.h"

namespace vexmo {

// std::to_array sizes the list by its entries, so a missing or extra word does not compile.
constexpr std::array<std::u16string_view, 24> FixedNames = std::to_array<std::u16string_view>({
    // Report rates, by rate code 0..3.
    u"125Hz", u"250Hz", u"500Hz", u"1000Hz",
    // The numbers of the DPI-lock list.
    u"200", u"300", u"400", u"500", u"600", u"700", u"800", u"900", u"1000", u"1100", u"1200",
    // Copy, paste, cut, select all, new, save, print, open, undo.
    u"复制", u"粘贴", u"剪切", u"全选", u"新建", u"保存", u"打印", u"打开", u"撤销",
});

std::u16string_view FixedName(int index)
{
    if (index < 0 || index >= static_cast<int>(FixedNames.size()))
        return {};
    return FixedNames[static_cast<std::size_t>(index)];
}

} // namespace vexmo
