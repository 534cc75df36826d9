#pragma once
// A sysfs + /dev tree in a temporary folder laid out as the kernel does it:
//   sys/class/hidraw/hidrawN -> sys/devices/.../<hid device>/hidraw/hidrawN
//   .../hidraw/hidrawN/device -> ../.. (the hid device: uevent, report_descriptor)
//   the USB device (idVendor, idProduct, bcdDevice) two levels above the hid device.

#include "platform/base/hidraw_enum.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace vexmo::test {

class FakeHidrawTree {
public:
    struct Usb {
        uint16_t vendor, product, version;
    };
    struct Node {
        unsigned number = 0;
        std::string uevent;                             // the hid device's uevent text
        std::optional<std::vector<uint8_t>> descriptor; // none: no report_descriptor file
        std::optional<Usb> usb;                         // none: not below a USB device
        bool devNode = false; // create <dev>/hidrawN as a plain file
    };

    FakeHidrawTree()
    {
        std::string templ = (std::filesystem::temp_directory_path() / "vexmo-hidraw-XXXXXX");
        const char* made = ::mkdtemp(templ.data());
        if (made == nullptr)
            throw std::runtime_error("cannot make a temporary folder");
        root_ = made;
        std::filesystem::create_directories(root_ / "sys" / "class" / "hidraw");
        std::filesystem::create_directories(root_ / "dev");
    }
    ~FakeHidrawTree()
    {
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }
    FakeHidrawTree(const FakeHidrawTree&) = delete;
    FakeHidrawTree& operator=(const FakeHidrawTree&) = delete;

    HidrawRoots Roots() const { return {(root_ / "sys").string(), (root_ / "dev").string()}; }
    std::string Dev(const std::string& name) const { return (root_ / "dev" / name).string(); }
    std::filesystem::path Root() const { return root_; }

    void Add(const Node& node)
    {
        namespace fs = std::filesystem;
        const std::string n = std::to_string(node.number);
        fs::path parent = root_ / "sys" / "devices" / "virtual" / ("uhid" + n);
        if (node.usb) {
            const fs::path usbDevice =
                root_ / "sys" / "devices" / "pci0000:00" / "usb1" / ("1-" + n);
            fs::create_directories(usbDevice);
            WriteHex(usbDevice / "idVendor", node.usb->vendor);
            WriteHex(usbDevice / "idProduct", node.usb->product);
            WriteHex(usbDevice / "bcdDevice", node.usb->version);
            parent = usbDevice / ("1-" + n + ":1.0");
        }
        const fs::path hidDevice = parent / ("0003:0000:0000." + n);
        const fs::path classDir = hidDevice / "hidraw" / ("hidraw" + n);
        fs::create_directories(classDir);
        fs::create_directory_symlink("../..", classDir / "device");
        fs::create_directory_symlink(classDir, root_ / "sys" / "class" / "hidraw" / ("hidraw" + n));
        Write(hidDevice / "uevent", node.uevent);
        if (node.descriptor)
            Write(hidDevice / "report_descriptor",
                  std::string(node.descriptor->begin(), node.descriptor->end()));
        if (node.devNode)
            Write(root_ / "dev" / ("hidraw" + n), "");
    }

    static void Write(const std::filesystem::path& path, const std::string& text)
    {
        std::ofstream(path, std::ios::binary) << text;
    }

private:
    static void WriteHex(const std::filesystem::path& path, uint16_t value)
    {
        char text[8];
        std::snprintf(text, sizeof text, "%04x\n", value);
        Write(path, text);
    }

    std::filesystem::path root_;
};

} // namespace vexmo::test
