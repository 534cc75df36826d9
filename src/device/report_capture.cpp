#include "device/report_capture.h"

#include <algorithm>
#include <string>

namespace vexmo {

namespace {

constexpr const char* CapturePath = "capture:feature";

} // namespace

void ManualClock::SleepMs(unsigned ms)
{
    std::lock_guard lock(mutex_);
    now_ += ms;
}

std::uint64_t ManualClock::NowMs()
{
    std::lock_guard lock(mutex_);
    return now_;
}

// One command interface that keeps what it is sent; the mouse's identity so that it could be
// found by a rescan as well.
class CapturingLink::Backend : public HidBackend {
public:
    explicit Backend(Clock& clock) : clock_(clock) {}

    std::vector<std::string> EnumerateInterfaces() override { return {CapturePath}; }
    std::unique_ptr<HidDevice> Open(const std::string& path) override
    {
        if (path != CapturePath)
            return nullptr;
        return std::make_unique<Device>(*this);
    }

    std::vector<CapturedReport> Reports() const
    {
        std::lock_guard lock(mutex_);
        return reports_;
    }
    void Clear()
    {
        std::lock_guard lock(mutex_);
        reports_.clear();
    }

private:
    class Device : public HidDevice {
    public:
        explicit Device(Backend& owner) : owner_(owner) {}
        bool GetAttributes(HidAttributes& out) override
        {
            out = {MouseIdentity.VendorID, MouseIdentity.CableProductID, 0};
            return true;
        }
        bool GetCaps(HidCaps& out) override
        {
            out = {};
            out.FeatureReportByteLength = MouseIdentity.FeatureReportByteLength;
            return true;
        }
        bool SetFeature(const uint8_t* data, size_t len) override
        {
            CapturedReport captured;
            captured.ms = owner_.clock_.NowMs();
            std::copy_n(data, std::min(len, captured.report.size()), captured.report.begin());
            std::lock_guard lock(owner_.mutex_);
            owner_.reports_.push_back(captured);
            return true;
        }
        // Nothing answers: there is no mouse.
        bool GetFeature(uint8_t*, size_t) override { return false; }
        bool Read(uint8_t*, size_t) override { return false; }
        void CancelRead() override {}

    private:
        Backend& owner_;
    };

    Clock& clock_;
    mutable std::mutex mutex_;
    std::vector<CapturedReport> reports_;
};

CapturingLink::CapturingLink(std::uint8_t firstSequence, bool connected)
    : backend_(std::make_unique<Backend>(clock_))
{
    link_ = std::make_unique<DeviceLink>(*backend_, clock_,
                                         [](std::function<void()> work) { work(); });
    link_->SequenceNumber = firstSequence;
    if (connected) {
        link_->CableLink.FeaturePresent = 1;
        link_->CableLink.FeaturePath = CapturePath;
        link_->CableLink.FeatureHandle = backend_->Open(CapturePath);
        link_->Connected = 1;
    }
}

// Members go in reverse order: the link (and its handle) before the backend.
CapturingLink::~CapturingLink() = default;

std::vector<CapturedReport> CapturingLink::Reports() const { return backend_->Reports(); }

void CapturingLink::ClearReports() { backend_->Clear(); }

} // namespace vexmo
