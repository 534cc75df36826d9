#include "platform/base/hid_report_descriptor.h"

#include <algorithm>
#include <array>
#include <optional>

namespace vexmo {

namespace {

// The kernel refuses descriptors beyond these report sizes and counts, so no hidraw node carries
// one; they also keep every sum far from overflowing.
constexpr uint32_t kMaxReportSizeBits = 256;
constexpr uint32_t kMaxReportCount = 12288;
// Lengths are 16-bit and include the ID byte.
constexpr uint64_t kMaxReportBits = uint64_t{0xFFFE} * 8;
constexpr size_t kMaxGlobalStackDepth = 32;
constexpr size_t kMaxCollectionDepth = 64;

enum ItemType : uint8_t { kMain = 0, kGlobal = 1, kLocal = 2 };

enum MainTag : uint8_t {
    kInput = 0x8,
    kOutput = 0x9,
    kCollection = 0xA,
    kFeature = 0xB,
    kEndCollection = 0xC,
};

enum GlobalTag : uint8_t {
    kUsagePage = 0x0,
    kReportSize = 0x7,
    kReportId = 0x8,
    kReportCount = 0x9,
    kPush = 0xA,
    kPop = 0xB,
};

enum LocalTag : uint8_t { kUsage = 0x0, kUsageMinimum = 0x1 };

constexpr uint8_t kLongItemPrefix = 0xFE;

struct GlobalState {
    uint32_t usagePage = 0;
    uint32_t reportSize = 0;
    uint32_t reportCount = 0;
    uint8_t reportId = 0;
};

// A usage as declared: 4-byte usages carry their own page in the high half.
struct DeclaredUsage {
    uint32_t value = 0;
    bool extended = false;
};

struct LocalState {
    std::optional<DeclaredUsage> usage;
    std::optional<DeclaredUsage> usageMinimum;
};

// Bits per report ID for one report type; at most 256 entries.
using ReportSizes = std::vector<std::pair<uint8_t, uint64_t>>;

struct OpenCollection {
    HidTopLevelCollection info;
    std::array<ReportSizes, 3> reports; // Input, Output, Feature
};

size_t ReportTypeIndex(uint8_t mainTag)
{
    switch (mainTag) {
    case kInput: return 0;
    case kOutput: return 1;
    default: return 2;
    }
}

uint16_t ByteLength(const ReportSizes& reports)
{
    uint64_t longest = 0;
    for (const auto& [id, bits] : reports)
        longest = std::max(longest, bits);
    if (reports.empty())
        return 0;
    return static_cast<uint16_t>((longest + 7) / 8 + 1);
}

std::vector<uint8_t> Ids(const ReportSizes& reports)
{
    std::vector<uint8_t> ids;
    for (const auto& entry : reports)
        ids.push_back(entry.first);
    std::sort(ids.begin(), ids.end());
    return ids;
}

HidTopLevelCollection Finish(OpenCollection& open)
{
    HidTopLevelCollection out = open.info;
    out.InputReportByteLength = ByteLength(open.reports[0]);
    out.OutputReportByteLength = ByteLength(open.reports[1]);
    out.FeatureReportByteLength = ByteLength(open.reports[2]);
    out.InputReportIds = Ids(open.reports[0]);
    out.OutputReportIds = Ids(open.reports[1]);
    out.FeatureReportIds = Ids(open.reports[2]);
    return out;
}

} // namespace

HidReportDescriptor ParseHidReportDescriptor(const uint8_t* data, size_t size)
{
    HidReportDescriptor result;
    if (data == nullptr)
        size = 0;

    GlobalState global;
    std::vector<GlobalState> globalStack;
    LocalState local;
    size_t depth = 0;
    std::optional<OpenCollection> current; // the open top-level collection, if any

    size_t pos = 0;
    while (pos < size) {
        const uint8_t prefix = data[pos];
        if (prefix == kLongItemPrefix) {
            // No long item tag is defined; skip the item after checking it fits.
            if (size - pos < 3)
                return result;
            const size_t dataSize = data[pos + 1];
            if (size - pos - 3 < dataSize)
                return result;
            pos += 3 + dataSize;
            continue;
        }

        static constexpr size_t kDataSizes[4] = {0, 1, 2, 4};
        const size_t dataSize = kDataSizes[prefix & 0x3];
        const uint8_t type = (prefix >> 2) & 0x3;
        const uint8_t tag = prefix >> 4;
        if (size - pos - 1 < dataSize)
            return result;
        uint32_t value = 0;
        for (size_t i = 0; i < dataSize; ++i)
            value |= uint32_t{data[pos + 1 + i]} << (8 * i);
        pos += 1 + dataSize;

        if (type == kGlobal) {
            switch (tag) {
            case kUsagePage:
                global.usagePage = value;
                break;
            case kReportSize:
                if (value > kMaxReportSizeBits)
                    return result;
                global.reportSize = value;
                break;
            case kReportCount:
                if (value > kMaxReportCount)
                    return result;
                global.reportCount = value;
                break;
            case kReportId:
                if (value == 0 || value > 0xFF)
                    return result;
                global.reportId = static_cast<uint8_t>(value);
                result.UsesReportIds = true;
                break;
            case kPush:
                if (globalStack.size() >= kMaxGlobalStackDepth)
                    return result;
                globalStack.push_back(global);
                break;
            case kPop:
                if (globalStack.empty())
                    return result;
                global = globalStack.back();
                globalStack.pop_back();
                break;
            default:
                break; // logical/physical ranges and units do not change the layout
            }
            continue;
        }

        if (type == kLocal) {
            const DeclaredUsage declared{value, dataSize == 4};
            if (tag == kUsage && !local.usage)
                local.usage = declared;
            else if (tag == kUsageMinimum && !local.usageMinimum)
                local.usageMinimum = declared;
            continue;
        }

        if (type != kMain)
            continue; // reserved item type

        switch (tag) {
        case kCollection:
            if (depth >= kMaxCollectionDepth)
                return result;
            if (depth == 0) {
                current.emplace();
                const std::optional<DeclaredUsage>& usage =
                    local.usage ? local.usage : local.usageMinimum;
                if (usage) {
                    current->info.Usage = static_cast<uint16_t>(usage->value & 0xFFFF);
                    current->info.UsagePage = static_cast<uint16_t>(
                        usage->extended ? usage->value >> 16 : global.usagePage & 0xFFFF);
                }
            }
            ++depth;
            break;
        case kEndCollection:
            if (depth == 0)
                return result;
            if (--depth == 0) {
                result.Collections.push_back(Finish(*current));
                current.reset();
            }
            break;
        case kInput:
        case kOutput:
        case kFeature:
            if (current) {
                ReportSizes& reports = current->reports[ReportTypeIndex(tag)];
                auto it = std::find_if(reports.begin(), reports.end(),
                                       [&](const auto& e) { return e.first == global.reportId; });
                if (it == reports.end())
                    it = reports.insert(reports.end(), {global.reportId, 0});
                it->second += uint64_t{global.reportSize} * global.reportCount;
                if (it->second > kMaxReportBits)
                    return result;
            }
            break;
        default:
            break; // reserved main tag
        }
        local = LocalState{};
    }

    result.Complete = depth == 0;
    return result;
}

} // namespace vexmo
