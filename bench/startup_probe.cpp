// Started by scripts/bench with the launch time (CLOCK_MONOTONIC, ns) as its last argument.
// Prints the milliseconds from that launch to the moment the window is exposed, then exits.
//   bench_startup vexmo LAUNCH_NS   the main window, brought up as the program does
//   bench_startup bare LAUNCH_NS    an empty QWidget of the same size, for comparison

#include "mainwindow/vexmo_dlg.h"
#include "platform/base/system_clock.h"
#include "platform/screen.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

double MsSince(long long launchNs)
{
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const long long nowNs = static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
    return static_cast<double>(nowNs - launchNs) / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_startup vexmo|bare LAUNCH_NS\n");
        return 2;
    }
    const bool bare = std::strcmp(argv[1], "bare") == 0;
    const long long launchNs = std::atoll(argv[2]);

    vexmo::DisableToolkitScaling();
    QApplication app(argc, argv);
    if (bare) {
        QWidget window;
        window.resize(1127, 740);
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            return 1;
        std::printf("%.2f\n", MsSince(launchNs));
        return 0;
    }
    vexmo::SystemClock clock;
    vexmo::MainWindowServices services;
    services.DeviceClock = &clock;
    vexmo::CVexmoDlg dlg(services);
    dlg.OnInitDialog();
    if (!QTest::qWaitForWindowExposed(&dlg))
        return 1;
    std::printf("%.2f\n", MsSince(launchNs));
    return 0;
}
