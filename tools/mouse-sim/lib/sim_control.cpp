#include "sim_control.h"

#include "platform/base/sim_wire.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <map>

namespace vexmo {

namespace {

using Kind = SimControlCommand::Kind;

struct Syntax {
    Kind kind;
    const char* usage;
};

const std::map<std::string, Syntax>& Commands()
{
    static const std::map<std::string, Syntax> table = {
        {"plug", {Kind::Plug, "plug cable|receiver"}},
        {"unplug", {Kind::Unplug, "unplug cable|receiver"}},
        {"sensor", {Kind::Sensor, "sensor CODE            (0..255, e.g. 0x12)"}},
        {"battery", {Kind::Battery, "battery PERCENT        (0..255)"}},
        {"charging", {Kind::Charging, "charging STATE         (0 not, 1 charging, 2 full)"}},
        {"show", {Kind::Show, "show 0|1"}},
        {"input-feature", {Kind::InputFeature, "input-feature 0|1      (notification interface also has feature length 33)"}},
        {"dpi-button", {Kind::DpiButton, "dpi-button LEVEL [INTERVAL]"}},
        {"rate-button", {Kind::RateButton, "rate-button INTERVAL LEVEL"}},
        {"input", {Kind::Input, "input cable|receiver HEX   (a raw 33-byte input report)"}},
        {"late", {Kind::Late, "late N                 (answer the next N identity queries late)"}},
        {"log", {Kind::Log, "log"}},
        {"clear-log", {Kind::ClearLog, "clear-log"}},
        {"state", {Kind::State, "state [--json]         (the settings the mouse holds)"}},
        {"clear-state", {Kind::ClearState, "clear-state            (forget them, zero the counters)"}},
        {"status", {Kind::Status, "status"}},
        {"quit", {Kind::Quit, "quit"}},
    };
    return table;
}

bool Number(const std::string& text, long max, int& out)
{
    if (text.empty() || text[0] == '-' || text[0] == '+')
        return false;
    char* end = nullptr;
    errno = 0;
    long v = std::strtol(text.c_str(), &end, 0);
    if (errno != 0 || *end != '\0' || v < 0 || v > max)
        return false;
    out = int(v);
    return true;
}

} // namespace

const std::vector<std::string>& SimControlUsage()
{
    static const std::vector<std::string> lines = [] {
        std::vector<std::string> out;
        for (const char* name : {"plug", "unplug", "sensor", "battery", "charging", "show",
                                 "input-feature", "dpi-button", "rate-button", "input", "late",
                                 "log", "clear-log", "state", "clear-state", "status", "quit"})
            out.push_back(Commands().at(name).usage);
        return out;
    }();
    return lines;
}

bool ParseSimControl(const std::vector<std::string>& words, SimControlCommand& out,
                     std::string& error)
{
    if (words.empty()) {
        error = "no command";
        return false;
    }
    auto it = Commands().find(words[0]);
    if (it == Commands().end()) {
        error = "unknown command";
        return false;
    }
    const Syntax& syntax = it->second;
    auto bad = [&] {
        error = std::string("usage: ") + syntax.usage;
        return false;
    };
    SimControlCommand c;
    c.kind = syntax.kind;
    const size_t args = words.size() - 1;
    switch (syntax.kind) {
    case Kind::Plug:
    case Kind::Unplug: {
        if (args != 1)
            return bad();
        auto link = SimLinkFromName(words[1]);
        if (!link)
            return bad();
        c.link = *link;
        break;
    }
    case Kind::Sensor:
    case Kind::Battery:
    case Kind::Charging:
        if (args != 1 || !Number(words[1], 255, c.first))
            return bad();
        break;
    case Kind::Show:
    case Kind::InputFeature:
        if (args != 1 || !Number(words[1], 1, c.first))
            return bad();
        break;
    case Kind::DpiButton:
        if (args < 1 || args > 2 || !Number(words[1], 255, c.first) ||
            (args == 2 && !Number(words[2], 255, c.second)))
            return bad();
        break;
    case Kind::RateButton:
        if (args != 2 || !Number(words[1], 255, c.first) || !Number(words[2], 255, c.second))
            return bad();
        break;
    case Kind::Input: {
        if (args != 2)
            return bad();
        auto link = SimLinkFromName(words[1]);
        auto bytes = SimFromHex(words[2]);
        if (!link || !bytes || bytes->size() != kSimReportLength)
            return bad();
        c.link = *link;
        std::copy(bytes->begin(), bytes->end(), c.report.begin());
        break;
    }
    case Kind::Late:
        if (args != 1 || !Number(words[1], 1000000, c.first))
            return bad();
        break;
    case Kind::State:
        if (args > 1 || (args == 1 && words[1] != "--json"))
            return bad();
        c.json = args == 1;
        break;
    case Kind::Log:
    case Kind::ClearLog:
    case Kind::ClearState:
    case Kind::Status:
    case Kind::Quit:
        if (args != 0)
            return bad();
        break;
    }
    out = c;
    return true;
}

std::string FormatSimLogEntry(const SimLogEntry& entry)
{
    return std::to_string(entry.ms) + " " + SimToHex(entry.report.data(), entry.report.size()) +
           " " + SimLinkName(entry.link);
}

std::string ApplySimControl(SimMouse& mouse, const SimControlCommand& c,
                            std::vector<std::string>& extraLines)
{
    const char* notPlugged = "err no link is plugged";
    switch (c.kind) {
    case Kind::Plug:
        mouse.Plug(c.link);
        return "ok";
    case Kind::Unplug:
        mouse.Unplug(c.link);
        return "ok";
    case Kind::Sensor:
        mouse.SetSensorCode(uint8_t(c.first));
        return "ok";
    case Kind::Battery:
        mouse.SetBattery(uint8_t(c.first));
        return "ok";
    case Kind::Charging:
        mouse.SetCharging(uint8_t(c.first));
        return "ok";
    case Kind::Show:
        mouse.SetShowBit(uint8_t(c.first));
        return "ok";
    case Kind::InputFeature:
        mouse.SetInputAlsoFeature(c.first != 0);
        return "ok";
    case Kind::DpiButton: {
        const uint8_t interval = c.second >= 0 ? uint8_t(c.second) : mouse.ReportInterval();
        return mouse.PressDpiButton(uint8_t(c.first), interval) ? "ok" : notPlugged;
    }
    case Kind::RateButton:
        return mouse.PressRateButton(uint8_t(c.first), uint8_t(c.second)) ? "ok" : notPlugged;
    case Kind::Input:
        return mouse.QueueInputReport(c.link, c.report) ? "ok" : "err that link is not plugged";
    case Kind::Late:
        mouse.AnswerLate(c.first);
        return "ok";
    case Kind::Log:
        for (const auto& e : mouse.Log())
            extraLines.push_back(FormatSimLogEntry(e));
        return "ok " + std::to_string(extraLines.size());
    case Kind::ClearLog:
        mouse.ClearLog();
        return "ok";
    case Kind::State: {
        const std::string text = c.json ? mouse.StateJson() : mouse.StateText();
        size_t start = 0;
        for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
            extraLines.push_back(text.substr(start, end - start));
        return "ok " + std::to_string(extraLines.size());
    }
    case Kind::ClearState:
        mouse.ClearState();
        return "ok";
    case Kind::Status: {
        SimStatus s = mouse.Status();
        char text[200];
        std::snprintf(text, sizeof text,
                      "ok cable=%d receiver=%d sensor=0x%02x battery=%d charging=%d show=%d "
                      "input-feature=%d interval=%d late=%d",
                      s.cable, s.receiver, s.sensorCode, s.battery, s.charging, s.showBit,
                      s.inputAlsoFeature, s.reportInterval, s.lateAnswers);
        return text;
    }
    case Kind::Quit:
        return "ok";
    }
    return "err unknown command";
}

} // namespace vexmo
