// The main window's start-up, visibility rules and shutdown, with the simulated mouse in process.

#include "app/core/language_texts.h"
#include "app/core/process_values.h"
#include "data/profile_record.h"
#include "data/settings_store.h"
#include "data/stdio_file_ex.h"
#include "device/device_link.h"
#include "mainwindow/vexmo_dlg.h"
#include "sim_backend.h"
#include "sim_mouse.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace vexmo;

namespace {

// Device waits cost nothing here; the log's clock still advances so spacing stays visible.
class InstantClock final : public Clock {
public:
    void SleepMs(unsigned ms) override { now_ += ms; }
    uint64_t NowMs() override { return now_; }

private:
    uint64_t now_ = 0;
};

int CountQueries(const SimMouse& mouse)
{
    int n = 0;
    for (const auto& entry : mouse.Log())
        n += entry.report[2] == 0x20 ? 1 : 0;
    return n;
}

} // namespace

class TestVexmoDlg : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> home_;
    InstantClock clock_;

    QString Data() const { return home_->path() + "/QuorvaneData20230718A/"; }

    static QByteArray ReadAll(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    void WriteSettings(const QString& needPassword)
    {
        QDir().mkpath(Data() + "config");
        SettingsStore store(Data().toStdU16String());
        store.ResetToDefaults(Data().toStdU16String());
        store.SetValue(kSettingNeedPassword, needPassword.toStdU16String());
        QVERIFY(store.Write());
    }

    std::unique_ptr<CVexmoDlg> Start(HidBackend* backend, int w = 1920, int h = 1080)
    {
        MainWindowServices services;
        services.ModuleFolder = QStringLiteral(VEXMO_MODULE_FOLDER).toStdU16String();
        services.Backend = backend;
        services.DeviceClock = &clock_;
        services.ScreenWidth = w;
        services.ScreenHeight = h;
        services.DpiRatio = 1.0f;
        auto dlg = std::make_unique<CVexmoDlg>(services);
        dlg->OnInitDialog();
        return dlg;
    }

private slots:
    void init()
    {
        home_ = std::make_unique<QTemporaryDir>();
        qputenv("LC_ALL", "en_US.UTF-8");
        qputenv("XDG_CONFIG_HOME", home_->path().toUtf8());
        AppSettings = SettingsStore();
    }

    void placement_data()
    {
        QTest::addColumn<int>("sw");
        QTest::addColumn<int>("sh");
        QTest::addColumn<QRect>("expected");
        QTest::newRow("1920x1080") << 1920 << 1080 << QRect(396, 170, 1127, 740);
        QTest::newRow("2560x1440") << 2560 << 1440 << QRect(435, 165, 1690, 1110);
        QTest::newRow("3840x2160") << 3840 << 2160 << QRect(793, 340, 2254, 1480);
        QTest::newRow("smaller than the window") << 1000 << 600 << QRect(0, 0, 1127, 740);
        QTest::newRow("narrower only") << 1100 << 1000 << QRect(0, 130, 1127, 740);
    }

    void placement()
    {
        QFETCH(int, sw);
        QFETCH(int, sh);
        QFETCH(QRect, expected);
        WriteSettings("0");
        auto dlg = Start(nullptr, sw, sh);
        // The window's own rectangle; a frame the window manager adds lies outside it.
        QCOMPARE(QRect(dlg->pos(), dlg->size()), expected);
    }

    void firstRunCreatesFoldersAndSettings()
    {
        auto dlg = Start(nullptr);
        QCOMPARE(QString::fromStdU16String(DataFolder), Data());
        QVERIFY(QFileInfo(Data() + "config").isDir());
        QVERIFY(QFileInfo(Data() + "config/config.ini").isFile());
        // The installed language files are put in place and read.
        for (const char* name : {"Lan_EN.txt", "Lan.txt", "LanSetting.ini"})
            QVERIFY2(QFileInfo(Data() + "config/" + name).isFile(), name);
        QVERIFY(!LanguageTexts[2].empty());
        // The default "NeedPassword" is 1: minimised, then hidden until the mouse asks.
        QCOMPARE(dlg->NeedPasswordValue, 1);
        QCOMPARE(dlg->WindowEnabled, 0);
        QTRY_VERIFY_WITH_TIMEOUT(!dlg->isVisible(), 2000);
    }

    void languageFollowsTheDesktopOnFirstRun()
    {
        qputenv("LC_ALL", "zh_CN.UTF-8");
        auto dlg = Start(nullptr);
        QCOMPARE(LanguageTexts[0], std::u16string(u"中文"));
        QCOMPARE(UiFontName, std::u16string(u"宋体"));
        // The choice is kept: a later start in another locale stays Chinese.
        dlg.reset();
        qputenv("LC_ALL", "en_US.UTF-8");
        LanguageTexts = LanguageTable();
        dlg = Start(nullptr);
        QCOMPARE(LanguageTexts[0], std::u16string(u"中文"));
    }

    void dataFolderWithoutConfigGetsIt()
    {
        QDir().mkpath(Data());
        auto dlg = Start(nullptr);
        QVERIFY(QFileInfo(Data() + "config").isDir());
    }

    void needPasswordRules_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("minimised");
        QTest::addColumn<bool>("staysVisible");
        QTest::newRow("0 shown") << "0" << false << true;
        QTest::newRow("00 parses as 0") << "00" << false << true;
        QTest::newRow("1 minimised then hidden") << "1" << true << false;
        QTest::newRow("2 hidden without minimising") << "2" << false << false;
    }

    void needPasswordRules()
    {
        QFETCH(QString, value);
        QFETCH(bool, minimised);
        QFETCH(bool, staysVisible);
        WriteSettings(value);
        auto dlg = Start(nullptr);
        QCOMPARE(dlg->isMinimized(), minimised);
        QCOMPARE(dlg->DeviceShowFlag, dlg->WindowEnabled);
        // Timer 40 runs every 100 ms.
        if (staysVisible) {
            QTest::qWait(250);
            QVERIFY(dlg->isVisible());
        } else {
            QTRY_VERIFY_WITH_TIMEOUT(!dlg->isVisible(), 3000);
        }
    }

    void mouseRevealsAndRehidesTheWindow()
    {
        WriteSettings("1");
        SimOptions options;
        options.showBit = 0;
        SimMouse mouse(options);
        SimHidBackend backend(mouse);
        auto dlg = Start(&backend);
        QCOMPARE(CountQueries(mouse), 1); // the first identity query after connecting
        QTRY_VERIFY_WITH_TIMEOUT(!dlg->isVisible(), 2000);

        // A second copy of the program asks for the window: the mouse has not allowed it, so
        // the window stays hidden and the mouse is asked instead.
        QCOMPARE(dlg->OnBringForward(), 0L);
        QCOMPARE(CountQueries(mouse), 2);
        QVERIFY(!dlg->isVisible());

        // Now the mouse allows it: the next answer reveals the window.
        mouse.SetShowBit(1);
        dlg->OnBringForward();
        QCOMPARE(dlg->WindowEnabled, 1);
        QCOMPARE(dlg->ShownByDevice, 1);
        QVERIFY(dlg->isVisible());
        QVERIFY(!dlg->isMinimized());

        // Bring-forward now just shows it, without asking the mouse.
        dlg->OnBringForward();
        QCOMPARE(CountQueries(mouse), 3);

        // The mouse withdraws its permission: minimised but still enabled, so not hidden.
        mouse.SetShowBit(0);
        dlg->Link()->QueryDeviceInfo();
        QCOMPARE(dlg->ShownByDevice, 0);
        QCOMPARE(dlg->WindowEnabled, 1);
        QVERIFY(dlg->isMinimized());
        QTest::qWait(250);
        QVERIFY(dlg->isVisible());
    }

    void answerWithoutMarkChangesNoVisibility()
    {
        WriteSettings("1");
        SimMouse mouse;
        SimHidBackend backend(mouse);
        auto dlg = Start(&backend);
        // The simulated mouse allows the window from the start; its first answer reveals it.
        QCOMPARE(dlg->WindowEnabled, 1);
        QCOMPARE(dlg->ShownByDevice, 1);
    }

    void lastLinkRemovedEndsTheProgram()
    {
        WriteSettings("0");
        SimOptions options;
        options.receiver = true;
        SimMouse mouse(options);
        SimHidBackend backend(mouse);
        auto dlg = Start(&backend);
        QVERIFY(dlg->Link()->Connected);

        // Losing the cable leaves the receiver: the program goes on.
        mouse.Unplug(SimLink::Cable);
        dlg->OnDeviceRemoval();
        QVERIFY(dlg->Link()->Connected);
        QVERIFY(dlg->isVisible());

        // Losing the last link ends the run (exit code 0), not the fallback timer (code 7).
        mouse.Unplug(SimLink::Receiver);
        QTimer::singleShot(0, dlg.get(), [&] { dlg->OnDeviceRemoval(); });
        QTimer::singleShot(3000, [] { QCoreApplication::exit(7); });
        QCOMPARE(QCoreApplication::exec(), 0);
        QCOMPARE(dlg->WindowEnabled, 0);
        QCOMPARE(dlg->Link()->FirstConnection, 1);
        QVERIFY(!dlg->isVisible());
    }

    void shutdownFlushesAPendingSaveAndClosesHandles()
    {
        WriteSettings("0");
        SimMouse mouse;
        SimHidBackend backend(mouse);
        auto dlg = Start(&backend);
        const QString profile1 = Data() + "config/default1.psf";
        const QByteArray before = ReadAll(profile1);

        // A change made less than 10 s before closing is still saved.
        CurrentProfileIndex = 1;
        SetProfileName(ProfileTable[1], u"Changed just before closing");
        dlg->SetTimer(kTimerDeferredSave, 10000);
        QVERIFY(dlg->Link()->CableLink.FeatureHandle);
        dlg->OnDestroy();
        QVERIFY(ReadAll(profile1) != before);
        const std::u16string name = u"Changed just before closing";
        QVERIFY(ReadAll(profile1).contains(
            QByteArray(reinterpret_cast<const char*>(name.data()), qsizetype(name.size() * 2))));
        SettingsStore saved(Data().toStdU16String());
        QVERIFY(saved.Read());
        QCOMPARE(saved.GetCurrentProfile(), 1);
        QVERIFY(!dlg->Link()->CableLink.FeatureHandle);

        // Without a pending save nothing is written.
        const QByteArray saved1 = ReadAll(profile1);
        auto second = Start(&backend);
        SetProfileName(ProfileTable[1], u"Not saved");
        second->OnDestroy();
        QCOMPARE(ReadAll(profile1), saved1);
        CurrentProfileIndex = 0;
    }
};

QTEST_MAIN(TestVexmoDlg)
#include "test_vexmo_dlg.moc"
