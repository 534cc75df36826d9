#pragma once
// HID backend and device events of vexmo-mouse-sim, reached through its Unix socket. Used
// instead of hidraw and udev when VEXMO_MOUSE_SIM names the socket.

#include "device/hid_backend.h"
#include "platform/base/sim_wire.h"

#include <atomic>
#include <mutex>
#include <string>

namespace vexmo {

// Every call makes or uses its own connection, so a blocked Read holds up nothing else. A
// simulator that is gone or does not answer within timeoutMs makes calls fail; only Read
// waits without limit, until a report, an unplug, CancelRead or the end of the connection.
class SimSocketBackend : public HidBackend {
public:
    explicit SimSocketBackend(std::string socketPath, int timeoutMs = 3000);
    std::vector<std::string> EnumerateInterfaces() override;
    std::unique_ptr<HidDevice> Open(const std::string& path) override;

private:
    std::string socketPath_;
    int timeoutMs_;
};

struct SimDeviceEvent {
    bool arrival = true;   // false: removal
    std::string path;
};

// The simulator's arrival and removal events. Either block in Next, or poll Fd() for reading
// and then take what came with Drain.
class SimWatch {
public:
    SimWatch() = default;
    bool Connect(const std::string& socketPath, int timeoutMs = 3000, std::string* error = nullptr);
    bool IsOpen() const { return socket_.IsOpen(); }
    int Fd() const { return socket_.Fd(); }
    // Waits for the next event (timeoutMs < 0: without limit). False on timeout, when the
    // connection has ended, or after Interrupt.
    bool Next(SimDeviceEvent& event, int timeoutMs = -1);
    // The events that have arrived, without waiting. *ended is set when the simulator has
    // gone; the watch is then closed.
    std::vector<SimDeviceEvent> Drain(bool* ended = nullptr);
    // Makes a blocked Next return false; safe from any thread.
    void Interrupt() { socket_.Shutdown(); }
    void Close() { socket_.Close(); }

private:
    static bool Parse(const std::string& line, SimDeviceEvent& event);
    SimLineSocket socket_;
};

} // namespace vexmo
