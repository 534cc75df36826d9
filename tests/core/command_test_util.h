#pragma once
// The device link wired to the simulated mouse for tests of the command writers: reports the
// mouse received and the pauses taken, in one ordered list of steps.

#include "data/profile_record.h"
#include "device/device_link.h"

#include "sim_backend.h"
#include "sim_mouse.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace vexmo::test {

// Steps: "0x04" for a command report the mouse received (its code), "w60" for a pause.
using Steps = std::vector<std::string>;

inline std::string CodeStep(uint8_t code)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", code);
    return text;
}

// Pauses go into the step list; time advances by them without waiting.
class StepClock : public Clock {
public:
    explicit StepClock(Steps& steps) : steps_(steps) {}
    void SleepMs(unsigned ms) override
    {
        std::string step = "w";
        step += std::to_string(ms);
        steps_.push_back(step);
        now_ += ms;
    }
    uint64_t NowMs() override { return now_; }

private:
    Steps& steps_;
    uint64_t now_ = 0;
};

struct CommandRig {
    // With `connected` the cable's command interface is open, as after a rescan; without, the
    // link has no handle (the mouse is absent).
    explicit CommandRig(bool connected = true) : mouse(Options(clock))
    {
        mouse.SetLogSink([this](const SimLogEntry& entry) { steps.push_back(CodeStep(entry.report[2])); });
        if (connected)
            Connect();
    }
    ~CommandRig() { link.CloseFeatureHandles(); }

    static SimOptions Options(Clock& clock)
    {
        SimOptions options;
        options.clock = &clock;
        return options;
    }
    void Connect() { link.CableLink.FeatureHandle = backend.Open("sim:cable/feature"); }

    // Every report the mouse received, in order.
    std::vector<SimReport> Reports() const
    {
        std::vector<SimReport> reports;
        for (const SimLogEntry& entry : mouse.Log())
            reports.push_back(entry.report);
        return reports;
    }
    void Clear()
    {
        steps.clear();
        mouse.ClearLog();
    }

    Steps steps;
    StepClock clock{steps};
    SimMouse mouse;
    SimHidBackend backend{mouse};
    DeviceLink link{backend, clock, [](std::function<void()> work) { work(); }};
};

// A command report as the mouse must receive it: header, then `data`, zeros after.
inline SimReport ExpectedReport(uint8_t code, uint8_t sequence, uint8_t packet, uint8_t length,
                                std::vector<uint8_t> data)
{
    SimReport r{};
    r[0] = 0x0C;
    r[1] = 0x01;
    r[2] = code;
    r[3] = 0x00;
    r[4] = sequence;
    r[5] = packet;
    r[6] = length;
    for (size_t i = 0; i < data.size() && 7 + i < r.size(); ++i)
        r[7 + i] = data[i];
    return r;
}

inline std::unique_ptr<ProfileRecord> DefaultProfile(int index = 0)
{
    auto record = std::make_unique<ProfileRecord>();
    FillDefaults(*record, index);
    return record;
}

} // namespace vexmo::test
