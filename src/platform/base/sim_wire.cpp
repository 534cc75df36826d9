#include "platform/base/sim_wire.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace vexmo {

namespace {

using SteadyClock = std::chrono::steady_clock;

// Milliseconds left until deadline for poll(); -1 when there is no deadline.
int Remaining(bool limited, SteadyClock::time_point deadline)
{
    if (!limited)
        return -1;
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyClock::now());
    return left.count() > 0 ? int(left.count()) : 0;
}

bool WaitFor(int fd, short events, bool limited, SteadyClock::time_point deadline)
{
    for (;;) {
        pollfd p{fd, events, 0};
        int r = poll(&p, 1, Remaining(limited, deadline));
        if (r > 0)
            return true;
        if (r == 0)
            return false;
        if (errno != EINTR)
            return false;
    }
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

std::string SimSocketPathFromEnv()
{
    const char* value = std::getenv("VEXMO_MOUSE_SIM");
    return value ? std::string(value) : std::string();
}

std::string SimToHex(const uint8_t* data, size_t len)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    out.reserve(len * 2);
    for (size_t i = 0; i < len; ++i) {
        out += digits[data[i] >> 4];
        out += digits[data[i] & 0x0F];
    }
    return out;
}

std::optional<std::vector<uint8_t>> SimFromHex(const std::string& hex)
{
    if (hex.size() % 2 != 0)
        return std::nullopt;
    std::vector<uint8_t> out(hex.size() / 2);
    for (size_t i = 0; i < out.size(); ++i) {
        int hi = HexDigit(hex[2 * i]);
        int lo = HexDigit(hex[2 * i + 1]);
        if (hi < 0 || lo < 0)
            return std::nullopt;
        out[i] = uint8_t(hi << 4 | lo);
    }
    return out;
}

std::vector<std::string> SimSplitWords(const std::string& line)
{
    std::vector<std::string> words;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && line[i] == ' ')
            ++i;
        size_t start = i;
        while (i < line.size() && line[i] != ' ')
            ++i;
        if (i > start)
            words.push_back(line.substr(start, i - start));
    }
    return words;
}

SimLineSocket::~SimLineSocket()
{
    Close();
}

SimLineSocket::SimLineSocket(SimLineSocket&& other) noexcept
    : fd_(other.fd_), buffer_(std::move(other.buffer_))
{
    other.fd_ = -1;
}

SimLineSocket& SimLineSocket::operator=(SimLineSocket&& other) noexcept
{
    if (this != &other) {
        Close();
        fd_ = other.fd_;
        buffer_ = std::move(other.buffer_);
        other.fd_ = -1;
    }
    return *this;
}

bool SimLineSocket::Connect(const std::string& path, int timeoutMs, std::string* error)
{
    Close();
    auto fail = [&](const std::string& message) {
        if (error)
            *error = message;
        Close();
        return false;
    };
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof addr.sun_path)
        return fail("bad socket path \"" + path + "\"");
    std::memcpy(addr.sun_path, path.data(), path.size());

    fd_ = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd_ < 0)
        return fail(std::string("socket: ") + std::strerror(errno));
    if (connect(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        if (errno != EINPROGRESS && errno != EAGAIN)
            return fail("cannot connect to " + path + ": " + std::strerror(errno));
        const auto deadline = SteadyClock::now() + std::chrono::milliseconds(timeoutMs);
        if (!WaitFor(fd_, POLLOUT, timeoutMs >= 0, deadline))
            return fail("cannot connect to " + path + ": timed out");
        int soError = 0;
        socklen_t len = sizeof soError;
        getsockopt(fd_, SOL_SOCKET, SO_ERROR, &soError, &len);
        if (soError != 0)
            return fail("cannot connect to " + path + ": " + std::strerror(soError));
    }
    return true;
}

bool SimLineSocket::SendLine(const std::string& line, int timeoutMs)
{
    if (fd_ < 0)
        return false;
    const std::string data = line + '\n';
    const bool limited = timeoutMs >= 0;
    const auto deadline = SteadyClock::now() + std::chrono::milliseconds(limited ? timeoutMs : 0);
    size_t sent = 0;
    while (sent < data.size()) {
        ssize_t n = send(fd_, data.data() + sent, data.size() - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            sent += size_t(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!WaitFor(fd_, POLLOUT, limited, deadline))
                return false;
            continue;
        }
        return false;
    }
    return true;
}

bool SimLineSocket::HasBufferedLine() const
{
    return buffer_.find('\n') != std::string::npos;
}

bool SimLineSocket::ReadLine(std::string& line, int timeoutMs, size_t maxLength)
{
    if (fd_ < 0)
        return false;
    const bool limited = timeoutMs >= 0;
    const auto deadline = SteadyClock::now() + std::chrono::milliseconds(limited ? timeoutMs : 0);
    for (;;) {
        size_t end = buffer_.find('\n');
        if (end != std::string::npos) {
            if (end > maxLength)
                return false;
            line = buffer_.substr(0, end);
            buffer_.erase(0, end + 1);
            return true;
        }
        if (buffer_.size() > maxLength)
            return false;
        char chunk[4096];
        ssize_t n = recv(fd_, chunk, sizeof chunk, MSG_DONTWAIT);
        if (n > 0) {
            buffer_.append(chunk, size_t(n));
            continue;
        }
        if (n == 0)
            return false;
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK)
            return false;
        if (!WaitFor(fd_, POLLIN, limited, deadline))
            return false;
    }
}

bool SimLineSocket::Request(const std::string& line, std::string& reply, int timeoutMs)
{
    return SendLine(line, timeoutMs) && ReadLine(reply, timeoutMs);
}

void SimLineSocket::Shutdown()
{
    if (fd_ >= 0)
        shutdown(fd_, SHUT_RDWR);
}

void SimLineSocket::Close()
{
    if (fd_ >= 0) {
        close(fd_);
        fd_ = -1;
    }
    buffer_.clear();
}

} // namespace vexmo
