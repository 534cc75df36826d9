#include "sim_server.h"

#include "platform/base/sim_wire.h"
#include "sim_control.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace vexmo {

namespace {

// How often a connection blocked on the mouse looks whether its client or the server is gone.
constexpr int kCheckMs = 50;
// A client that does not take its replies within this time is dropped.
constexpr int kSendTimeoutMs = 5000;
constexpr size_t kMaxRequest = 64 * 1024;

} // namespace

struct SimServer::Connection {
    SimLineSocket socket;
    std::thread thread;
    std::atomic<bool> finished{false};
};

// An open handle shared by the connections attached to it; closed with the last of them.
struct SimServer::SharedHandle {
    SharedHandle(SimMouse& m, SimMouse::Handle h) : mouse(m), handle(h) {}
    ~SharedHandle() { mouse.Close(handle); }
    SimMouse& mouse;
    SimMouse::Handle handle;
};

SimServer::SimServer(SimMouse& mouse, std::string socketPath)
    : mouse_(mouse), socketPath_(std::move(socketPath))
{
}

SimServer::~SimServer()
{
    Stop();
}

bool SimServer::Start(std::string* error)
{
    auto fail = [&](const std::string& message) {
        if (error)
            *error = message;
        if (listenFd_ >= 0)
            close(listenFd_);
        listenFd_ = -1;
        return false;
    };
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    if (socketPath_.empty() || socketPath_.size() >= sizeof addr.sun_path)
        return fail("socket path is empty or too long: \"" + socketPath_ + "\"");
    std::memcpy(addr.sun_path, socketPath_.data(), socketPath_.size());

    struct stat st{};
    if (lstat(socketPath_.c_str(), &st) == 0) {
        if (!S_ISSOCK(st.st_mode))
            return fail(socketPath_ + " exists and is not a socket");
        SimLineSocket probe;
        if (probe.Connect(socketPath_, 500))
            return fail("another simulator already serves " + socketPath_);
        unlink(socketPath_.c_str());
    }

    listenFd_ = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listenFd_ < 0)
        return fail(std::string("socket: ") + std::strerror(errno));
    if (bind(listenFd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0)
        return fail("cannot bind " + socketPath_ + ": " + std::strerror(errno));
    if (listen(listenFd_, 64) != 0)
        return fail(std::string("listen: ") + std::strerror(errno));
    if (pipe2(wakePipe_, O_CLOEXEC) != 0)
        return fail(std::string("pipe: ") + std::strerror(errno));
    acceptThread_ = std::thread([this] { AcceptLoop(); });
    return true;
}

void SimServer::Stop()
{
    if (stopping_.exchange(true))
        return;
    if (wakePipe_[1] >= 0) {
        const char c = 0;
        (void)!write(wakePipe_[1], &c, 1);
    }
    if (acceptThread_.joinable())
        acceptThread_.join();
    std::list<std::unique_ptr<Connection>> connections;
    {
        std::lock_guard lock(mutex_);
        for (auto& c : connections_)
            c->socket.Shutdown();
        connections.swap(connections_);
    }
    for (auto& c : connections)
        if (c->thread.joinable())
            c->thread.join();
    connections.clear();
    if (listenFd_ >= 0) {
        close(listenFd_);
        listenFd_ = -1;
        unlink(socketPath_.c_str());
    }
    for (int& fd : wakePipe_)
        if (fd >= 0) {
            close(fd);
            fd = -1;
        }
    RequestQuit();
}

void SimServer::WaitForQuit()
{
    std::unique_lock lock(mutex_);
    quitChanged_.wait(lock, [&] { return quit_; });
}

void SimServer::RequestQuit()
{
    std::lock_guard lock(mutex_);
    quit_ = true;
    quitChanged_.notify_all();
}

void SimServer::ReapFinished()
{
    std::list<std::unique_ptr<Connection>> done;
    {
        std::lock_guard lock(mutex_);
        for (auto it = connections_.begin(); it != connections_.end();) {
            if ((*it)->finished) {
                done.push_back(std::move(*it));
                it = connections_.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (auto& c : done)
        c->thread.join();
}

void SimServer::AcceptLoop()
{
    while (!stopping_) {
        pollfd fds[2] = {{listenFd_, POLLIN, 0}, {wakePipe_[0], POLLIN, 0}};
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (fds[1].revents || stopping_)
            break;
        if (!(fds[0].revents & POLLIN))
            continue;
        int fd = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0)
            continue;
        ReapFinished();
        auto conn = std::make_unique<Connection>();
        conn->socket = SimLineSocket(fd);
        Connection* raw = conn.get();
        std::lock_guard lock(mutex_);
        if (stopping_)
            break;    // conn's socket closes with it
        connections_.push_back(std::move(conn));
        raw->thread = std::thread([this, raw] {
            Serve(*raw);
            raw->socket.Shutdown();
            raw->finished = true;
        });
    }
}

bool SimServer::ClientGone(int fd) const
{
    pollfd p{fd, POLLRDHUP, 0};
    return poll(&p, 1, 0) > 0 && (p.revents & (POLLRDHUP | POLLHUP | POLLERR | POLLNVAL));
}

void SimServer::Serve(Connection& conn)
{
    std::shared_ptr<SharedHandle> handle;
    std::string line;
    auto reply = [&](const std::string& text) { return conn.socket.SendLine(text, kSendTimeoutMs); };

    while (!stopping_ && conn.socket.ReadLine(line, -1, kMaxRequest)) {
        const auto words = SimSplitWords(line);
        const std::string cmd = words.empty() ? std::string() : words[0];
        bool sent = true;

        if (cmd == "enum" && words.size() == 1) {
            std::string text = "ok";
            for (const auto& i : mouse_.Interfaces())
                text += " " + i.path;
            sent = reply(text);
        } else if (cmd == "open" && words.size() == 2) {
            if (handle) {
                sent = reply("err this connection already holds a device");
            } else if (SimMouse::Handle h = mouse_.Open(words[1])) {
                handle = std::make_shared<SharedHandle>(mouse_, h);
                {
                    std::lock_guard lock(mutex_);
                    std::erase_if(handles_, [](const auto& kv) { return kv.second.expired(); });
                    handles_[h] = handle;
                }
                sent = reply("ok " + std::to_string(h));
            } else {
                sent = reply("err cannot open " + words[1]);
            }
        } else if (cmd == "attach" && words.size() == 2) {
            std::shared_ptr<SharedHandle> found;
            {
                std::lock_guard lock(mutex_);
                for (const auto& [id, weak] : handles_)
                    if (std::to_string(id) == words[1])
                        found = weak.lock();
            }
            if (handle || !found) {
                sent = reply(handle ? "err this connection already holds a device"
                                    : "err no such handle");
            } else {
                handle = found;
                sent = reply("ok");
            }
        } else if (cmd == "attributes" || cmd == "caps" || cmd == "set-feature" ||
                   cmd == "get-feature" || cmd == "read") {
            if (!handle) {
                sent = reply("err no device is open on this connection");
            } else if (cmd == "attributes" && words.size() == 1) {
                HidAttributes a;
                char text[64];
                if (mouse_.GetAttributes(handle->handle, a))
                    std::snprintf(text, sizeof text, "ok %04x %04x %04x", a.VendorID,
                                  a.ProductID, a.VersionNumber);
                else
                    std::snprintf(text, sizeof text, "err failed");
                sent = reply(text);
            } else if (cmd == "caps" && words.size() == 1) {
                HidCaps c;
                char text[80];
                if (mouse_.GetCaps(handle->handle, c))
                    std::snprintf(text, sizeof text, "ok %04x %04x %u %u %u", c.UsagePage,
                                  c.Usage, c.InputReportByteLength, c.OutputReportByteLength,
                                  c.FeatureReportByteLength);
                else
                    std::snprintf(text, sizeof text, "err failed");
                sent = reply(text);
            } else if ((cmd == "set-feature" || cmd == "get-feature") && words.size() == 2) {
                auto bytes = SimFromHex(words[1]);
                if (!bytes || bytes->empty()) {
                    sent = reply("err bad hex");
                } else if (cmd == "set-feature") {
                    sent = reply(mouse_.SetFeature(handle->handle, bytes->data(), bytes->size())
                                     ? "ok"
                                     : "err failed");
                } else if (mouse_.GetFeature(handle->handle, bytes->data(), bytes->size())) {
                    sent = reply("ok " + SimToHex(bytes->data(), bytes->size()));
                } else {
                    sent = reply("err failed");
                }
            } else if (cmd == "read" && words.size() == 1) {
                sent = ServeRead(conn, handle->handle);
            } else {
                sent = reply("err bad arguments for " + cmd);
            }
        } else if (cmd == "watch" && words.size() == 1) {
            ServeWatch(conn);
            return;
        } else {
            SimControlCommand command;
            std::string error;
            if (!ParseSimControl(words, command, error)) {
                sent = reply("err " + error);
            } else {
                std::vector<std::string> lines;
                sent = reply(ApplySimControl(mouse_, command, lines));
                for (const auto& l : lines)
                    if (sent)
                        sent = reply(l);
                if (command.kind == SimControlCommand::Kind::Quit)
                    RequestQuit();
            }
        }
        if (!sent)
            return;
    }
}

bool SimServer::ServeRead(Connection& conn, SimMouse::Handle handle)
{
    SimReport report{};
    for (;;) {
        switch (mouse_.Read(handle, report.data(), report.size(), kCheckMs)) {
        case SimMouse::ReadResult::Report:
            return conn.socket.SendLine("ok " + SimToHex(report.data(), report.size()),
                                        kSendTimeoutMs);
        case SimMouse::ReadResult::Failed:
            return conn.socket.SendLine("err failed", kSendTimeoutMs);
        case SimMouse::ReadResult::Timeout:
            if (stopping_ || ClientGone(conn.socket.Fd()))
                return false;
            break;
        }
    }
}

void SimServer::ServeWatch(Connection& conn)
{
    uint64_t seen = mouse_.LastEventSerial();
    if (!conn.socket.SendLine("ok", kSendTimeoutMs))
        return;
    while (!stopping_) {
        for (const auto& e : mouse_.WaitEvents(seen, kCheckMs)) {
            seen = e.serial;
            if (!conn.socket.SendLine((e.arrival ? "arrival " : "removal ") + e.path,
                                      kSendTimeoutMs))
                return;
        }
        if (ClientGone(conn.socket.Fd()))
            return;
    }
}

} // namespace vexmo
