#pragma once
// The line-based connection to vexmo-mouse-sim's socket: one text line per request, one per
// reply (see tools/mouse-sim/README.md), payloads as hex. Shared by the program's simulated
// HID backend, its watch connection, the simulator itself and its control command.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vexmo {

// The socket named by VEXMO_MOUSE_SIM; empty when the variable is unset or empty.
std::string SimSocketPathFromEnv();

std::string SimToHex(const uint8_t* data, size_t len);
// Lower or upper case, even length; nullopt otherwise.
std::optional<std::vector<uint8_t>> SimFromHex(const std::string& hex);

// Splits at runs of spaces.
std::vector<std::string> SimSplitWords(const std::string& line);

// A connected Unix stream socket read and written a line at a time. Owns the descriptor.
class SimLineSocket {
public:
    SimLineSocket() = default;
    explicit SimLineSocket(int fd) : fd_(fd) {}
    ~SimLineSocket();
    SimLineSocket(const SimLineSocket&) = delete;
    SimLineSocket& operator=(const SimLineSocket&) = delete;
    SimLineSocket(SimLineSocket&& other) noexcept;
    SimLineSocket& operator=(SimLineSocket&& other) noexcept;

    // Connects to the socket at path; false with a message in *error when it cannot.
    bool Connect(const std::string& path, int timeoutMs, std::string* error = nullptr);
    bool IsOpen() const { return fd_ >= 0; }
    int Fd() const { return fd_; }

    // Sends line + '\n'. False when the peer is gone or the send times out.
    bool SendLine(const std::string& line, int timeoutMs);
    // Reads up to the next '\n' (not included). timeoutMs < 0 waits without limit. False on
    // end of stream, error, timeout, or a line longer than maxLength.
    bool ReadLine(std::string& line, int timeoutMs, size_t maxLength = 1 << 20);
    // True when a whole line is already buffered, so ReadLine will not touch the socket.
    bool HasBufferedLine() const;
    // Sends a request and reads its reply line.
    bool Request(const std::string& line, std::string& reply, int timeoutMs);

    // Ends both directions: a ReadLine blocked on another thread returns false. The
    // descriptor stays valid until Close or destruction.
    void Shutdown();
    void Close();

private:
    int fd_ = -1;
    std::string buffer_;
};

} // namespace vexmo
