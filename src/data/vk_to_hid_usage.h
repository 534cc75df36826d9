#pragma once
// Windows virtual-key codes to the HID keyboard usages the mouse understands.

#include <array>
#include <cstdint>

namespace vexmo {

// Usage per virtual-key code 0..255; 0 = no usage. The mouse-input codes 0xE0..0xE7 of macro
// steps map to the mouse's own action codes 0xF0..0xF7.
extern const std::array<std::uint8_t, 256> VkToHidUsage;

// The usage of a virtual-key code; a code outside 0..255 has none (0).
std::uint8_t HidUsageOf(int code);

} // namespace vexmo
