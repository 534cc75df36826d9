#include "sim_mouse.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

namespace vexmo {

namespace {

constexpr uint8_t kCommandReportId = 0x0C;
constexpr uint8_t kInputReportId = 5;
constexpr uint8_t kMouseChangeCode = 6;
constexpr uint8_t kIdentityQuery = 0x20;
// Enough for a burst of button presses; older reports are dropped as a full HID buffer would.
constexpr size_t kMaxQueuedInputs = 64;
// The log keeps the latest entries of a long-running simulation.
constexpr size_t kMaxLogEntries = 100000;

class SteadyClock : public Clock {
public:
    void SleepMs(unsigned ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
    uint64_t NowMs() override
    {
        using namespace std::chrono;
        return uint64_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    }
};

HidCaps Caps(uint16_t usagePage, uint16_t usage, uint16_t input, uint16_t output, uint16_t feature)
{
    HidCaps caps;
    caps.UsagePage = usagePage;
    caps.Usage = usage;
    caps.InputReportByteLength = input;
    caps.OutputReportByteLength = output;
    caps.FeatureReportByteLength = feature;
    return caps;
}

SimInterface Decoy(std::string path, SimRole role, uint16_t vid, uint16_t pid, bool openable,
                   HidCaps caps)
{
    SimInterface i;
    i.path = std::move(path);
    i.role = role;
    i.openable = openable;
    i.attributes.VendorID = vid;
    i.attributes.ProductID = pid;
    i.attributes.VersionNumber = 0x0100;
    i.caps = caps;
    return i;
}

} // namespace

const char* SimLinkName(SimLink link)
{
    return link == SimLink::Cable ? "cable" : "receiver";
}

std::optional<SimLink> SimLinkFromName(const std::string& name)
{
    if (name == "cable")
        return SimLink::Cable;
    if (name == "receiver")
        return SimLink::Receiver;
    return std::nullopt;
}

SimMouse::SimMouse(SimOptions options) : options_(options)
{
    if (options_.clock) {
        clock_ = options_.clock;
    } else {
        ownClock_ = std::make_unique<SteadyClock>();
        clock_ = ownClock_.get();
    }
    startMs_ = clock_->NowMs();
    links_[int(SimLink::Cable)].plugged = options_.cable;
    links_[int(SimLink::Receiver)].plugged = options_.receiver;
    for (auto& l : links_)
        l.reply[0] = kCommandReportId;
}

SimMouse::~SimMouse() = default;

// ---- interfaces ------------------------------------------------------------------------------

std::vector<SimInterface> SimMouse::LinkInterfacesLocked(SimLink link) const
{
    const std::string base = std::string("sim:") + SimLinkName(link) + "/";
    const uint16_t pid = link == SimLink::Cable ? kSimCablePid : kSimReceiverPid;
    std::vector<SimInterface> list = {
        Decoy(base + "mouse", SimRole::Mouse, kSimVendorId, pid, true, Caps(0x01, 0x02, 8, 0, 0)),
        Decoy(base + "keyboard", SimRole::Keyboard, kSimVendorId, pid, false,
              Caps(0x01, 0x06, 9, 2, 0)),
        Decoy(base + "feature", SimRole::Command, kSimVendorId, pid, true,
              Caps(0xFF02, 0x01, 0, 0, kSimReportLength)),
        Decoy(base + "input", SimRole::Notification, kSimVendorId, pid, true,
              Caps(0xFF01, 0x01, kSimReportLength, 0,
                   options_.inputAlsoFeature ? kSimReportLength : 0)),
    };
    for (auto& i : list)
        i.link = link;
    return list;
}

std::vector<SimInterface> SimMouse::InterfacesLocked() const
{
    std::vector<SimInterface> list;
    list.push_back(Decoy("sim:keyboard", SimRole::Keyboard, 0x046D, 0xC31C, false,
                         Caps(0x01, 0x06, 9, 2, 0)));
    // Same report length as the mouse's command interface, another vendor.
    list.push_back(Decoy("sim:other/vendor", SimRole::Foreign, 0x0483, 0x5750, true,
                         Caps(0xFF00, 0x01, 65, 65, kSimReportLength)));
    for (int n = 0; n < options_.extraDecoys; ++n)
        list.push_back(Decoy("sim:extra/" + std::to_string(n), SimRole::Foreign, 0x1209,
                             uint16_t(0x0001 + n), true, Caps(0x0C, 0x01, 3, 0, 0)));
    for (SimLink link : {SimLink::Cable, SimLink::Receiver}) {
        if (!links_[int(link)].plugged)
            continue;
        auto own = LinkInterfacesLocked(link);
        list.insert(list.end(), own.begin(), own.end());
    }
    list.push_back(Decoy("sim:other/mouse", SimRole::Mouse, 0x045E, 0x0040, true,
                         Caps(0x01, 0x02, 5, 0, 0)));
    return list;
}

std::vector<SimInterface> SimMouse::Interfaces() const
{
    std::lock_guard lock(mutex_);
    return InterfacesLocked();
}

std::optional<SimInterface> SimMouse::FindInterface(const std::string& path) const
{
    std::lock_guard lock(mutex_);
    for (auto& i : InterfacesLocked())
        if (i.path == path)
            return i;
    return std::nullopt;
}

// ---- handles ---------------------------------------------------------------------------------

SimMouse::Handle SimMouse::Open(const std::string& path)
{
    std::lock_guard lock(mutex_);
    for (auto& i : InterfacesLocked()) {
        if (i.path != path)
            continue;
        if (!i.openable)
            return 0;
        OpenHandle h;
        h.path = i.path;
        h.link = i.link;
        h.role = i.role;
        if (i.link) {
            LinkState& l = links_[int(*i.link)];
            h.plugEpoch = l.epoch;
            if (i.role == SimRole::Notification) {
                h.inputs = std::move(l.pendingInputs);
                l.pendingInputs.clear();
            }
        }
        Handle id = nextHandle_++;
        handles_.emplace(id, std::move(h));
        return id;
    }
    return 0;
}

void SimMouse::Close(Handle handle)
{
    std::lock_guard lock(mutex_);
    handles_.erase(handle);
    changed_.notify_all();
}

SimMouse::OpenHandle* SimMouse::LiveHandleLocked(Handle handle)
{
    auto it = handles_.find(handle);
    if (it == handles_.end())
        return nullptr;
    OpenHandle& h = it->second;
    if (h.link) {
        const LinkState& l = links_[int(*h.link)];
        if (!l.plugged || l.epoch != h.plugEpoch)
            return nullptr;
    }
    return &h;
}

bool SimMouse::GetAttributes(Handle handle, HidAttributes& out)
{
    std::lock_guard lock(mutex_);
    OpenHandle* h = LiveHandleLocked(handle);
    if (!h)
        return false;
    for (auto& i : InterfacesLocked())
        if (i.path == h->path) {
            out = i.attributes;
            return true;
        }
    return false;
}

bool SimMouse::GetCaps(Handle handle, HidCaps& out)
{
    std::lock_guard lock(mutex_);
    OpenHandle* h = LiveHandleLocked(handle);
    if (!h)
        return false;
    for (auto& i : InterfacesLocked())
        if (i.path == h->path) {
            out = i.caps;
            return true;
        }
    return false;
}

bool SimMouse::SetFeature(Handle handle, const uint8_t* data, size_t len)
{
    std::lock_guard lock(mutex_);
    OpenHandle* h = LiveHandleLocked(handle);
    if (!h || !h->link || !data || len != kSimReportLength || data[0] != kCommandReportId)
        return false;
    const bool featureCapable = h->role == SimRole::Command ||
                                (h->role == SimRole::Notification && options_.inputAlsoFeature);
    if (!featureCapable)
        return false;
    SimLogEntry entry;
    entry.ms = NowMsLocked();
    entry.link = *h->link;
    entry.path = h->path;
    std::memcpy(entry.report.data(), data, kSimReportLength);
    if (log_.size() >= kMaxLogEntries)
        log_.erase(log_.begin(), log_.begin() + kMaxLogEntries / 2);
    log_.push_back(entry);
    if (logSink_)
        logSink_(entry);
    HandleCommandLocked(*h->link, entry.report);
    return true;
}

bool SimMouse::GetFeature(Handle handle, uint8_t* data, size_t len)
{
    std::lock_guard lock(mutex_);
    OpenHandle* h = LiveHandleLocked(handle);
    if (!h || !h->link || !data || len != kSimReportLength || data[0] != kCommandReportId)
        return false;
    const bool featureCapable = h->role == SimRole::Command ||
                                (h->role == SimRole::Notification && options_.inputAlsoFeature);
    if (!featureCapable)
        return false;
    std::memcpy(data, links_[int(*h->link)].reply.data(), kSimReportLength);
    return true;
}

SimMouse::ReadResult SimMouse::Read(Handle handle, uint8_t* data, size_t len, int timeoutMs)
{
    std::unique_lock lock(mutex_);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        OpenHandle* h = LiveHandleLocked(handle);
        if (!h || h->cancelled)
            return ReadResult::Failed;
        if (!h->inputs.empty()) {
            const SimReport report = h->inputs.front();
            h->inputs.pop_front();
            if (data)
                std::memcpy(data, report.data(), std::min(len, report.size()));
            return ReadResult::Report;
        }
        if (timeoutMs < 0) {
            changed_.wait(lock);
        } else if (changed_.wait_until(lock, deadline) == std::cv_status::timeout) {
            // One last look: the report or unplug may have come with the timeout.
            OpenHandle* again = LiveHandleLocked(handle);
            if (!again || again->cancelled)
                return ReadResult::Failed;
            if (again->inputs.empty())
                return ReadResult::Timeout;
        }
    }
}

void SimMouse::CancelRead(Handle handle)
{
    std::lock_guard lock(mutex_);
    auto it = handles_.find(handle);
    if (it != handles_.end())
        it->second.cancelled = true;
    changed_.notify_all();
}

// ---- commands --------------------------------------------------------------------------------

void SimMouse::HandleCommandLocked(SimLink link, const SimReport& report)
{
    SimApplyCommand(state_, report, NowMsLocked());
    // The identity query is answered even when its header is off; it is counted as malformed
    // all the same.
    if (report[2] == kIdentityQuery) {
        LinkState& l = links_[int(link)];
        l.reply = IdentityReplyLocked();
        if (lateAnswers_ > 0) {
            --lateAnswers_;
            l.reply[6] = 0;
        }
    }
}

SimReport SimMouse::IdentityReplyLocked() const
{
    SimReport r{};
    r[0] = kCommandReportId;
    r[1] = 0x01;
    r[2] = kIdentityQuery;
    r[3] = 0x00;
    r[5] = 0x01;
    r[6] = 0x10;               // data length: bytes 7..22
    r[8] = 'Q';
    r[9] = '7';
    r[10] = 'J';
    r[11] = '2';
    r[15] = options_.sensorCode;
    r[18] = options_.battery;
    r[19] = options_.charging;
    r[21] = options_.showBit;
    return r;
}

SimReport SimMouse::IdentityReply() const
{
    std::lock_guard lock(mutex_);
    return IdentityReplyLocked();
}

// ---- control ---------------------------------------------------------------------------------

void SimMouse::PlugLocked(SimLink link, bool plugged)
{
    LinkState& l = links_[int(link)];
    if (l.plugged == plugged)
        return;
    auto own = LinkInterfacesLocked(link);
    if (!plugged) {
        // Every handle opened before this moment is dead for good, even after a replug.
        ++l.epoch;
        l.pendingInputs.clear();
        l.reply = SimReport{};
        l.reply[0] = kCommandReportId;
    }
    l.plugged = plugged;
    for (auto& i : own) {
        SimEvent e;
        e.serial = events_.size() + 1;
        e.arrival = plugged;
        e.path = i.path;
        events_.push_back(e);
    }
    changed_.notify_all();
}

void SimMouse::Plug(SimLink link)
{
    std::lock_guard lock(mutex_);
    PlugLocked(link, true);
}

void SimMouse::Unplug(SimLink link)
{
    std::lock_guard lock(mutex_);
    PlugLocked(link, false);
}

bool SimMouse::IsPlugged(SimLink link) const
{
    std::lock_guard lock(mutex_);
    return links_[int(link)].plugged;
}

void SimMouse::SetSensorCode(uint8_t code)
{
    std::lock_guard lock(mutex_);
    options_.sensorCode = code;
}

void SimMouse::SetBattery(uint8_t percent)
{
    std::lock_guard lock(mutex_);
    options_.battery = percent;
}

void SimMouse::SetCharging(uint8_t state)
{
    std::lock_guard lock(mutex_);
    options_.charging = state;
}

void SimMouse::SetShowBit(uint8_t show)
{
    std::lock_guard lock(mutex_);
    options_.showBit = show;
}

void SimMouse::SetInputAlsoFeature(bool on)
{
    std::lock_guard lock(mutex_);
    options_.inputAlsoFeature = on;
}

void SimMouse::AnswerLate(int n)
{
    std::lock_guard lock(mutex_);
    lateAnswers_ = std::max(0, n);
}

bool SimMouse::QueueInputLocked(SimLink link, const SimReport& report)
{
    LinkState& l = links_[int(link)];
    if (!l.plugged)
        return false;
    bool delivered = false;
    for (auto& [id, h] : handles_) {
        if (h.link != link || h.role != SimRole::Notification || h.plugEpoch != l.epoch)
            continue;
        if (h.inputs.size() >= kMaxQueuedInputs)
            h.inputs.pop_front();
        h.inputs.push_back(report);
        delivered = true;
    }
    if (!delivered) {
        if (l.pendingInputs.size() >= kMaxQueuedInputs)
            l.pendingInputs.pop_front();
        l.pendingInputs.push_back(report);
    }
    changed_.notify_all();
    return true;
}

bool SimMouse::QueueInputReport(SimLink link, const SimReport& report)
{
    std::lock_guard lock(mutex_);
    return QueueInputLocked(link, report);
}

bool SimMouse::PressLocked(uint8_t intervalCode, uint8_t level)
{
    SimReport r{};
    r[0] = kInputReportId;
    r[1] = kMouseChangeCode;
    r[3] = intervalCode;
    r[4] = level;
    if (links_[int(SimLink::Cable)].plugged)
        return QueueInputLocked(SimLink::Cable, r);
    return QueueInputLocked(SimLink::Receiver, r);
}

bool SimMouse::PressDpiButton(uint8_t level, uint8_t intervalCode)
{
    std::lock_guard lock(mutex_);
    if (!PressLocked(intervalCode, level))
        return false;
    if (state_.dpi)
        state_.dpi->active = level;
    return true;
}

bool SimMouse::PressRateButton(uint8_t intervalCode, uint8_t level)
{
    std::lock_guard lock(mutex_);
    if (!PressLocked(intervalCode, level))
        return false;
    state_.interval = intervalCode;
    return true;
}

uint8_t SimMouse::ReportInterval() const
{
    std::lock_guard lock(mutex_);
    return state_.interval.value_or(1);
}

SimState SimMouse::State() const
{
    std::lock_guard lock(mutex_);
    return state_;
}

std::string SimMouse::StateText() const
{
    std::lock_guard lock(mutex_);
    return SimStateText(state_);
}

std::string SimMouse::StateJson() const
{
    std::lock_guard lock(mutex_);
    return SimStateJson(state_);
}

void SimMouse::ClearState()
{
    std::lock_guard lock(mutex_);
    state_ = SimState{};
}

void SimMouse::SetLogSink(std::function<void(const SimLogEntry&)> sink)
{
    std::lock_guard lock(mutex_);
    logSink_ = std::move(sink);
}

SimStatus SimMouse::Status() const
{
    std::lock_guard lock(mutex_);
    SimStatus s;
    s.cable = links_[int(SimLink::Cable)].plugged;
    s.receiver = links_[int(SimLink::Receiver)].plugged;
    s.sensorCode = options_.sensorCode;
    s.battery = options_.battery;
    s.charging = options_.charging;
    s.showBit = options_.showBit;
    s.inputAlsoFeature = options_.inputAlsoFeature;
    s.reportInterval = state_.interval.value_or(1);
    s.lateAnswers = lateAnswers_;
    return s;
}

std::vector<SimLogEntry> SimMouse::Log() const
{
    std::lock_guard lock(mutex_);
    return log_;
}

void SimMouse::ClearLog()
{
    std::lock_guard lock(mutex_);
    log_.clear();
}

uint64_t SimMouse::LastEventSerial() const
{
    std::lock_guard lock(mutex_);
    return events_.size();
}

std::vector<SimEvent> SimMouse::WaitEvents(uint64_t after, int timeoutMs)
{
    std::unique_lock lock(mutex_);
    auto ready = [&] { return events_.size() > after; };
    if (timeoutMs < 0)
        changed_.wait(lock, ready);
    else
        changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready);
    if (!ready())
        return {};
    return std::vector<SimEvent>(events_.begin() + long(after), events_.end());
}

uint64_t SimMouse::NowMsLocked() const
{
    const uint64_t now = clock_->NowMs();
    return now >= startMs_ ? now - startMs_ : 0;
}

} // namespace vexmo
