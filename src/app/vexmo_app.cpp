#include "app/vexmo_app.h"

#include "mainwindow/vexmo_dlg.h"
#include "platform/base/system_clock.h"
#include "platform/device_services.h"
#include "platform/quit_signals.h"
#include "platform/single_instance.h"

#include <QApplication>

#include <cstdio>

namespace vexmo {

bool CVexmoApp::InitInstance()
{
    SingleInstance instance;
    if (!instance.Acquire()) {
        // Another copy runs: ask its window to come forward, if it has one yet, and end.
        SingleInstance::SendBringForward();
        return false;
    }

    SystemClock clock;
    DeviceServices devices = CreateDeviceServices();
    if (devices.Simulated)
        std::fprintf(stderr, "vexmo: using the simulated mouse instead of hidraw (VEXMO_MOUSE_SIM)\n");
    MainWindowServices services;
    services.DeviceClock = &clock;
    services.Backend = devices.Backend.get();

    CVexmoDlg dlg(services);
    dlg.OnInitDialog();
    QObject::connect(devices.Hotplug.get(), &HotplugSource::deviceArrived, &dlg, &CVexmoDlg::OnDeviceArrival);
    QObject::connect(devices.Hotplug.get(), &HotplugSource::deviceRemoved, &dlg, &CVexmoDlg::OnDeviceRemoval);
    instance.Listen([&dlg](int) { return dlg.OnBringForward(); });
    InstallQuitSignals([] { QCoreApplication::exit(0); });

    exitCode_ = QApplication::exec();
    dlg.OnDestroy();
    return false;
}

} // namespace vexmo
