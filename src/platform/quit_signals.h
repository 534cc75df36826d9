#pragma once

#include <functional>

namespace vexmo {

// SIGTERM, SIGINT and SIGHUP (logout, Ctrl+C, kill) become a call of onQuit on the UI thread, so
// the program closes the way its own exit button does and pending saves are flushed.
void InstallQuitSignals(std::function<void()> onQuit);

} // namespace vexmo
