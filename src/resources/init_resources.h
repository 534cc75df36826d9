#pragma once

namespace vexmo {

// Registers the compiled program resources (:/png/151, :/png/187, :/png/188, :/bitmap/364,
// :/icon/128). They live in a static library, so a program that uses them calls this once at
// start; the call also makes the linker keep them.
void InitResources();

} // namespace vexmo
