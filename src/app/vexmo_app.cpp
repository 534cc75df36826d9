#include "app/vexmo_app.h"

#include "mainwindow/vexmo_dlg.h"
#include "platform/base/system_clock.h"
#include "platform/quit_signals.h"
#include "platform/single_instance.h"

#include <QApplication>

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
    MainWindowServices services;
    services.DeviceClock = &clock;

    CVexmoDlg dlg(services);
    dlg.OnInitDialog();
    instance.Listen([&dlg](int) { return dlg.OnBringForward(); });
    InstallQuitSignals([] { QCoreApplication::exit(0); });

    exitCode_ = QApplication::exec();
    dlg.OnDestroy();
    return false;
}

} // namespace vexmo
