#include "mainwindow/vexmo_dlg.h"

#include "app/core/language_texts.h"
#include "app/core/process_values.h"
#include "data/dpi_tables.h"
#include "data/profile_record.h"
#include "data/profile_store.h"
#include "data/sensor_id.h"
#include "data/settings_store.h"
#include "data/text_format.h"
#include "macros/macro_library_file.h"
#include "device/clock.h"
#include "device/device_link.h"
#include "device/identity_reply.h"
#include "platform/folders.h"
#include "platform/screen.h"
#include "platform/timer_table.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QIcon>
#include <QMetaObject>
#include <QPainter>

namespace vexmo {

CVexmoDlg::CVexmoDlg(MainWindowServices services, QWidget* parent)
    : QDialog(parent, Qt::Window), services_(services)
{
    timers_ = std::make_unique<TimerTable>([this](int id) { OnTimer(id); }, this);
    setWindowTitle(QStringLiteral("vexmo"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

CVexmoDlg::~CVexmoDlg()
{
    OnDestroy();
}

bool CVexmoDlg::OnInitDialog()
{
    // Folders first: everything after reads or writes below them.
    ModuleFolder = services_.ModuleFolder.empty() ? FindModuleFolder() : services_.ModuleFolder;
    DataFolder = PrepareDataFolder();
    InstallMissingDataFiles(ModuleFolder, DataFolder);

    if (services_.ScreenWidth <= 0 || services_.ScreenHeight <= 0) {
        const QSize screen = FullScreenSize();
        services_.ScreenWidth = screen.width();
        services_.ScreenHeight = screen.height();
    }
    UiScale = ChooseUiScale(services_.ScreenWidth, services_.ScreenHeight);
    DpiRatio = services_.DpiRatio > 0.0f ? services_.DpiRatio : ScreenDpiRatio();

    LoadLanguage();
    LoadMainMacroLibrary();
    LoadSettingsAndProfiles(AppSettings);
    RebuildDpiTables(SensorId);

    setWindowIcon(QIcon(QStringLiteral(":/icon/128")));
    PlaceWindow();
    show();

    NeedPasswordValue = ParseDecimal(AppSettings.GetValue(kSettingNeedPassword));
    WindowEnabled = NeedPasswordValue == 0 ? 1 : 0;
    DeviceShowFlag = WindowEnabled;
    if (NeedPasswordValue == 1)
        Minimise();

    StartDeviceLink();

    background_ = QImage(QStringLiteral(":/bitmap/364"));

    SetTimer(kTimerKeepHidden, 100);
    SetTimer(kTimerConnectNotice, 2000);
    return true;
}

void CVexmoDlg::PlaceWindow()
{
    const int width = static_cast<int>(1127 * UiScale);
    const int height = static_cast<int>(740 * UiScale);
    const int x = services_.ScreenWidth > width ? static_cast<int>((services_.ScreenWidth - width) * 0.5) : 0;
    const int y = services_.ScreenHeight > height ? static_cast<int>((services_.ScreenHeight - height) * 0.5) : 0;
    setFixedSize(width, height);
    move(x, y);
}

void CVexmoDlg::BringToFront()
{
    showNormal();
    raise();
    activateWindow();
}

void CVexmoDlg::Minimise()
{
    showMinimized();
}

void CVexmoDlg::StartDeviceLink()
{
    if (!services_.Backend || !services_.DeviceClock)
        return;
    // Reader threads hand their reports over through the event queue, so every handler runs on
    // the UI thread in the order the reports came.
    UiPost post = [this](std::function<void()> work) {
        QMetaObject::invokeMethod(this, std::move(work), Qt::QueuedConnection);
    };
    link_ = std::make_unique<DeviceLink>(*services_.Backend, *services_.DeviceClock, std::move(post));
    link_->Hooks.RestartStatusTimer = [this] { SetTimer(kTimerStatus, 1000); };
    link_->Hooks.RequestQuietApply = [this] { RequestQuietApply(); };
    link_->Hooks.MouseChangeReport = [this](const Report& report) { OnMouseChangeReport(report); };
    link_->Hooks.DecodeIdentityReply = [this](const Report& reply) { DecodeIdentityReply(reply); };

    link_->RescanDevices();
    if (link_->Connected && link_->FirstConnection) {
        link_->FirstConnection = 0;
        link_->QueryDeviceInfo();
    }
}

void CVexmoDlg::DecodeIdentityReply(const Report& reply)
{
    const auto status = ParseIdentityReply(reply);
    if (!status)
        return;
    if (status->MarkFound)
        ApplyDeviceShowBit(status->ShowBit);
    // Sensor, battery and charging state are taken over with the device status display.
}

void CVexmoDlg::OnMouseChangeReport(const Report&)
{
    // Taken over with the device status display and the on-screen display.
}

void CVexmoDlg::RequestQuietApply()
{
    // Completed by the deferred apply, which writes the marked groups 20 ms later.
}

long CVexmoDlg::OnBringForward()
{
    if (WindowEnabled && DeviceShowFlag)
        BringToFront();
    else if (link_)
        link_->QueryDeviceInfo(); // its answer may reveal the window
    return 0;
}

void CVexmoDlg::ApplyDeviceShowBit(bool show)
{
    DeviceShowFlag = show ? 1 : 0;
    if (WindowEnabled == 0 && show) {
        ShownByDevice = 1;
        WindowEnabled = 1;
        BringToFront();
    } else if (WindowEnabled == 1 && !show && ShownByDevice == 1) {
        // Stays enabled, so timer 40 leaves the minimised window alone.
        ShownByDevice = 0;
        Minimise();
    }
}

void CVexmoDlg::OnDeviceArrival()
{
    if (!link_ || (link_->CableLink.FeaturePresent && link_->ReceiverLink.FeaturePresent))
        return;
    link_->RescanDevices();
    if (link_->Connected && link_->FirstConnection) {
        link_->FirstConnection = 0;
        link_->QueryDeviceInfo();
    }
}

void CVexmoDlg::OnDeviceRemoval()
{
    if (!link_ || (!link_->CableLink.FeaturePresent && !link_->ReceiverLink.FeaturePresent))
        return;
    link_->RescanDevices();
    if (!link_->Connected) {
        // The last mouse link has gone: the program ends with it.
        link_->FirstConnection = 1;
        WindowEnabled = 0;
        hide();
        QCoreApplication::exit(0);
    }
}

void CVexmoDlg::OnTimer(int id)
{
    switch (id) {
    case kTimerKeepHidden:
        if (WindowEnabled == 0 && isVisible())
            hide();
        break;
    case kTimerConnectNotice:
        KillTimer(kTimerConnectNotice);
        break;
    default:
        break;
    }
}

void CVexmoDlg::OnDestroy()
{
    if (destroyed_)
        return;
    destroyed_ = true;
    for (int id : {kTimerKeepHidden, kTimerConnectNotice, kTimerStatus})
        KillTimer(id);
    if (services_.DeviceClock)
        services_.DeviceClock->SleepMs(50);
    if (IsTimerRunning(kTimerDeferredSave)) {
        KillTimer(kTimerDeferredSave);
        AppSettings.StoreCurrentProfile(CurrentProfileIndex);
        WriteAllProfileFiles(AppSettings);
    }
    if (link_)
        link_->CloseFeatureHandles();
}

void CVexmoDlg::SetTimer(int id, int periodMs)
{
    timers_->SetTimer(id, periodMs);
}

void CVexmoDlg::KillTimer(int id)
{
    timers_->KillTimer(id);
}

bool CVexmoDlg::IsTimerRunning(int id) const
{
    return timers_->IsRunning(id);
}

void CVexmoDlg::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (background_.isNull())
        painter.fillRect(rect(), QColor(0x4B, 0x4B, 0x4B));
    else
        painter.drawImage(rect(), background_);
}

void CVexmoDlg::closeEvent(QCloseEvent* event)
{
    // The window manager's close is the exit button: the whole program ends.
    event->ignore();
    QCoreApplication::exit(0);
}

void CVexmoDlg::reject()
{
    // Escape does not close the main window.
}

} // namespace vexmo
