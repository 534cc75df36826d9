#include "device/device_link.h"

#include <algorithm>
#include <utility>

namespace vexmo {

namespace {

// Header of a command report: report ID, a fixed 0x01, code, a fixed 0x00, sequence number,
// packet field, data length; data follows.
constexpr size_t CommandHeaderLength = 7;
constexpr size_t CommandDataCapacity = ReportLength - CommandHeaderLength;

} // namespace

int LinkRecord::InputIndex() const
{
    std::lock_guard lock(inputMutex_);
    return inputIndex_;
}

std::string LinkRecord::InputPath() const
{
    std::lock_guard lock(inputMutex_);
    return inputPath_;
}

bool LinkRecord::RecordInputIfNone(int index, const std::string& path)
{
    std::lock_guard lock(inputMutex_);
    if (!inputPath_.empty())
        return false;
    inputIndex_ = index;
    inputPath_ = path;
    return true;
}

void LinkRecord::ForgetInput()
{
    std::lock_guard lock(inputMutex_);
    inputPath_.clear();
}

DeviceLink::DeviceLink(HidBackend& backend, Clock& clock, UiPost post)
    : backend_(backend), clock_(clock), post_(std::move(post))
{
}

DeviceLink::~DeviceLink()
{
    StopReader(CableLink);
    StopReader(ReceiverLink);
    CloseFeatureHandles();
}

void DeviceLink::StopReader(LinkRecord& link)
{
    {
        std::lock_guard lock(link.readerMutex_);
        link.ReaderRun.store(0);
        if (link.readerDevice_)
            link.readerDevice_->CancelRead();
    }
    if (link.reader_.joinable())
        link.reader_.join();
}

LinkRecord* DeviceLink::LinkFor(uint16_t vendorId, uint16_t productId)
{
    if (vendorId != MouseIdentity.VendorID)
        return nullptr;
    if (productId == CableLink.ProductID)
        return &CableLink;
    if (productId == ReceiverLink.ProductID)
        return &ReceiverLink;
    return nullptr;
}

void DeviceLink::RescanDevices()
{
    Connected = 0;
    CableLink.FeaturePresent = 0;
    ReceiverLink.FeaturePresent = 0;

    // One enumeration serves every probe; reopening later enumerates again and re-checks the ids.
    const std::vector<std::string> interfaces = backend_.EnumerateInterfaces();
    const size_t count =
        std::min(interfaces.size(), static_cast<size_t>(MouseIdentity.ProbedMemberIndexes));
    for (size_t index = 0; index < count; ++index)
        ProbePath(static_cast<int>(index), interfaces[index]);

    if (CableLink.FeaturePresent || ReceiverLink.FeaturePresent)
        Connected = 1;

    for (LinkRecord* link : {&CableLink, &ReceiverLink}) {
        if (link->FeaturePresent) {
            StartInputReader(*link);
            if (!link->FeatureHandle)
                OpenFeatureInterface(*link);
        } else {
            link->FeatureHandle.reset();
            link->FeaturePath.clear();
        }
    }

    if (Connected && Hooks.RestartStatusTimer)
        Hooks.RestartStatusTimer();
    if (Hooks.RequestQuietApply)
        Hooks.RequestQuietApply();
}

void DeviceLink::ProbeInterface(int memberIndex)
{
    const std::string path = PathAt(memberIndex);
    if (!path.empty())
        ProbePath(memberIndex, path);
}

void DeviceLink::ProbePath(int memberIndex, const std::string& path)
{
    // Interfaces held exclusively by the system (keyboards, the pointer itself) fail to open and
    // are skipped without a word.
    std::unique_ptr<HidDevice> probe = backend_.Open(path);
    if (!probe)
        return;
    HidAttributes attributes;
    HidCaps caps;
    if (!probe->GetAttributes(attributes) || !probe->GetCaps(caps))
        return;
    LinkRecord* link = LinkFor(attributes.VendorID, attributes.ProductID);
    if (!link)
        return;

    // An interface with 33-byte input reports is the notification interface even when it also
    // has 33-byte feature reports; commands never go there.
    if (caps.InputReportByteLength == MouseIdentity.InputReportByteLength) {
        link->RecordInputIfNone(memberIndex, path);
        return;
    }
    if (caps.FeatureReportByteLength == MouseIdentity.FeatureReportByteLength) {
        if (link->FeaturePath.empty()) {
            link->FeaturePresent = 1;
            link->FeatureIndex = memberIndex;
            link->FeaturePath = path;
        } else if (link->FeaturePath == path) {
            link->FeaturePresent = 1;
        }
    }
}

std::string DeviceLink::PathAt(int memberIndex)
{
    if (memberIndex < 0)
        return {};
    std::vector<std::string> interfaces = backend_.EnumerateInterfaces();
    if (static_cast<size_t>(memberIndex) >= interfaces.size())
        return {};
    return std::move(interfaces[static_cast<size_t>(memberIndex)]);
}

std::unique_ptr<HidDevice> DeviceLink::OpenChecked(const std::string& path, uint16_t productId)
{
    std::unique_ptr<HidDevice> device = backend_.Open(path);
    if (!device)
        return nullptr;
    HidAttributes attributes;
    if (!device->GetAttributes(attributes) || attributes.VendorID != MouseIdentity.VendorID ||
        attributes.ProductID != productId)
        return nullptr;
    return device;
}

void DeviceLink::OpenFeatureInterface(LinkRecord& link)
{
    // The list may have changed since the interface was recorded at this position, hence the
    // id check in OpenChecked.
    const std::string path = PathAt(link.FeatureIndex);
    if (path.empty())
        return;
    link.FeatureHandle.reset();
    link.FeatureHandle = OpenChecked(path, link.ProductID);
}

void DeviceLink::StartInputReader(LinkRecord& link)
{
    // Without a recorded notification interface the remembered position means nothing; the next
    // rescan that records one starts the reader.
    if (link.InputPath().empty())
        return;
    if (link.ReaderBusy.exchange(1))
        return;
    // A previous reader has cleared ReaderBusy as its very last step, so this returns at once.
    if (link.reader_.joinable())
        link.reader_.join();

    // Opened here rather than on the reader so that the backend is only used from this thread,
    // and so that a shutdown can always wake the read.
    std::unique_ptr<HidDevice> device;
    const std::string path = PathAt(link.InputIndex());
    if (!path.empty())
        device = OpenChecked(path, link.ProductID);
    if (!device) {
        link.ForgetInput();
        link.ReaderBusy.store(0);
        return;
    }
    {
        std::lock_guard lock(link.readerMutex_);
        link.readerDevice_ = device.get();
    }
    auto onChange = std::make_shared<const ChangeHandler>(Hooks.MouseChangeReport);
    link.reader_ = std::thread([this, &link, device = std::move(device), onChange]() mutable {
        InputReader(link, std::move(device), std::move(onChange));
    });
}

void DeviceLink::InputReader(LinkRecord& link, std::unique_ptr<HidDevice> device,
                             std::shared_ptr<const ChangeHandler> onChange)
{
    HidCaps caps;
    size_t length = MouseIdentity.InputReportByteLength;
    if (device->GetCaps(caps) && caps.InputReportByteLength >= 2)
        length = caps.InputReportByteLength;
    // Never shorter than a report, so that a short read still hands over a whole report.
    std::vector<uint8_t> buffer(std::max(length, ReportLength), 0xFF);
    buffer[0] = InputReportId;

    link.ReaderRun.store(1);
    while (link.ReaderRun.load() && device->Read(buffer.data(), length)) {
        if (buffer[0] != InputReportId || buffer[1] != MouseChangeReportKind)
            continue;
        Report report;
        std::copy_n(buffer.begin(), ReportLength, report.begin());
        post_([onChange, report] {
            if (*onChange)
                (*onChange)(report);
        });
    }

    {
        std::lock_guard lock(link.readerMutex_);
        link.readerDevice_ = nullptr;
    }
    device.reset();
    // The path goes before the busy mark, so that whoever sees the reader gone also finds the
    // notification interface forgotten and records it again on the next rescan.
    link.ForgetInput();
    link.ReaderBusy.store(0);
}

HidDevice* DeviceLink::PreferredHandle()
{
    if (CableLink.FeatureHandle)
        return CableLink.FeatureHandle.get();
    return ReceiverLink.FeatureHandle.get();
}

void DeviceLink::BuildCommandReport(uint8_t code, uint8_t packet, uint8_t length,
                                    std::span<const uint8_t> data)
{
    ReportBuffer.fill(0);
    ReportBuffer[0] = CommandReportId;
    ReportBuffer[1] = 0x01;
    ReportBuffer[2] = code;
    ReportBuffer[3] = 0x00;
    ReportBuffer[4] = SequenceNumber++;
    ReportBuffer[5] = packet;
    ReportBuffer[6] = length;
    const size_t count = std::min(data.size(), CommandDataCapacity);
    std::copy_n(data.begin(), count, ReportBuffer.begin() + CommandHeaderLength);
}

void DeviceLink::BuildCommandReport(uint8_t code, uint8_t packet, std::span<const uint8_t> data)
{
    const auto length = static_cast<uint8_t>(std::min(data.size(), CommandDataCapacity));
    BuildCommandReport(code, packet, length, data);
}

void DeviceLink::SendCommandReport()
{
    if (HidDevice* handle = PreferredHandle())
        (void)handle->SetFeature(ReportBuffer.data(), ReportLength);
}

void DeviceLink::PauseAfterCommand()
{
    clock_.SleepMs(CommandPauseMs);
}

void DeviceLink::SendAndWait()
{
    SendCommandReport();
    PauseAfterCommand();
}

bool DeviceLink::RequestIdentity(HidDevice* handle)
{
    BuildCommandReport(IdentityQueryCommand, 0x00, 0, {});
    if (!handle || !handle->SetFeature(ReportBuffer.data(), ReportLength))
        return false;
    clock_.SleepMs(IdentityReplyDelayMs);
    std::fill(ReportBuffer.begin(), ReportBuffer.end(), uint8_t{0xFF});
    ReportBuffer[0] = CommandReportId;
    return handle->GetFeature(ReportBuffer.data(), ReportLength);
}

void DeviceLink::QueryDeviceInfo()
{
    HidDevice* handle = PreferredHandle();
    // A data length of 0 means the mouse has no answer ready yet; it gets one more chance.
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!RequestIdentity(handle))
            return;
        if (ReportBuffer[6] != 0) {
            Report reply;
            std::copy_n(ReportBuffer.begin(), ReportLength, reply.begin());
            if (Hooks.DecodeIdentityReply)
                Hooks.DecodeIdentityReply(reply);
            return;
        }
    }
}

void DeviceLink::CloseFeatureHandles()
{
    CableLink.FeatureHandle.reset();
    ReceiverLink.FeatureHandle.reset();
}

} // namespace vexmo
