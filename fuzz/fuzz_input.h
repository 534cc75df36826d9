#pragma once
// Fuzz targets hand their input to the readers as a real file: the readers work on paths.

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

#include <unistd.h>

namespace vexmo::fuzz {

// A private folder for this fuzzing process, ending in '/', with a "config" folder below it.
inline const std::string& Folder()
{
    static const std::string folder = [] {
        std::string base = "/tmp/vexmo-fuzz-" + std::to_string(::getpid()) + "/";
        std::string cmd = "mkdir -p '" + base + "config'";
        [[maybe_unused]] int rc = std::system(cmd.c_str());
        return base;
    }();
    return folder;
}

inline void WriteFile(const std::string& path, const uint8_t* data, size_t size)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

} // namespace vexmo::fuzz
