#pragma once
// The HID backend for real hardware: interfaces from sysfs, I/O on /dev/hidrawN.
//
// A hidraw node carries the input reports of all its top-level collections. When the device
// numbers its reports, a handle on collection K returns only the input reports whose ID is one of
// collection K's, so that each interface reads what it would read on Windows; a device without
// report IDs has a single input report, which every handle returns. Reports always start with
// the report ID, 0 for an unnumbered device, as on Windows; a report shorter than the buffer is
// followed by zeros.

#include "device/hid_backend.h"
#include "platform/base/hidraw_enum.h"

#include <memory>
#include <string>
#include <vector>

namespace vexmo {

class HidrawBackend : public HidBackend {
public:
    explicit HidrawBackend(HidrawRoots roots = {});

    std::vector<std::string> EnumerateInterfaces() override;
    // Null when the path names no interface present now or the node cannot be opened
    // (permissions), or when the node has been handed to another device meanwhile.
    std::unique_ptr<HidDevice> Open(const std::string& path) override;

private:
    HidrawRoots roots_;
};

// Takes over `fd`, an open descriptor of the hidraw node of `info` (closed also on failure).
// Null only when no wake-up descriptor for CancelRead can be made. Tests hand in a socket.
std::unique_ptr<HidDevice> MakeHidrawDevice(int fd, HidrawInterface info);

} // namespace vexmo
