#pragma once
// How the mouse shows itself among the machine's HID interfaces. The mouse appears either on its
// cable or behind its wireless receiver; each appearance offers a command interface (33-byte
// feature reports) and a notification interface (33-byte input reports).

#include <cstddef>
#include <cstdint>

namespace vexmo {

struct DeviceIdentity {
    uint16_t VendorID;
    uint16_t CableProductID;
    uint16_t ReceiverProductID;
    // HID lengths including the report-ID byte.
    uint16_t FeatureReportByteLength;
    uint16_t InputReportByteLength;
    // Interfaces at list positions from this count on are never looked at.
    int ProbedMemberIndexes;
};

inline constexpr DeviceIdentity MouseIdentity = {
    0x248A, // VendorID
    0x5B2E, // CableProductID
    0x5B2F, // ReceiverProductID
    33,     // FeatureReportByteLength
    33,     // InputReportByteLength
    150,    // ProbedMemberIndexes
};

// Bytes of a report that travel over the wire (report ID included).
inline constexpr size_t ReportLength = 33;
// Report ID of command reports and of their replies.
inline constexpr uint8_t CommandReportId = 0x0C;
// Report ID of the mouse's own input reports.
inline constexpr uint8_t InputReportId = 5;
// Second byte of an input report that announces a DPI level or report-rate change.
inline constexpr uint8_t MouseChangeReportKind = 6;

} // namespace vexmo
