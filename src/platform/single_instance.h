#pragma once
// One running copy per user: a lock file named after the instance mutex, and a local socket named
// after the main window class through which a second copy asks the first to come forward.

#include <QLocalServer>
#include <QLockFile>
#include <QObject>

#include <functional>
#include <memory>

namespace vexmo {

inline constexpr const char* kInstanceMutexName = "20210610 Mouse 33XX";
inline constexpr const char* kMainWindowClass = "Quorvane_Pyx";
inline constexpr int kMsgBringForward = 2999;

class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QObject* parent = nullptr);
    ~SingleInstance() override;

    // Takes the instance lock. False when another copy holds it.
    bool Acquire();

    // For a second copy: sends message 2999 to the running copy's window and waits for its
    // answer. Returns false (and sends nothing) when no window is listening yet.
    static bool SendBringForward(int timeoutMs = 5000);

    // For the running copy: starts listening; every message that arrives is handed to the
    // handler on the UI thread and its result sent back.
    bool Listen(std::function<long(int message)> handler);

    // The per-user folder holding the lock file and the socket.
    static QString RuntimeFolder();

private:
    std::unique_ptr<QLockFile> lock_;
    QLocalServer server_;
    std::function<long(int)> handler_;
};

} // namespace vexmo
