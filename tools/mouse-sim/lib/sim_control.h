#pragma once
// The simulator's control commands ("plug cable", "battery 40", ...): parsed the same way by
// the server and by "vexmo-mouse-sim ctl", which checks its arguments before connecting.

#include "sim_mouse.h"

#include <string>
#include <vector>

namespace vexmo {

struct SimControlCommand {
    enum class Kind {
        Plug, Unplug, Sensor, Battery, Charging, Show, InputFeature, DpiButton, RateButton,
        Input, Late, Log, ClearLog, State, ClearState, Status, Quit,
    };
    Kind kind = Kind::Status;
    SimLink link = SimLink::Cable;
    int first = -1;    // the numeric arguments, -1 when not given
    int second = -1;
    bool json = false;   // state --json
    SimReport report{};
};

// One line per command, for usage messages.
const std::vector<std::string>& SimControlUsage();

// False with a message in error when the words are not a control command or its arguments are
// wrong. Unknown first words give the message "unknown command".
bool ParseSimControl(const std::vector<std::string>& words, SimControlCommand& out,
                     std::string& error);

// Carries out the command. The reply is "ok ..." or "err ..."; `log` and `state` also fill
// extraLines (the reply then reads "ok N" with N = their count). Quit only answers: the caller
// stops.
std::string ApplySimControl(SimMouse& mouse, const SimControlCommand& command,
                            std::vector<std::string>& extraLines);

// A log line: "<ms> <66 hex digits> <link>".
std::string FormatSimLogEntry(const SimLogEntry& entry);

} // namespace vexmo
