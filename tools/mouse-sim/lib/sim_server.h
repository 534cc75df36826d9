#pragma once
// Serves a SimMouse on a Unix domain socket, one thread per connection. The protocol is in
// tools/mouse-sim/README.md.

#include "sim_mouse.h"

#include <atomic>
#include <condition_variable>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace vexmo {

class SimServer {
public:
    SimServer(SimMouse& mouse, std::string socketPath);
    ~SimServer();
    SimServer(const SimServer&) = delete;
    SimServer& operator=(const SimServer&) = delete;

    // Binds and listens. Refuses a socket another simulator still serves; replaces a stale one.
    bool Start(std::string* error = nullptr);
    // Ends every connection, closes and removes the socket. Idempotent.
    void Stop();
    // Blocks until a client sent "quit", RequestQuit was called or the server stopped.
    void WaitForQuit();
    void RequestQuit();

private:
    struct Connection;
    struct SharedHandle;

    void AcceptLoop();
    void Serve(Connection& conn);
    bool ServeRead(Connection& conn, SimMouse::Handle handle);
    void ServeWatch(Connection& conn);
    bool ClientGone(int fd) const;
    void ReapFinished();

    SimMouse& mouse_;
    const std::string socketPath_;
    int listenFd_ = -1;
    int wakePipe_[2] = {-1, -1};
    std::atomic<bool> stopping_{false};
    std::thread acceptThread_;

    std::mutex mutex_;
    std::condition_variable quitChanged_;
    bool quit_ = false;
    std::list<std::unique_ptr<Connection>> connections_;
    std::map<SimMouse::Handle, std::weak_ptr<SharedHandle>> handles_;
};

} // namespace vexmo
