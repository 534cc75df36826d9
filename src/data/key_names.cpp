#include "data/key_names.h"

#include <initializer_list>

namespace vexmo {

namespace {

// Not constexpr on purpose: reaching it while building the table stops the compilation.
void NameCountDoesNotMatchCodeRange() {}

consteval std::array<std::u16string_view, 256> BuildKeyNameTable()
{
    std::array<std::u16string_view, 256> table{};
    table.fill(u"Undefined");
    // Names the codes first..last in order; the two must agree so that a dropped or doubled
    // name cannot shift the rest of a row.
    auto names = [&table](int first, int last, std::initializer_list<std::u16string_view> list) {
        if (static_cast<int>(list.size()) != last - first + 1)
            NameCountDoesNotMatchCodeRange();
        int code = first;
        for (std::u16string_view name : list)
            table[static_cast<std::size_t>(code++)] = name;
    };

    names(1, 6, {u"LBUTTON", u"RBUTTON", u"CANCEL", u"MBUTTON", u"XBUTTON1", u"XBUTTON2"});
    names(8, 9, {u"Backspace", u"Tab"});
    names(12, 13, {u"Clear", u"Enter"});
    names(16, 21, {u"Shift", u"Ctrl", u"Alt", u"Pause", u"CapsLock", u"Kana"});
    names(23, 25, {u"junja", u"Final", u"Hanja"});
    names(27, 31, {u"Esc", u"Convert", u"Nonconvert", u"Accept", u"ModeChange"});
    names(32, 47, {u"Space", u"Page Up", u"Page Down", u"End", u"Home", u"Left Arrow",
                   u"Up Arrow", u"Right Arrow", u"Down Arrow", u"Select", u"Print", u"Execute",
                   u"Print Screen", u"Ins", u"Del", u"Help"});
    names(48, 57, {u"0", u"1", u"2", u"3", u"4", u"5", u"6", u"7", u"8", u"9"});
    names(65, 90, {u"A", u"B", u"C", u"D", u"E", u"F", u"G", u"H", u"I", u"J", u"K", u"L", u"M",
                   u"N", u"O", u"P", u"Q", u"R", u"S", u"T", u"U", u"V", u"W", u"X", u"Y", u"Z"});
    names(91, 93, {u"Win_L", u"Win_R", u"App"});
    names(95, 95, {u"Sleep"});
    names(96, 105, {u"Num0", u"Num1", u"Num2", u"Num3", u"Num4", u"Num5", u"Num6", u"Num7",
                    u"Num8", u"Num9"});
    names(106, 111, {u"Multiply", u"Add", u"Separator", u"Subtract", u"Decimal", u"Divide"});
    names(112, 135, {u"F1", u"F2", u"F3", u"F4", u"F5", u"F6", u"F7", u"F8", u"F9", u"F10",
                     u"F11", u"F12", u"F13", u"F14", u"F15", u"F16", u"F17", u"F18", u"F19",
                     u"F20", u"F21", u"F22", u"F23", u"F24"});
    names(144, 145, {u"Num Lock", u"Scroll Lock"});
    names(160, 165, {u"Shift_L", u"Shift_R", u"Ctrl_L", u"Ctrl_R", u"Alt_L", u"Alt_R"});
    names(186, 192, {u";", u"=", u",", u"-", u".", u"/", u"~"});
    names(219, 222, {u"[", u"\\", u"]", u"'"});
    // The mouse's own inputs of a macro step.
    names(224, 231, {u"L Key", u"R Key", u"M Key", u"K4", u"K5", u"Mouse X", u"Mouse Y",
                     u"Mouse Wheel"});
    return table;
}

} // namespace

constexpr std::array<std::u16string_view, 256> KeyNameTable = BuildKeyNameTable();

std::u16string_view KeyName(int code)
{
    if (code < 0 || code >= static_cast<int>(KeyNameTable.size()))
        return u"Undefined";
    return KeyNameTable[static_cast<std::size_t>(code)];
}

} // namespace vexmo
