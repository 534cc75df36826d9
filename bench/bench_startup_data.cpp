// The data the main window loads at start, in its order: language texts, the macro library
// (empty), the settings file and the five profiles with the sensor check, then the DPI tables.
//   FirstRun: no settings or profile files yet, so defaults are built and all six files written.
//   Existing: every file in place, as on each later start.

#include "app/core/language_texts.h"
#include "data/dpi_tables.h"
#include "data/profile_store.h"
#include "data/sensor_id.h"
#include "data/settings_store.h"
#include "data/text_format.h"
#include "macros/macro_library.h"
#include "macros/macro_library_file.h"
#include "macros/macro_model.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

namespace {

using namespace vexmo;
namespace fs = std::filesystem;

struct Folder {
    fs::path root;
    Folder()
    {
        char pattern[] = "/tmp/vexmo-bench-XXXXXX";
        root = ::mkdtemp(pattern);
        fs::create_directories(root / "config");
        for (const char* name : {"Lan_EN.txt", "Lan.txt", "LanSetting.ini"})
            fs::copy_file(fs::path(VEXMO_SHIPPED_CONFIG) / name, root / "config" / name);
        WriteMacroLibraryFile(MacroLibraryFilePath(Data()), MainMacroLibrary, MacroLocation::None());
    }
    ~Folder() { fs::remove_all(root); }
    std::u16string Data() const { return Utf8ToUtf16(root.string() + "/"); }
};

void LoadAll(const std::u16string& data)
{
    LanguageTable texts;
    UiFontChoice font;
    LoadLanguage(data, 1.0f, texts, font);
    ReadMacroLibraryFile(MacroLibraryFilePath(data), MainMacroLibrary);
    SettingsStore settings(data);
    LoadSettingsAndProfiles(settings);
    RebuildDpiTables(SensorId);
    benchmark::DoNotOptimize(texts);
}

void BM_StartupDataFirstRun(benchmark::State& state)
{
    Folder folder;
    for (auto _ : state) {
        state.PauseTiming();
        for (const char* name : {"config.ini", "default0.psf", "default1.psf", "default2.psf",
                                 "default3.psf", "default4.psf"})
            fs::remove(folder.root / "config" / name);
        state.ResumeTiming();
        LoadAll(folder.Data());
    }
}
BENCHMARK(BM_StartupDataFirstRun)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_StartupDataExisting(benchmark::State& state)
{
    Folder folder;
    LoadAll(folder.Data());
    for (auto _ : state)
        LoadAll(folder.Data());
}
BENCHMARK(BM_StartupDataExisting)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace
