#pragma once
// Reads a HID report descriptor the way the Windows HID parser sums it up per top-level
// collection, so that an interface found through hidraw carries the same caps as on Windows.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vexmo {

struct HidTopLevelCollection {
    uint16_t UsagePage = 0;
    uint16_t Usage = 0;
    // Longest report of each type in this collection in bytes, plus one byte for the report ID
    // (also when the device sends no ID); 0 when the collection has no report of that type.
    uint16_t InputReportByteLength = 0;
    uint16_t OutputReportByteLength = 0;
    uint16_t FeatureReportByteLength = 0;
    // Report IDs of each type declared inside this collection, ascending, no repeats. 0 stands
    // for reports declared before any Report ID item, i.e. sent without an ID.
    std::vector<uint8_t> InputReportIds;
    std::vector<uint8_t> OutputReportIds;
    std::vector<uint8_t> FeatureReportIds;

    bool operator==(const HidTopLevelCollection&) const = default;
};

struct HidReportDescriptor {
    // In descriptor order. Only collections whose End Collection was reached before any fault.
    std::vector<HidTopLevelCollection> Collections;
    // A Report ID item occurs: the device then sends the ID as the first byte of every report.
    bool UsesReportIds = false;
    // The whole descriptor was read without a fault and every collection was closed.
    bool Complete = false;
};

// Never reads outside [data, data + size). A fault (truncated item, report ID 0, global stack
// overflow or underflow, unbalanced collections, report size above 256 bits, report count above
// 12288, a report longer than 65534 bytes, nesting deeper than 64) ends the reading; what was
// complete before it is kept. Main items outside every collection are not counted.
HidReportDescriptor ParseHidReportDescriptor(const uint8_t* data, size_t size);

inline HidReportDescriptor ParseHidReportDescriptor(const std::vector<uint8_t>& bytes)
{
    return ParseHidReportDescriptor(bytes.data(), bytes.size());
}

} // namespace vexmo
