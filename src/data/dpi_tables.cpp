#include "data/dpi_tables.h"

#include <array>
#include <initializer_list>

namespace vexmo {

namespace {

// Not constexpr on purpose: reaching one while building a table stops the compilation.
void MoreStepsThanTheTableHolds() {}
void FewerStepsThanTheTableHolds() {}
void RunDoesNotEndOnItsLastValue() {}

// Builds a value table of exactly N steps from runs and single values, in order.
template <std::size_t N>
class StepList {
public:
    // first, first + by, ..., last.
    constexpr StepList& Run(int first, int last, int by)
    {
        if ((last - first) % by != 0)
            RunDoesNotEndOnItsLastValue();
        for (int v = first; v <= last; v += by)
            Put(v);
        return *this;
    }
    constexpr StepList& Then(std::initializer_list<int> values)
    {
        for (int v : values)
            Put(v);
        return *this;
    }
    constexpr std::array<std::uint16_t, N> Done() const
    {
        if (count_ != N)
            FewerStepsThanTheTableHolds();
        return steps_;
    }

private:
    constexpr void Put(int v)
    {
        if (count_ == N)
            MoreStepsThanTheTableHolds();
        steps_[count_++] = static_cast<std::uint16_t>(v);
    }

    std::array<std::uint16_t, N> steps_{};
    std::size_t count_ = 0;
};

// DPI / 50 of every step, per sensor.
constexpr auto kSteps3104 =
    StepList<48>().Run(2, 80, 2).Then({90, 96, 110, 120, 130, 140, 150, 160}).Done();
constexpr auto kSteps3325 =
    StepList<59>().Run(4, 100, 2).Then({110, 120, 128, 140, 150, 160, 170, 180, 190, 200}).Done();
constexpr auto kSteps3327 = StepList<74>().Run(4, 124, 2).Run(130, 240, 10).Then({248}).Done();
constexpr auto kSteps3212 = StepList<42>().Run(4, 48, 2).Run(60, 96, 2).Done();
constexpr auto kSteps3335 = StepList<160>().Run(2, 320, 2).Done();
constexpr auto kSteps3360 = StepList<121>().Run(2, 240, 2).Then({480}).Done();
constexpr auto kSteps3370 = StepList<290>().Run(1, 200, 1).Run(202, 380, 2).Done();
constexpr auto kSteps3395 = StepList<520>().Run(1, 520, 1).Done();
constexpr auto kSteps3399 = StepList<400>().Run(1, 400, 1).Done();

} // namespace

struct SensorDpiSteps {
    std::uint16_t sensorId;
    std::span<const std::uint16_t> values;
    std::uint16_t codeOffset; // code of step i = i + codeOffset
    bool highResolution;
};

namespace {

constexpr SensorDpiSteps kSensors[] = {
    {0x3104, kSteps3104, 0, false},
    {0x3325, kSteps3325, 1, false},
    {0x3327, kSteps3327, 1, false},
    {0x3212, kSteps3212, 1, false},
    {0x3335, kSteps3335, 0, true},
    {0x3389, kSteps3335, 0, true},
    {0x3360, kSteps3360, 0, true},
    {0x3370, kSteps3370, 0, true},
    {0x3395, kSteps3395, 0, true},
    {0x3399, kSteps3399, 0, true},
};

const SensorDpiSteps* FindSensor(std::uint16_t sensorId)
{
    for (const SensorDpiSteps& s : kSensors)
        if (s.sensorId == sensorId)
            return &s;
    return nullptr;
}

// The tables in place before the first rebuild.
constexpr const SensorDpiSteps& kInitialSensor = kSensors[3];
static_assert(kInitialSensor.sensorId == kInitialDpiSensor);

} // namespace

DpiTables::DpiTables() : sensor_(&kInitialSensor) {}

bool DpiTables::Rebuild(std::uint16_t sensorId)
{
    const SensorDpiSteps* found = FindSensor(sensorId);
    if (!found)
        return false;
    sensor_ = found;
    return true;
}

std::uint16_t DpiTables::TableSensor() const
{
    return sensor_->sensorId;
}

int DpiTables::DpiStepCount() const
{
    return static_cast<int>(sensor_->values.size());
}

std::size_t DpiTables::Clamp(int step) const
{
    if (step < 0)
        return 0;
    const auto i = static_cast<std::size_t>(step);
    return i < sensor_->values.size() ? i : sensor_->values.size() - 1;
}

std::uint16_t DpiTables::DpiValueTable(int step) const
{
    return sensor_->values[Clamp(step)];
}

std::uint16_t DpiTables::DpiCodeTable(int step) const
{
    return static_cast<std::uint16_t>(Clamp(step) + sensor_->codeOffset);
}

bool DpiTables::HighResolutionTable() const
{
    return sensor_->highResolution;
}

int DpiTables::StepToDpi(int step) const
{
    return 50 * DpiValueTable(step);
}

std::span<const std::uint16_t> DpiTables::Values() const
{
    return sensor_->values;
}

DpiTables& CurrentDpiTables()
{
    static DpiTables tables;
    return tables;
}

void RebuildDpiTables(std::uint16_t sensorId)
{
    CurrentDpiTables().Rebuild(sensorId);
}

int AbsoluteLevel(std::uint8_t mask, int ordinal)
{
    if (ordinal < 0)
        return kNoDpiLevel;
    int seen = 0;
    for (int level = 0; level < 8; ++level) {
        if ((mask >> level) & 1) {
            if (seen == ordinal)
                return level;
            ++seen;
        }
    }
    return kNoDpiLevel;
}

} // namespace vexmo
