#pragma once
// The mouse's firmware side, simulated: the HID interfaces its cable and receiver present (among
// decoys), the answers to feature reports, the input reports its own buttons send, and a log of
// everything it was sent. Thread-safe; reads block until a report, an unplug or a cancel.

#include "device/clock.h"
#include "device/hid_backend.h"
#include "sim_state.h"

#include <array>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace vexmo {

enum class SimLink { Cable = 0, Receiver = 1 };

const char* SimLinkName(SimLink link);                 // "cable", "receiver"
std::optional<SimLink> SimLinkFromName(const std::string& name);

constexpr uint16_t kSimVendorId = 0x248A;
constexpr uint16_t kSimCablePid = 0x5B2E;
constexpr uint16_t kSimReceiverPid = 0x5B2F;
constexpr size_t kSimReportLength = kSimCommandLength;

using SimReport = std::array<uint8_t, kSimReportLength>;

// What an interface is to the mouse: its command interface, its notification interface, or
// something the program must pass over.
enum class SimRole { Mouse, Keyboard, Command, Notification, Foreign };

struct SimInterface {
    std::string path;
    SimRole role = SimRole::Foreign;
    std::optional<SimLink> link;   // set for the interfaces of the cable and the receiver
    bool openable = true;
    HidAttributes attributes;
    HidCaps caps;
};

struct SimLogEntry {
    uint64_t ms = 0;               // since the simulation started
    SimLink link = SimLink::Cable;
    std::string path;              // the interface the report was written to
    SimReport report{};
};

struct SimEvent {
    uint64_t serial = 0;           // 1, 2, ... in the order the events happened
    bool arrival = true;           // false: removal
    std::string path;
};

struct SimStatus {
    bool cable = false;
    bool receiver = false;
    uint8_t sensorCode = 0;
    uint8_t battery = 0;
    uint8_t charging = 0;
    uint8_t showBit = 0;
    bool inputAlsoFeature = false;
    uint8_t reportInterval = 1;
    int lateAnswers = 0;
};

struct SimOptions {
    bool cable = true;
    bool receiver = false;
    uint8_t sensorCode = 0x12;
    uint8_t battery = 100;
    uint8_t charging = 0;
    uint8_t showBit = 1;
    // The notification interface also reports a 33-byte feature length.
    bool inputAlsoFeature = false;
    // Unrelated interfaces listed before the mouse's, to push it to high member indexes.
    int extraDecoys = 0;
    // Time source of the log; null uses the steady clock.
    Clock* clock = nullptr;
};

class SimMouse {
public:
    explicit SimMouse(SimOptions options = {});
    ~SimMouse();
    SimMouse(const SimMouse&) = delete;
    SimMouse& operator=(const SimMouse&) = delete;

    // ---- what the host sees -------------------------------------------------------------------
    // Present interfaces in their stable order: foreign decoys, then the cable's, then the
    // receiver's, then a trailing decoy.
    std::vector<SimInterface> Interfaces() const;
    std::optional<SimInterface> FindInterface(const std::string& path) const;

    // Handles: Open gives 0 when the interface is absent or cannot be opened. A handle stays
    // valid until Close, but fails every operation once its link has been unplugged (also
    // after a replug).
    using Handle = uint64_t;
    Handle Open(const std::string& path);
    void Close(Handle handle);
    bool GetAttributes(Handle handle, HidAttributes& out);
    bool GetCaps(Handle handle, HidCaps& out);
    bool SetFeature(Handle handle, const uint8_t* data, size_t len);
    bool GetFeature(Handle handle, uint8_t* data, size_t len);
    enum class ReadResult { Report, Failed, Timeout };
    // Blocks until an input report for the handle, an unplug, a cancel, or (timeoutMs >= 0)
    // the timeout. Copies at most len bytes.
    ReadResult Read(Handle handle, uint8_t* data, size_t len, int timeoutMs = -1);
    void CancelRead(Handle handle);

    // ---- what the tester controls -------------------------------------------------------------
    void Plug(SimLink link);
    void Unplug(SimLink link);
    bool IsPlugged(SimLink link) const;
    void SetSensorCode(uint8_t code);
    void SetBattery(uint8_t percent);
    void SetCharging(uint8_t state);
    void SetShowBit(uint8_t show);
    void SetInputAlsoFeature(bool on);
    // The next n identity queries are answered with data length 0.
    void AnswerLate(int n);

    // Hands an input report to every open handle of the link's notification interface; when
    // none is open it waits for the next one opened. False when the link is not plugged.
    bool QueueInputReport(SimLink link, const SimReport& report);
    // The mouse's own buttons: report 5/6 with the report interval code and the 1-based level.
    // Sent on the cable when it is plugged, else on the receiver. The DPI button's level
    // becomes the kept active DPI level (when the DPI block is known), the rate button's code
    // the kept report interval.
    bool PressDpiButton(uint8_t level, uint8_t intervalCode);
    bool PressRateButton(uint8_t intervalCode, uint8_t level);
    // The report interval in ms the mouse runs at: the kept one, 1 while that is unknown.
    uint8_t ReportInterval() const;

    // The settings the mouse holds, decoded from the command reports it took.
    SimState State() const;
    std::string StateText() const;
    std::string StateJson() const;
    // Back to the state of a new simulation: everything unknown, counters at zero.
    void ClearState();

    std::vector<SimLogEntry> Log() const;
    void ClearLog();
    // Called with every logged report, on the writer's thread, with the mouse locked: it must
    // not call back into the mouse.
    void SetLogSink(std::function<void(const SimLogEntry&)> sink);

    SimStatus Status() const;

    // Arrival and removal of interfaces, in order. WaitEvents blocks until there is an event
    // with a serial above `after` or the timeout passes (timeoutMs < 0: no timeout).
    uint64_t LastEventSerial() const;
    std::vector<SimEvent> WaitEvents(uint64_t after, int timeoutMs);

    // The reply the next identity query gets, from the current state.
    SimReport IdentityReply() const;

private:
    struct OpenHandle {
        std::string path;
        std::optional<SimLink> link;
        SimRole role = SimRole::Foreign;
        uint64_t plugEpoch = 0;
        bool cancelled = false;
        std::deque<SimReport> inputs;
    };
    struct LinkState {
        bool plugged = false;
        uint64_t epoch = 0;              // changes on every unplug
        SimReport reply{};               // what GetFeature returns
        std::deque<SimReport> pendingInputs;
    };

    std::vector<SimInterface> InterfacesLocked() const;
    std::vector<SimInterface> LinkInterfacesLocked(SimLink link) const;
    OpenHandle* LiveHandleLocked(Handle handle);
    void HandleCommandLocked(SimLink link, const SimReport& report);
    SimReport IdentityReplyLocked() const;
    void PlugLocked(SimLink link, bool plugged);
    bool PressLocked(uint8_t intervalCode, uint8_t level);
    bool QueueInputLocked(SimLink link, const SimReport& report);
    uint64_t NowMsLocked() const;

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    SimOptions options_;
    std::unique_ptr<Clock> ownClock_;
    Clock* clock_ = nullptr;
    uint64_t startMs_ = 0;
    LinkState links_[2];
    int lateAnswers_ = 0;
    SimState state_;
    std::function<void(const SimLogEntry&)> logSink_;
    Handle nextHandle_ = 1;
    std::map<Handle, OpenHandle> handles_;
    std::vector<SimLogEntry> log_;
    std::vector<SimEvent> events_;
};

} // namespace vexmo
