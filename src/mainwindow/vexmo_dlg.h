#pragma once
// The main window: brings the program up in its fixed order, keeps the window's visibility rules
// and owns the link to the mouse.

#include <QDialog>
#include <QImage>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace vexmo {

class Clock;
class DeviceLink;
class HidBackend;
class TimerTable;

// Message and timer numbers of the main window.
inline constexpr int kTimerKeepHidden = 40;   // 100 ms: hides the window while not enabled
inline constexpr int kTimerConnectNotice = 80; // 2000 ms, once
inline constexpr int kTimerDeferredSave = 70;
inline constexpr int kTimerStatus = 110;

// What the main window needs from the machine; tests hand in the simulated mouse and a fake clock.
struct MainWindowServices {
    // Folder of the installed data (skins/, config/); found beside the executable when empty.
    std::u16string ModuleFolder;
    HidBackend* Backend = nullptr;
    Clock* DeviceClock = nullptr;
    // Full-screen size and logical DPI ratio; taken from the primary screen when not set.
    int ScreenWidth = 0;
    int ScreenHeight = 0;
    float DpiRatio = 0.0f;
};

class CVexmoDlg : public QDialog {
    Q_OBJECT
public:
    explicit CVexmoDlg(MainWindowServices services, QWidget* parent = nullptr);
    ~CVexmoDlg() override;

    // Runs once before the window is first shown; always true.
    bool OnInitDialog();
    // Message 2999: a second copy of the program asks for this window.
    long OnBringForward();
    // The shutdown sequence; runs once, when the modal run has ended.
    void OnDestroy();

    // The mouse's answer to the identity query carried its show bit.
    void ApplyDeviceShowBit(bool show);

    // Device hot-plug notifications (any HID interface, not only the mouse's).
    void OnDeviceArrival();
    void OnDeviceRemoval();

    // The link to the mouse; null when no backend was given.
    DeviceLink* Link() { return link_.get(); }

    void SetTimer(int id, int periodMs);
    void KillTimer(int id);
    bool IsTimerRunning(int id) const;

    // Visibility state (observable by tests).
    int NeedPasswordValue = 0;
    int WindowEnabled = 0;
    int DeviceShowFlag = 0;
    int ShownByDevice = 0;

protected:
    void OnTimer(int id);
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void StartDeviceLink();
    // The answer to the identity query.
    void DecodeIdentityReply(const std::array<uint8_t, 33>& reply);
    // The mouse changed its DPI level or report rate with its own buttons.
    void OnMouseChangeReport(const std::array<uint8_t, 33>& report);
    // Every rescan asks for the settings to be written again, without the progress window.
    void RequestQuietApply();
    void PlaceWindow();
    void BringToFront();
    void Minimise();

    MainWindowServices services_;
    std::unique_ptr<TimerTable> timers_;
    std::unique_ptr<DeviceLink> link_;
    QImage background_;
    bool destroyed_ = false;
};

} // namespace vexmo
