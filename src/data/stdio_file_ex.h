#pragma once
// The line-oriented UTF-16 text file behind every text file of the program: UTF-16 little-endian,
// starting with the mark FF FE, lines ended by a single LF.
//
// Reading. Open needs write permission as well as read permission: a read-only file cannot be
// opened and counts as missing, which the callers take as "fall back to defaults". A file with no
// write permission bit at all counts as read-only even for a user (root) whom the kernel would let
// write it. Only regular files are opened.
//
// Writing. The target is never written in place. Open creates a temporary file in the target's
// folder, the writes go there, and Close flushes it to disk and renames it over the target. Until
// that rename the old file is untouched, so an interrupted or failed write (disk full, a crash,
// an exception unwinding through the writer) leaves the old file whole and the target is either
// the old or the complete new file. A read-only target cannot be opened for writing and stays as
// it is. A symbolic link as target is followed: the file it names is replaced, the link stays.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vexmo {

class CStdioFileEx {
public:
    enum class Mode { Read, Write };

    CStdioFileEx() = default;
    // Closes an open file. A write that is still open is committed as Close would, unless the
    // destructor runs while an exception unwinds, in which case it is discarded.
    ~CStdioFileEx();
    CStdioFileEx(const CStdioFileEx&) = delete;
    CStdioFileEx& operator=(const CStdioFileEx&) = delete;

    // Closes any file already open, then opens `path`. False when it cannot be opened.
    bool Open(const std::u16string& path, Mode mode);
    bool IsOpen() const { return fd_ >= 0; }

    // Write mode only. At file position 0 the mark FF FE goes first; then the code units as they
    // are, little-endian. Callers end each line with a single LF. False once any write failed.
    bool WriteString(std::u16string_view text);

    // Read mode only. At file position 0 the first two bytes are skipped without being looked at
    // (the mark; a file without it loses its first character). Then code units up to and
    // including the next LF, however long the line. The LF is removed when the line has at least
    // two code units; a CR before it stays. A lone LF line is returned as the string "\n".
    // Returns true for a non-empty result, false at end of file. A final odd byte is ignored.
    bool ReadString(std::u16string& line);

    // Read mode: closes the file (always true). Write mode: writes out what is buffered, syncs
    // it to disk and renames the temporary file over the target; true when all of that and every
    // earlier write succeeded. On failure the temporary file is removed and the target is as it
    // was before Open.
    bool Close();
    // Write mode: drops everything written since Open and leaves the target untouched.
    void Abort();

private:
    bool FillBuffer();
    bool ReadByte(unsigned char& byte);
    bool ReadUnit(char16_t& unit);
    bool FlushBuffer();
    void Reset();

    static constexpr std::size_t kBufferSize = 64 * 1024;

    int fd_ = -1;
    Mode mode_ = Mode::Read;
    std::uint64_t position_ = 0; // bytes read or written through this object
    std::vector<unsigned char> buffer_;
    std::size_t bufferPos_ = 0; // read mode: next byte to hand out
    std::size_t bufferLen_ = 0; // bytes held in the buffer
    bool failed_ = false;       // write mode: a write error happened
    bool atEnd_ = false;        // read mode: end of file or read error seen
    std::string targetPath_;    // write mode, UTF-8
    std::string tempPath_;      // write mode, UTF-8
};

// True when nothing exists at `path` (not even a dangling link or an unreadable entry), so that a
// first run can be told apart from a file that exists but cannot be used.
bool PathIsMissing(const std::u16string& path);

} // namespace vexmo
