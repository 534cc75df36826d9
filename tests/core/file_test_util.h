#pragma once
// Helpers for tests that work with files: a temporary folder removed afterwards, raw bytes in
// and out, and UTF-16LE text as it lies on disk.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace vexmo::test {

using Bytes = std::vector<unsigned char>;

class TempFolder {
public:
    TempFolder()
    {
        std::string pattern = ::testing::TempDir() + "vexmo_XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr)
            ADD_FAILURE() << "mkdtemp failed for " << pattern;
        path_ = pattern;
    }
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder, without a trailing '/'.
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

    // Names of the entries in the folder, sorted.
    std::vector<std::string> Entries(const std::string& sub = {}) const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(sub.empty() ? path_ : path_ + "/" + sub))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::string path_;
};

inline std::u16string U16(const std::string& utf8Path)
{
    return std::u16string(utf8Path.begin(), utf8Path.end()); // test paths are ASCII
}

inline Bytes ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// UTF-16LE bytes of `text`, with the mark FF FE in front when `mark` is set.
inline Bytes Utf16Bytes(std::u16string_view text, bool mark = true)
{
    Bytes bytes;
    if (mark) {
        bytes.push_back(0xFF);
        bytes.push_back(0xFE);
    }
    for (const char16_t unit : text) {
        bytes.push_back(static_cast<unsigned char>(unit & 0xFF));
        bytes.push_back(static_cast<unsigned char>(unit >> 8));
    }
    return bytes;
}

} // namespace vexmo::test
