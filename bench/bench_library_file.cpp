// The macro library file on a large library: write and read throughput in bytes of file per
// second, and the resident memory of the program's two empty libraries.
//
// The library holds 10 000 macros of 24 actions each: 10 top-level folders, 20 second-level
// folders in each, 50 macros in each of those. Writes include the file's sync to disk.

#include "data/text_format.h"
#include "macros/macro_library.h"
#include "macros/macro_library_file.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include <unistd.h>

namespace {

using namespace vexmo;

constexpr int kTopFolders = 10;
constexpr int kSubFolders = 20;
constexpr int kMacrosPerFolder = 50;

std::u16string Name(const char* word, int n)
{
    return Utf8ToUtf16(word + std::to_string(n));
}

void Fill(MacroLibrary& library)
{
    for (int f = 0; f < kTopFolders; ++f) {
        MacroLocation top;
        library.AddFolder(Name("Folder ", f), top);
        for (int s = 0; s < kSubFolders; ++s) {
            MacroLocation sub = top;
            library.AddFolder(Name("Group ", s), sub);
            for (int m = 0; m < kMacrosPerFolder; ++m) {
                MacroLocation at = sub;
                library.AddMacroKey(Name("Macro ", m), at);
                MacroKey& key = *library.ItemAt(at)->key;
                for (uint8_t k = 0; k < 8; ++k) {
                    key.InsertAction(key.ActionCount, MacroAction::Key(uint8_t(0x41 + k), false));
                    key.InsertAction(key.ActionCount, MacroAction::Delay(30u + m));
                    key.InsertAction(key.ActionCount, MacroAction::Key(uint8_t(0x41 + k), true));
                }
                key.MacroCommandActionNum = 16;
            }
        }
    }
}

class Workspace {
public:
    Workspace()
    {
        folder_ = std::filesystem::temp_directory_path() /
                  ("vexmo-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder_);
        path_ = Utf8ToUtf16((folder_ / "MacroLibraryFile.mlf").string());
        Fill(library_);
    }
    ~Workspace()
    {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    const std::u16string& Path() const { return path_; }
    const MacroLibrary& Library() const { return library_; }
    int64_t FileBytes() const
    {
        return int64_t(std::filesystem::file_size(Utf16ToUtf8(path_)));
    }

private:
    std::filesystem::path folder_;
    std::u16string path_;
    MacroLibrary library_;
};

Workspace& Shared()
{
    static Workspace workspace;
    return workspace;
}

long ResidentPages()
{
    long size = 0, resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &size, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return resident;
}

// Runs first, before any other benchmark has allocated and freed blocks of this size that the
// allocator could hand out again already resident.
void BM_TwoEmptyLibrariesResident(benchmark::State& state)
{
    const double mb = double(::sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
    long grown = 0;
    for (auto _ : state) {
        const long before = ResidentPages();
        auto mainLibrary = std::make_unique<MacroLibrary>();
        auto staging = std::make_unique<MacroLibrary>();
        grown = ResidentPages() - before;
        benchmark::DoNotOptimize(mainLibrary.get());
        benchmark::DoNotOptimize(staging.get());
    }
    state.counters["resident_MiB"] = double(grown) * mb;
    state.counters["slots_MiB"] = 2.0 * double(MacroLibrary::kSlotBytes) / (1024.0 * 1024.0);
    state.counters["slot_bytes"] = double(sizeof(MacroItem));
}
BENCHMARK(BM_TwoEmptyLibrariesResident)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_WriteLibraryFile(benchmark::State& state)
{
    Workspace& w = Shared();
    for (auto _ : state) {
        if (!WriteMacroLibraryFile(w.Path(), w.Library(), MacroLocation::None())) {
            state.SkipWithError("write failed");
            return;
        }
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * w.FileBytes());
    state.counters["file_MiB"] = double(w.FileBytes()) / (1024.0 * 1024.0);
}
BENCHMARK(BM_WriteLibraryFile)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadLibraryFile(benchmark::State& state)
{
    Workspace& w = Shared();
    if (!WriteMacroLibraryFile(w.Path(), w.Library(), MacroLocation::None())) {
        state.SkipWithError("write failed");
        return;
    }
    static MacroLibrary target;
    for (auto _ : state) {
        if (!ReadMacroLibraryFile(w.Path(), target)) {
            state.SkipWithError("read failed");
            return;
        }
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * w.FileBytes());
    state.counters["file_MiB"] = double(w.FileBytes()) / (1024.0 * 1024.0);
}
BENCHMARK(BM_ReadLibraryFile)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
