// Full repaint of a skinned window the size of the main window: its layout (90 controls, the
// start-up sections open) plus 30 more controls of every kind, 120 in all, with the generated
// skins. Times, at UiScale 1, 1.5 and 2:
//   BM_Repaint         the off-screen picture: back buffer, DrawWindow (background, frames,
//                      section placement) and DrawControls
//   BM_RepaintAndBlit  the same through the window's paint event, with the copy to the window
//   BM_FrameDecode     reading the section frame file, which the main window does on every paint
// Counters: controls held and drawn, and the process's peak resident memory (VmHWM, MiB).
// Runs on Qt's off-screen platform unless QT_QPA_PLATFORM says otherwise.

#include "main_layout_dlg.h"

#include "app/core/language_texts.h"
#include "app/core/process_values.h"
#include "platform/screen.h"
#include "resources/init_resources.h"
#include "ui/battery.h"
#include "ui/check_button.h"
#include "ui/combo_button.h"
#include "ui/dpi_value_show_control.h"
#include "ui/image_button.h"
#include "ui/image_loading.h"
#include "ui/power_manage_button.h"
#include "ui/radio_button.h"
#include "ui/slider_control.h"
#include "ui/static_controls.h"
#include "ui/tab_control.h"
#include "ui/ui_font.h"
#include "ui/vscroll_bar.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

namespace {

using namespace vexmo;
using gallery::CMainLayoutDlg;

QString g_moduleFolder;
LanguageTable g_texts;

// Peak resident memory of the process in MiB; 0 when /proc cannot be read.
double PeakMemoryMiB()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0;
    }
    return 0.0;
}

float ScaleOf(const benchmark::State& state)
{
    return static_cast<float>(state.range(0)) / 10.0f;
}

UiRect Scaled(int x, int y, int w, int h)
{
    return UiRect::Scaled(x, y, w, h, UiScale);
}

// Thirty more controls in the free middle strips of the window, so that every kind is there
// more than once.
void AddExtraControls(CMainLayoutDlg& dlg)
{
    const float s = UiScale;
    auto skin = [&](const QString& name) { return dlg.Skin(QStringLiteral("skins/") + name); };
    std::uint32_t id = 5000;

    for (int k = 0; k < 2; ++k) {
        auto* bar = dlg.AddControl(0, std::make_unique<CVScrollBar>(&dlg, id++, Scaled(420 + 22 * k, 60, 18, 271)));
        bar->LoadArrows();
        bar->SetScrollInfo(10 * k, 12, 40);
    }
    for (int k = 0; k < 2; ++k) {
        auto* combo =
            dlg.AddControl(0, std::make_unique<CComboButton>(&dlg, 1166, id++, Scaled(300, 345 + 20 * k, 117, 14),
                                                             QString(), kTextCenter, true, true, false, dlg.Text(197)));
        combo->LoadNormalImage(skin("combo3_nr.png"));
        combo->LoadHoverImage(skin("combo3_ov.png"));
    }
    for (int k = 0; k < 3; ++k) {
        auto* radio = dlg.AddControl(0, std::make_unique<CRadioButton>(&dlg, 2031 + static_cast<std::uint32_t>(k),
                                                                       Scaled(300, 390 + 22 * k, 15, 15)));
        radio->LoadNormalImage(skin("radio_nr.png"));
        radio->LoadHoverImage(skin("radio_ov.png"));
        radio->LoadPressedImage(skin("radio_dn.png"));
    }
    auto* record =
        dlg.AddControl(0, std::make_unique<CCheckButton>(&dlg, id++, Scaled(300, 60, 90, 18), QString(), kTextCenter));
    record->LoadNormalImage(skin("macro_record_nr.png"));
    record->LoadHoverImage(skin("macro_record_nr.png"));
    record->LoadPressedImage(skin("macro_record_dn.png"));
    record->SetTexts(dlg.Text(198), dlg.Text(199));
    auto* delays = dlg.AddControl(0, std::make_unique<CCheckButton>(&dlg, id++, Scaled(300, 85, 11, 11), QString(), 0));
    delays->LoadNormalImage(skin("check_nr.png"));
    delays->LoadHoverImage(skin("check_ov.png"));
    delays->LoadPressedImage(skin("check_dn.png"));
    delays->Checked = true;
    for (int k = 0; k < 6; ++k) {
        auto* button = dlg.AddControl(
            0, std::make_unique<CImageButton>(&dlg, id++, Scaled(700 + 70 * (k % 2), 60 + 30 * (k / 2), 65, 23),
                                              dlg.Text(200 + k % 3), kTextCenter));
        button->LoadNormalImage(skin("button2_nr.png"));
        button->LoadHoverImage(skin("button2_ov.png"));
    }
    for (int k = 0; k < 2; ++k) {
        dlg.AddControl(0, std::make_unique<CStaticImage>(&dlg, id++, Scaled(690, 175 + 30 * k, 145, 3)))
            ->LoadImage(skin("Slider_bar.png"));
        auto* slider =
            dlg.AddControl(0, std::make_unique<CSliderControl>(&dlg, id++, Scaled(690, 170 + 30 * k, 145, 13), 16,
                                                               ScaledLength(6, s), ScaledLength(7, s)));
        slider->LoadThumbImage(skin("Slider_Circle.png"));
        slider->SetStepIndex(5 + 5 * k);
    }
    for (int k = 0; k < 2; ++k) {
        auto* gauge =
            dlg.AddControl(0, std::make_unique<CDPIValueShowControl>(&dlg, id++, Scaled(700 + 20 * k, 240, 7, 132), 8,
                                                                     ScaledLength(12, s), ScaledLength(12, s)));
        gauge->LoadBackgroundImage(skin("mouse/dpi_bar_1.png"));
        gauge->LoadFillImage(skin("mouse/dpi_bar_2.png"));
        gauge->GaugeValue = 3 + 3 * k;
    }
    auto* battery = dlg.AddControl(0, std::make_unique<CBattery>(&dlg, Scaled(760, 240, 30, 61)));
    battery->LoadChargingImage(skin("battery_charging.png"));
    battery->LoadLightningImage(skin("battery_lighting.png"));
    battery->BatteryMode = kBatteryCharging;
    battery->ChargingLevel = 75;
    auto* dial = dlg.AddControl(0, std::make_unique<CPowerManageButton>(&dlg, Scaled(690, 590, 140, 84)));
    for (int level = 3; level <= 10; ++level)
        dial->LoadLevelImage(level, skin(QStringLiteral("power_manage_%1min.png").arg(level)));
    auto* tab = dlg.AddControl(0, std::make_unique<CTabControl>(&dlg, id++, Scaled(690, 400, 162, 21), "Profile 4"));
    tab->LoadNormalImage(skin("profile_slot_nr.png"));
    tab->LoadHoverImage(skin("profile_slot_ov.png"));
    for (int k = 0; k < 6; ++k)
        dlg.AddControl(
            0, std::make_unique<CStaticText>(&dlg, id++, Scaled(690, 440 + 22 * k, 140, 18), dlg.Text(245 + k)));
}

// The window at the state's scale; UiScale stays at that scale while it is painted.
std::unique_ptr<CMainLayoutDlg> MakeWindow(float scale)
{
    UiScale = scale;
    UiFontChoice font = ChooseUiFont(u"English", scale);
    LoadLanguage(g_moduleFolder.toStdU16String(), scale, g_texts, font);
    SetUiFont(QString::fromStdU16String(font.name), font.size);
    auto dlg = std::make_unique<CMainLayoutDlg>(g_moduleFolder, g_texts);
    dlg->InitUIOnce(dlg->ClientRect());
    AddExtraControls(*dlg);
    return dlg;
}

void SetCounters(benchmark::State& state, const CMainLayoutDlg& dlg)
{
    int drawn = 0;
    for (const auto& list : dlg.ControlLists) {
        for (const auto& control : list)
            drawn += control->IsDisplayed() ? 1 : 0;
    }
    state.counters["controls"] = dlg.ControlCount();
    state.counters["drawn"] = drawn;
    state.counters["VmHWM_MiB"] = PeakMemoryMiB();
}

void BM_Repaint(benchmark::State& state)
{
    const auto dlg = MakeWindow(ScaleOf(state));
    for (auto _ : state) {
        QImage picture = dlg->RenderClient();
        benchmark::DoNotOptimize(picture.constBits());
    }
    SetCounters(state, *dlg);
}

void BM_RepaintAndBlit(benchmark::State& state)
{
    const auto dlg = MakeWindow(ScaleOf(state));
    dlg->show();
    QCoreApplication::processEvents();
    for (auto _ : state)
        dlg->repaint();
    SetCounters(state, *dlg);
    dlg->hide();
}

void BM_FrameDecode(benchmark::State& state)
{
    const QString path = g_moduleFolder + "skins/Frame_Lighting_Setting.bmp";
    for (auto _ : state) {
        QImage frame;
        QSize size;
        benchmark::DoNotOptimize(LoadBitmapFromFile(path, frame, size));
    }
}

// Scales as tenths: 10, 15 and 20.
BENCHMARK(BM_Repaint)
    ->Arg(10)
    ->Arg(15)
    ->Arg(20)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_RepaintAndBlit)
    ->Arg(10)
    ->Arg(15)
    ->Arg(20)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_FrameDecode)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

// The build tree beside or above the executable (skins/ and config/), else the one it was built in.
QString LocateBuildFolder()
{
    const QString exeDir = QCoreApplication::applicationDirPath();
    for (const QString& candidate : {exeDir, exeDir + "/.."}) {
        if (QFileInfo(candidate + "/skins").isDir())
            return QDir(candidate).absolutePath() + '/';
    }
    return QStringLiteral(VEXMO_BUILD_FOLDER);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    DisableToolkitScaling();
    QApplication app(argc, argv);
    InitResources();
    RegisterFontSubstitutes();
    g_moduleFolder = LocateBuildFolder();
    if (!QFileInfo(g_moduleFolder + "skins").isDir()) {
        std::fprintf(stderr, "bench_repaint: no skins/ in %s\n", qPrintable(g_moduleFolder));
        return 1;
    }

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
