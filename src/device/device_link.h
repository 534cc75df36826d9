#pragma once
// Finding the mouse among the HID interfaces, keeping its command interfaces open, reading the
// reports it sends by itself, and the primitives every device write goes through.
//
// Everything here runs on the UI thread except the two input readers (one per link). A reader
// only touches its own link's ReaderBusy/ReaderRun/input record and hands every report it keeps
// to the UI thread through UiPost, in arrival order; the handlers therefore run on the UI thread.

#include "device/clock.h"
#include "device/device_ids.h"
#include "device/hid_backend.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <vector>

namespace vexmo {

// One report as it travels over the wire: byte 0 is the report ID.
using Report = std::array<uint8_t, ReportLength>;

// Command code of the identity and status query; its reply is read back with a get-feature.
inline constexpr uint8_t IdentityQueryCommand = 0x20;
// Every command report must be followed by this pause before the next one.
inline constexpr unsigned CommandPauseMs = 60;
// Time the mouse gets to prepare its answer to the identity query.
inline constexpr unsigned IdentityReplyDelayMs = 10;

// One appearance of the mouse (on its cable or behind the receiver).
class LinkRecord {
public:
    explicit LinkRecord(uint16_t productId) : ProductID(productId) {}
    LinkRecord(const LinkRecord&) = delete;
    LinkRecord& operator=(const LinkRecord&) = delete;

    const uint16_t ProductID;

    // Set by the last rescan when the link's command interface was seen.
    int FeaturePresent = 0;
    // Position in the interface list at which the command interface was recorded.
    int FeatureIndex = 0;
    // Path of the command interface; empty when not recorded.
    std::string FeaturePath;
    // Open command interface, or null.
    std::unique_ptr<HidDevice> FeatureHandle;
    // 1 while this link's reader thread runs.
    std::atomic<int> ReaderBusy{0};
    // Set by the reader once it reads; the read loop goes on while it is set.
    std::atomic<int> ReaderRun{0};

    // The notification interface is recorded by rescans and forgotten by the reader when it ends,
    // on two threads, so it is only reached through these.
    int InputIndex() const;
    std::string InputPath() const;
    // Records the interface unless one is recorded already; true when it was recorded.
    bool RecordInputIfNone(int index, const std::string& path);
    void ForgetInput();

private:
    friend class DeviceLink;

    mutable std::mutex inputMutex_;
    int inputIndex_ = 0;
    std::string inputPath_;

    // The reader thread of this link and the device it blocks on, so that shutting down can
    // wake it; readerDevice_ is guarded by readerMutex_.
    std::thread reader_;
    std::mutex readerMutex_;
    HidDevice* readerDevice_ = nullptr;
};

// What the main window plugs into the link. Set them before the first rescan; a reader keeps the
// MouseChangeReport handler it was started with.
struct DeviceLinkHooks {
    // (Re)start the 1-second status timer; called after a rescan that found the mouse.
    std::function<void()> RestartStatusTimer;
    // Mark the button, settings and power groups dirty, suppress the progress window for that
    // apply and arm the deferred apply; called at the end of every rescan.
    std::function<void()> RequestQuietApply;
    // An input report announcing a DPI level or report-rate change made on the mouse itself.
    std::function<void(const Report&)> MouseChangeReport;
    // A reply to the identity query that carries data.
    std::function<void(const Report&)> DecodeIdentityReply;
};

class DeviceLink {
public:
    DeviceLink(HidBackend& backend, Clock& clock, UiPost post);
    // Stops both readers (waking a blocked read) and waits for them, then closes the handles.
    ~DeviceLink();
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    DeviceLinkHooks Hooks;

    LinkRecord CableLink{MouseIdentity.CableProductID};
    LinkRecord ReceiverLink{MouseIdentity.ReceiverProductID};
    // 1 when either link's command interface was seen by the last rescan.
    int Connected = 0;
    // Cleared when the first identity query after a connection is issued; set again when the
    // last link has gone.
    int FirstConnection = 1;
    // Byte 4 of every command report; advances after each use and wraps from 255 to 0.
    uint8_t SequenceNumber = 0;
    // Every outgoing report is built here; only the first ReportLength bytes are sent.
    std::array<uint8_t, 1024> ReportBuffer{};
    // Set whenever a command report is issued during an apply.
    int WrittenFlag = 0;

    // Full discovery: probes the first interfaces, opens or closes each link's command interface,
    // starts the readers, then restarts the status timer (when connected) and asks for a quiet
    // apply.
    void RescanDevices();
    // Examines the interface at one list position and records it if it belongs to the mouse.
    void ProbeInterface(int memberIndex);
    // (Re)opens the link's command interface from its recorded list position.
    void OpenFeatureInterface(LinkRecord& link);
    // Starts the link's reader unless one runs already.
    void StartInputReader(LinkRecord& link);
    bool ReaderRunning(const LinkRecord& link) const { return link.ReaderBusy.load() != 0; }

    // The handle commands go to: the cable's when open, else the receiver's, else null.
    HidDevice* PreferredHandle();
    // Clears ReportBuffer and builds a command report in it:
    // 0x0C, 0x01, code, 0x00, SequenceNumber (then advanced), packet, length, data.
    // At most the bytes that fit in a report are copied from data; length is written as given
    // (a block may carry more bytes than its meaningful length).
    void BuildCommandReport(uint8_t code, uint8_t packet, uint8_t length,
                            std::span<const uint8_t> data);
    void BuildCommandReport(uint8_t code, uint8_t packet, std::span<const uint8_t> data);
    // Sends the first ReportLength bytes of ReportBuffer as a feature report on the preferred
    // handle; nothing is sent when no handle is open. The outcome is deliberately not examined.
    void SendCommandReport();
    // The pause that follows every command report, whether or not anything was sent.
    void PauseAfterCommand();
    // SendCommandReport followed by PauseAfterCommand.
    void SendAndWait();
    // The identity and status exchange; a reply with data goes to Hooks.DecodeIdentityReply.
    // A reply that is not ready yet is asked for once more; any failing call ends the exchange.
    void QueryDeviceInfo();
    // Closes the cable's command interface, then the receiver's.
    void CloseFeatureHandles();

private:
    void ProbePath(int memberIndex, const std::string& path);
    // Path at a list position of a fresh enumeration; empty when there is none.
    std::string PathAt(int memberIndex);
    // Opens a path and keeps the handle only if the interface is still the link's.
    std::unique_ptr<HidDevice> OpenChecked(const std::string& path, uint16_t productId);
    LinkRecord* LinkFor(uint16_t vendorId, uint16_t productId);
    bool RequestIdentity(HidDevice* handle);
    using ChangeHandler = std::function<void(const Report&)>;
    void InputReader(LinkRecord& link, std::unique_ptr<HidDevice> device,
                     std::shared_ptr<const ChangeHandler> onChange);
    void StopReader(LinkRecord& link);

    HidBackend& backend_;
    Clock& clock_;
    UiPost post_;
};

} // namespace vexmo
