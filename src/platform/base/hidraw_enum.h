#pragma once
// Lists the HID interfaces of the machine from sysfs, one per top-level collection of every
// hidraw node, the way Windows lists one device interface per top-level collection.
//
// Path of an interface: "<dev>/hidrawN#K", K being the index of the collection in the node's
// report descriptor. The "#K" is there for every node, also one with a single collection, so a
// path never changes its form when a device's descriptor does.
//
// Order: by node number (hidraw2 before hidraw10), then by collection. Nodes whose report
// descriptor cannot be read or holds no complete top-level collection are left out: without it
// there are no caps, and Windows lists no interface for such a device either.

#include "device/hid_backend.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vexmo {

// Where sysfs and the device nodes are; tests point them at a fake tree.
struct HidrawRoots {
    std::string Sysfs = "/sys";
    std::string Dev = "/dev";
};

struct HidrawInterface {
    std::string Path;     // "<dev>/hidrawN#K"
    std::string NodePath; // "<dev>/hidrawN"
    unsigned Node = 0;    // N
    size_t Collection = 0; // K
    // Vendor and product from the HID device's HID_ID, else from the USB device's idVendor /
    // idProduct; the version is the USB device's bcdDevice (0 when there is no USB device).
    HidAttributes Attributes;
    HidCaps Caps;
    // The node's device numbers its reports; then InputReportIds tells which input reports of
    // the node belong to this collection.
    bool UsesReportIds = false;
    std::vector<uint8_t> InputReportIds;
};

std::vector<HidrawInterface> EnumerateHidraw(const HidrawRoots& roots);

// The interface a path returned by EnumerateHidraw names, read afresh from sysfs; none when the
// path is not of that form or that collection is not there (any more).
std::optional<HidrawInterface> FindHidrawInterface(const HidrawRoots& roots,
                                                   const std::string& path);

} // namespace vexmo
