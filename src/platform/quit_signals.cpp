#include "platform/quit_signals.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace vexmo {

namespace {

int g_signalPipe[2] = {-1, -1};

void OnSignal(int)
{
    const char byte = 1;
    // Only async-signal-safe work here; the UI thread does the rest.
    [[maybe_unused]] const ssize_t n = ::write(g_signalPipe[1], &byte, 1);
}

} // namespace

void InstallQuitSignals(std::function<void()> onQuit)
{
    if (g_signalPipe[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signalPipe) != 0)
        return;
    auto* notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [onQuit = std::move(onQuit)] {
        char buffer[16];
        [[maybe_unused]] const ssize_t n = ::read(g_signalPipe[0], buffer, sizeof buffer);
        onQuit();
    });
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(sig, &action, nullptr);
}

} // namespace vexmo
