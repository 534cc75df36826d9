#pragma once
// Per-sensor DPI step tables and the rule that turns an active-level ordinal into a DPI level.
//
// A profile's DPI level stores a step index, not a DPI number; what the step stands for (and
// the code the mouse is sent for it) depends on the optical sensor.

#include <cstddef>
#include <cstdint>
#include <span>

namespace vexmo {

// The sensor whose tables are in place before the first rebuild: the settings file's default.
inline constexpr std::uint16_t kInitialDpiSensor = 0x3212;

struct SensorDpiSteps;

// The step tables of the sensor last rebuilt for. Reads by step index never leave the table:
// a step past the last one reads the last step, a negative step reads step 0, so a step index
// left over from another sensor or read from a hand-edited profile still names a step this
// sensor has. Used from the UI thread only.
class DpiTables {
public:
    // Starts with the tables of kInitialDpiSensor, so there is never an empty table.
    DpiTables();

    // Switches to the tables of `sensorId`. A sensor without tables keeps the previous ones in
    // place and returns false.
    bool Rebuild(std::uint16_t sensorId);

    // The sensor whose tables are in place.
    std::uint16_t TableSensor() const;

    // Number of steps, at least 1.
    int DpiStepCount() const;
    // DPI of the step divided by 50.
    std::uint16_t DpiValueTable(int step) const;
    // Code sent to the mouse for the step: the step itself, or step + 1 for 0x3212, 0x3325
    // and 0x3327.
    std::uint16_t DpiCodeTable(int step) const;
    // Set for the sensors that offer the lift-off section.
    bool HighResolutionTable() const;
    // The DPI of the step: 50 × DpiValueTable(step).
    int StepToDpi(int step) const;

    // The whole value table, DpiStepCount() entries.
    std::span<const std::uint16_t> Values() const;

private:
    std::size_t Clamp(int step) const;

    const SensorDpiSteps* sensor_;
};

// The process-wide tables, for the current sensor.
DpiTables& CurrentDpiTables();

// Rebuilds the process-wide tables for `sensorId` (the current SensorId); an unknown sensor
// leaves them as they were.
void RebuildDpiTables(std::uint16_t sensorId);

// Value returned by AbsoluteLevel when the mask has too few enabled levels.
inline constexpr int kNoDpiLevel = 8;

// The absolute DPI level 0..7 of the active level `ordinal`, which counts among the enabled
// levels of `mask` (bit i = level i on; ordinal 0 = the first enabled level): the position of
// the (ordinal + 1)-th set bit. When the mask has no such bit (or ordinal is negative) the
// result is kNoDpiLevel, which callers showing a level replace with level 0.
int AbsoluteLevel(std::uint8_t mask, int ordinal);

} // namespace vexmo
