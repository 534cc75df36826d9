#pragma once
// The HID services the device link needs, as an interface: the hidraw backend talks to real
// hardware, the simulated backend to vexmo-mouse-sim.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vexmo {

struct HidAttributes {
    uint16_t VendorID = 0;
    uint16_t ProductID = 0;
    uint16_t VersionNumber = 0;
};

// The lengths include the report-ID byte, the way the Windows HID parser counts them.
struct HidCaps {
    uint16_t Usage = 0;
    uint16_t UsagePage = 0;
    uint16_t InputReportByteLength = 0;
    uint16_t OutputReportByteLength = 0;
    uint16_t FeatureReportByteLength = 0;
};

// An open HID interface (one top-level collection). Closing is destruction.
class HidDevice {
public:
    virtual ~HidDevice() = default;
    virtual bool GetAttributes(HidAttributes& out) = 0;
    virtual bool GetCaps(HidCaps& out) = 0;
    // data[0] is the report ID; len counts it.
    virtual bool SetFeature(const uint8_t* data, size_t len) = 0;
    // data[0] holds the report ID on entry; the reply replaces the buffer.
    virtual bool GetFeature(uint8_t* data, size_t len) = 0;
    // Blocks until an input report arrives. False when the device is gone or CancelRead was
    // called. May be called from a thread other than the opener's.
    virtual bool Read(uint8_t* data, size_t len) = 0;
    // Makes a blocked or later Read return false; safe to call from any thread.
    virtual void CancelRead() = 0;
};

class HidBackend {
public:
    virtual ~HidBackend() = default;
    // Device paths of the present HID interfaces, one per top-level collection, in a stable
    // order (the member index of an interface is its position in this list).
    virtual std::vector<std::string> EnumerateInterfaces() = 0;
    // Opens for reading and writing, shared. Null when the interface cannot be opened.
    virtual std::unique_ptr<HidDevice> Open(const std::string& path) = 0;
};

} // namespace vexmo
