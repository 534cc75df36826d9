#pragma once
// Display names of keyboard keys and of the mouse's own macro inputs, by virtual-key code.

#include <array>
#include <string_view>

namespace vexmo {

// One name per virtual-key code 0..255. Codes 0xE0..0xE7 are never produced by a keyboard and
// name the mouse inputs a macro step can carry. Codes without a name hold "Undefined".
extern const std::array<std::u16string_view, 256> KeyNameTable;

// The name of a virtual-key code. A code outside 0..255 gets "Undefined", like any unnamed code.
std::u16string_view KeyName(int code);

} // namespace vexmo
