#include "data/vk_to_hid_usage.h"

#include <initializer_list>

namespace vexmo {

namespace {

// Not constexpr on purpose: reaching it while building the table stops the compilation.
void UsageCountDoesNotMatchCodeRange() {}

consteval std::array<std::uint8_t, 256> BuildVkToHidUsage()
{
    std::array<std::uint8_t, 256> table{};
    // Codes first..last take the listed usages in order.
    auto usages = [&table](int first, int last, std::initializer_list<int> list) {
        if (static_cast<int>(list.size()) != last - first + 1)
            UsageCountDoesNotMatchCodeRange();
        int code = first;
        for (int usage : list)
            table[static_cast<std::size_t>(code++)] = static_cast<std::uint8_t>(usage);
    };
    // Codes first..last take the consecutive usages firstUsage..lastUsage.
    auto consecutive = [&table](int first, int last, int firstUsage, int lastUsage) {
        if (lastUsage - firstUsage != last - first)
            UsageCountDoesNotMatchCodeRange();
        for (int code = first; code <= last; ++code)
            table[static_cast<std::size_t>(code)] = static_cast<std::uint8_t>(firstUsage + code - first);
    };

    usages(0x08, 0x09, {0x2A, 0x2B});                   // Backspace, Tab
    usages(0x0D, 0x0D, {0x28});                         // Enter
    usages(0x0E, 0x0E, {0x58});
    usages(0x13, 0x13, {0x48});                         // Pause
    usages(0x14, 0x14, {0x39});                         // CapsLock
    usages(0x1B, 0x1B, {0x29});                         // Esc
    usages(0x20, 0x20, {0x2C});                         // Space
    usages(0x21, 0x24, {0x4B, 0x4E, 0x4D, 0x4A});       // Page Up, Page Down, End, Home
    usages(0x25, 0x28, {0x50, 0x52, 0x4F, 0x51});       // arrows left, up, right, down
    usages(0x2C, 0x2E, {0x46, 0x49, 0x4C});             // Print Screen, Ins, Del
    usages(0x30, 0x30, {0x27});                         // 0
    consecutive(0x31, 0x39, 0x1E, 0x26);                // 1..9
    usages(0x3B, 0x3B, {0x29});
    consecutive(0x41, 0x5A, 0x04, 0x1D);                // A..Z
    usages(0x5B, 0x5D, {0xE3, 0xE7, 0x65});             // Win_L, Win_R, App
    usages(0x5F, 0x5F, {0x82});                         // Sleep
    usages(0x60, 0x60, {0x62});                         // Num0
    consecutive(0x61, 0x69, 0x59, 0x61);                // Num1..Num9
    usages(0x6A, 0x6B, {0x55, 0x57});                   // Multiply, Add
    usages(0x6D, 0x6F, {0x56, 0x63, 0x54});             // Subtract, Decimal, Divide
    consecutive(0x70, 0x7B, 0x3A, 0x45);                // F1..F12
    usages(0x90, 0x91, {0x53, 0x47});                   // Num Lock, Scroll Lock
    usages(0xA0, 0xA5, {0xE1, 0xE5, 0xE0, 0xE4, 0xE2, 0xE6}); // left/right Shift, Ctrl, Alt
    usages(0xBA, 0xBD, {0x33, 0x2E, 0x36, 0x2D});       // ; = , -
    usages(0xBE, 0xBF, {0x37, 0x38});                   // . /
    usages(0xC0, 0xC0, {0x35});                         // ~
    usages(0xDB, 0xDE, {0x2F, 0x31, 0x30, 0x34});       // [ \ ] '
    consecutive(0xE0, 0xE7, 0xF0, 0xF7);                // the mouse's own macro inputs
    usages(0xF0, 0xF4, {0x81, 0x83, 0x32, 0x64, 0x85});
    consecutive(0xF5, 0xF9, 0x87, 0x8B);
    usages(0xFA, 0xFB, {0x90, 0x91});
    return table;
}

} // namespace

constexpr std::array<std::uint8_t, 256> VkToHidUsage = BuildVkToHidUsage();

std::uint8_t HidUsageOf(int code)
{
    if (code < 0 || code >= static_cast<int>(VkToHidUsage.size()))
        return 0;
    return VkToHidUsage[static_cast<std::size_t>(code)];
}

} // namespace vexmo
