#include "platform/base/hidraw_enum.h"

#include "platform/base/hid_report_descriptor.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <filesystem>
#include <iterator>
#include <optional>
#include <string_view>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

namespace vexmo {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kNodePrefix = "hidraw";
// The kernel caps report descriptors at 4 KiB; sysfs text attributes at a page.
constexpr size_t kMaxDescriptorBytes = 64 * 1024;
constexpr size_t kMaxTextBytes = 16 * 1024;
// hid device -> USB interface -> USB device.
constexpr int kMaxAncestorSteps = 3;
constexpr uint32_t kBusUsb = 0x03;

std::string TrimSlash(std::string s)
{
    while (s.size() > 1 && s.back() == '/')
        s.pop_back();
    return s;
}

// Reads at most `cap` bytes; sysfs files report a size that has nothing to do with their content,
// so read to the end rather than trusting it.
bool ReadFileCapped(const fs::path& path, size_t cap, std::string& out)
{
    out.clear();
    int fd;
    do {
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return false;
    char chunk[4096];
    bool ok = true;
    while (out.size() < cap) {
        const ssize_t n = ::read(fd, chunk, std::min(sizeof chunk, cap - out.size()));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ok = false;
            break;
        }
        if (n == 0)
            break;
        out.append(chunk, static_cast<size_t>(n));
    }
    ::close(fd);
    return ok;
}

bool ParseUnsigned(std::string_view text, int base, uint32_t& out)
{
    if (text.empty())
        return false;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, out, base);
    return ec == std::errc() && ptr == end;
}

std::string_view TrimLine(std::string_view s)
{
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' '))
        s.remove_suffix(1);
    return s;
}

// "hidrawN" -> N, for canonical spellings only (no sign, no leading zero).
std::optional<unsigned> NodeNumber(std::string_view name)
{
    if (name.substr(0, kNodePrefix.size()) != kNodePrefix)
        return std::nullopt;
    const std::string_view digits = name.substr(kNodePrefix.size());
    if (digits.empty() || digits.size() > 9 || (digits.size() > 1 && digits[0] == '0'))
        return std::nullopt;
    uint32_t n = 0;
    if (!ParseUnsigned(digits, 10, n))
        return std::nullopt;
    return n;
}

// HID_ID=0003:0000248A:00005B2E (bus:vendor:product) from the HID device's uevent.
bool VendorProductFromUevent(const std::string& uevent, uint32_t& bus, HidAttributes& out)
{
    std::string_view rest = uevent;
    while (!rest.empty()) {
        const size_t eol = rest.find('\n');
        const std::string_view line = rest.substr(0, eol);
        rest = eol == std::string_view::npos ? std::string_view{} : rest.substr(eol + 1);
        constexpr std::string_view kKey = "HID_ID=";
        if (line.substr(0, kKey.size()) != kKey)
            continue;
        const std::string_view value = TrimLine(line.substr(kKey.size()));
        const size_t c1 = value.find(':');
        const size_t c2 = c1 == std::string_view::npos ? c1 : value.find(':', c1 + 1);
        if (c2 == std::string_view::npos)
            return false;
        uint32_t vendor = 0, product = 0;
        if (!ParseUnsigned(value.substr(0, c1), 16, bus) ||
            !ParseUnsigned(value.substr(c1 + 1, c2 - c1 - 1), 16, vendor) ||
            !ParseUnsigned(value.substr(c2 + 1), 16, product))
            return false;
        out.VendorID = static_cast<uint16_t>(vendor);
        out.ProductID = static_cast<uint16_t>(product);
        return true;
    }
    return false;
}

bool ReadHexAttribute(const fs::path& path, uint16_t& out)
{
    std::string text;
    uint32_t value = 0;
    if (!ReadFileCapped(path, kMaxTextBytes, text) || !ParseUnsigned(TrimLine(text), 16, value) ||
        value > 0xFFFF)
        return false;
    out = static_cast<uint16_t>(value);
    return true;
}

// Fills in from the nearest USB device above the HID device: the version always (Windows reports
// bcdDevice), vendor and product only when the uevent gave none.
void AttributesFromUsbDevice(const fs::path& hidDevice, const fs::path& sysfsRoot,
                             bool haveIds, HidAttributes& out)
{
    std::error_code ec;
    fs::path dir = fs::canonical(hidDevice, ec);
    const fs::path root = fs::canonical(sysfsRoot, ec);
    if (dir.empty() || root.empty())
        return;
    for (int step = 0; step <= kMaxAncestorSteps && dir != root && dir.has_relative_path();
         ++step, dir = dir.parent_path()) {
        if (!fs::exists(dir / "idVendor", ec))
            continue;
        HidAttributes usb;
        if (!haveIds) {
            if (!ReadHexAttribute(dir / "idVendor", usb.VendorID) ||
                !ReadHexAttribute(dir / "idProduct", usb.ProductID))
                return;
            out.VendorID = usb.VendorID;
            out.ProductID = usb.ProductID;
        }
        if (ReadHexAttribute(dir / "bcdDevice", usb.VersionNumber))
            out.VersionNumber = usb.VersionNumber;
        return;
    }
}

std::string InterfacePath(const std::string& nodePath, size_t collection)
{
    return nodePath + "#" + std::to_string(collection);
}

// All interfaces of node N, in collection order; empty when the node has no usable descriptor.
std::vector<HidrawInterface> ReadNode(const HidrawRoots& roots, unsigned node)
{
    const std::string name = std::string(kNodePrefix) + std::to_string(node);
    const fs::path hidDevice = fs::path(roots.Sysfs) / "class" / "hidraw" / name / "device";

    std::string descriptorBytes;
    if (!ReadFileCapped(hidDevice / "report_descriptor", kMaxDescriptorBytes, descriptorBytes))
        return {};
    const HidReportDescriptor descriptor = ParseHidReportDescriptor(
        reinterpret_cast<const uint8_t*>(descriptorBytes.data()), descriptorBytes.size());
    if (descriptor.Collections.empty())
        return {};

    HidAttributes attributes;
    std::string uevent;
    uint32_t bus = 0;
    const bool haveIds = ReadFileCapped(hidDevice / "uevent", kMaxTextBytes, uevent) &&
                         VendorProductFromUevent(uevent, bus, attributes);
    // Another transport (Bluetooth, I2C) may sit below a USB device that is not this one.
    if (!haveIds || bus == kBusUsb)
        AttributesFromUsbDevice(hidDevice, roots.Sysfs, haveIds, attributes);

    std::vector<HidrawInterface> out;
    const std::string nodePath = TrimSlash(roots.Dev) + "/" + name;
    for (size_t k = 0; k < descriptor.Collections.size(); ++k) {
        const HidTopLevelCollection& c = descriptor.Collections[k];
        HidrawInterface& i = out.emplace_back();
        i.Path = InterfacePath(nodePath, k);
        i.NodePath = nodePath;
        i.Node = node;
        i.Collection = k;
        i.Attributes = attributes;
        i.Caps.Usage = c.Usage;
        i.Caps.UsagePage = c.UsagePage;
        i.Caps.InputReportByteLength = c.InputReportByteLength;
        i.Caps.OutputReportByteLength = c.OutputReportByteLength;
        i.Caps.FeatureReportByteLength = c.FeatureReportByteLength;
        i.UsesReportIds = descriptor.UsesReportIds;
        i.InputReportIds = c.InputReportIds;
    }
    return out;
}

} // namespace

std::vector<HidrawInterface> EnumerateHidraw(const HidrawRoots& roots)
{
    std::vector<unsigned> nodes;
    std::error_code ec;
    fs::directory_iterator it(fs::path(roots.Sysfs) / "class" / "hidraw", ec);
    for (const fs::directory_iterator end; !ec && it != end; it.increment(ec)) {
        if (const auto n = NodeNumber(it->path().filename().native()))
            nodes.push_back(*n);
    }
    std::sort(nodes.begin(), nodes.end());

    std::vector<HidrawInterface> out;
    for (unsigned n : nodes) {
        std::vector<HidrawInterface> node = ReadNode(roots, n);
        std::move(node.begin(), node.end(), std::back_inserter(out));
    }
    return out;
}

std::optional<HidrawInterface> FindHidrawInterface(const HidrawRoots& roots,
                                                   const std::string& path)
{
    const size_t hash = path.rfind('#');
    const size_t slash = path.rfind('/', hash);
    if (hash == std::string::npos || slash == std::string::npos)
        return std::nullopt;
    const auto node = NodeNumber(std::string_view(path).substr(slash + 1, hash - slash - 1));
    const std::string_view index = std::string_view(path).substr(hash + 1);
    uint32_t collection = 0;
    if (!node || index.size() > 9 || (index.size() > 1 && index[0] == '0') ||
        !ParseUnsigned(index, 10, collection))
        return std::nullopt;
    // Only paths this module made: right folder, canonical spelling.
    std::vector<HidrawInterface> interfaces = ReadNode(roots, *node);
    if (collection >= interfaces.size() || interfaces[collection].Path != path)
        return std::nullopt;
    return std::move(interfaces[collection]);
}

} // namespace vexmo
