#include "data/stdio_file_ex.h"

#include "data/text_format.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <exception>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vexmo {

namespace {

int OpenRetrying(const char* path, int flags, mode_t mode = 0)
{
    int fd;
    do {
        fd = ::open(path, flags, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// A read-only file is one whose permission bits let nobody write it, or one this process may not
// write. The bits are checked as well as access(), because access() lets root write anything.
bool IsWritable(const std::string& path, const struct stat& st)
{
    return (st.st_mode & 0222) != 0 && ::access(path.c_str(), W_OK) == 0;
}

// Follows symbolic links (also dangling ones) to the path that a plain open would write to, so
// that replacing the file keeps the link in place.
std::string ResolveLinks(std::string path)
{
    for (int depth = 0; depth < 40; ++depth) {
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return path;
        char target[PATH_MAX];
        const ssize_t n = ::readlink(path.c_str(), target, sizeof target);
        if (n <= 0 || static_cast<std::size_t>(n) >= sizeof target)
            return path;
        std::string next(target, static_cast<std::size_t>(n));
        if (next[0] != '/') {
            const auto slash = path.rfind('/');
            if (slash != std::string::npos)
                next = path.substr(0, slash + 1) + next;
        }
        path = std::move(next);
    }
    return path;
}

std::string FolderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

// Makes a finished rename durable; failure only weakens durability, never the content.
void SyncFolder(const std::string& folder)
{
    const int fd = OpenRetrying(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Creates a new, empty file next to `target` with a name nobody else uses. The file is created
// with mode 0666 so that the umask gives it the permissions a newly created target would get.
int CreateTempFile(const std::string& target, std::string& tempPath)
{
    static std::atomic<unsigned> counter{0};
    const std::string folder = FolderOf(target);
    const auto slash = target.rfind('/');
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const unsigned n = counter.fetch_add(1, std::memory_order_relaxed);
        tempPath = folder + "/." + name + ".tmp" + std::to_string(::getpid()) + "_" + std::to_string(n);
        const int fd = OpenRetrying(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

} // namespace

CStdioFileEx::~CStdioFileEx()
{
    if (fd_ < 0)
        return;
    if (mode_ == Mode::Write && std::uncaught_exceptions() > 0)
        Abort();
    else
        Close();
}

void CStdioFileEx::Reset()
{
    fd_ = -1;
    position_ = 0;
    buffer_.clear();
    buffer_.shrink_to_fit();
    bufferPos_ = 0;
    bufferLen_ = 0;
    failed_ = false;
    atEnd_ = false;
    targetPath_.clear();
    tempPath_.clear();
}

bool CStdioFileEx::Open(const std::u16string& path, Mode mode)
{
    if (fd_ >= 0)
        Close();
    Reset();
    const std::string native = Utf16ToUtf8(path);
    if (native.empty())
        return false;

    if (mode == Mode::Read) {
        const int fd = OpenRetrying(native.c_str(), O_RDWR | O_CLOEXEC);
        if (fd < 0)
            return false;
        struct stat st;
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || !IsWritable(native, st)) {
            ::close(fd);
            return false;
        }
        fd_ = fd;
        mode_ = Mode::Read;
        buffer_.resize(kBufferSize);
        return true;
    }

    const std::string target = ResolveLinks(native);
    struct stat st;
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (exists && (!S_ISREG(st.st_mode) || !IsWritable(target, st)))
        return false;
    std::string tempPath;
    const int fd = CreateTempFile(target, tempPath);
    if (fd < 0)
        return false;
    if (exists)
        ::fchmod(fd, st.st_mode & 07777);
    fd_ = fd;
    mode_ = Mode::Write;
    targetPath_ = target;
    tempPath_ = std::move(tempPath);
    buffer_.reserve(kBufferSize);
    return true;
}

bool CStdioFileEx::FlushBuffer()
{
    std::size_t done = 0;
    while (!failed_ && done < bufferLen_) {
        const ssize_t n = ::write(fd_, buffer_.data() + done, bufferLen_ - done);
        if (n > 0)
            done += static_cast<std::size_t>(n);
        else if (n < 0 && errno == EINTR)
            continue;
        else
            failed_ = true;
    }
    buffer_.clear();
    bufferLen_ = 0;
    return !failed_;
}

bool CStdioFileEx::WriteString(std::u16string_view text)
{
    if (fd_ < 0 || mode_ != Mode::Write)
        return false;
    if (failed_)
        return false;
    if (position_ == 0) {
        buffer_.push_back(0xFF);
        buffer_.push_back(0xFE);
        bufferLen_ += 2;
        position_ += 2;
    }
    for (const char16_t unit : text) {
        if (bufferLen_ + 2 > kBufferSize && !FlushBuffer())
            return false;
        buffer_.push_back(static_cast<unsigned char>(unit & 0xFF));
        buffer_.push_back(static_cast<unsigned char>(unit >> 8));
        bufferLen_ += 2;
    }
    position_ += 2 * static_cast<std::uint64_t>(text.size());
    return true;
}

bool CStdioFileEx::FillBuffer()
{
    if (atEnd_)
        return false;
    ssize_t n;
    do {
        n = ::read(fd_, buffer_.data(), buffer_.size());
    } while (n < 0 && errno == EINTR);
    if (n <= 0) {
        atEnd_ = true; // a read error ends the file like its end does
        return false;
    }
    bufferPos_ = 0;
    bufferLen_ = static_cast<std::size_t>(n);
    return true;
}

bool CStdioFileEx::ReadByte(unsigned char& byte)
{
    if (bufferPos_ == bufferLen_ && !FillBuffer())
        return false;
    byte = buffer_[bufferPos_++];
    ++position_;
    return true;
}

bool CStdioFileEx::ReadUnit(char16_t& unit)
{
    unsigned char low;
    unsigned char high;
    if (!ReadByte(low) || !ReadByte(high))
        return false;
    unit = static_cast<char16_t>(low | (high << 8));
    return true;
}

bool CStdioFileEx::ReadString(std::u16string& line)
{
    line.clear();
    if (fd_ < 0 || mode_ != Mode::Read)
        return false;
    if (position_ == 0) {
        unsigned char ignored;
        if (ReadByte(ignored))
            ReadByte(ignored);
    }
    char16_t unit;
    while (ReadUnit(unit)) {
        line.push_back(unit);
        if (unit == u'\n')
            break;
    }
    if (line.size() >= 2 && line.back() == u'\n')
        line.pop_back();
    return !line.empty();
}

void CStdioFileEx::Abort()
{
    if (fd_ < 0)
        return;
    ::close(fd_);
    if (mode_ == Mode::Write)
        ::unlink(tempPath_.c_str());
    Reset();
}

bool CStdioFileEx::Close()
{
    if (fd_ < 0)
        return false;
    if (mode_ == Mode::Read) {
        ::close(fd_);
        Reset();
        return true;
    }
    bool ok = FlushBuffer();
    if (ok && ::fsync(fd_) != 0)
        ok = false;
    if (::close(fd_) != 0)
        ok = false;
    if (ok && ::rename(tempPath_.c_str(), targetPath_.c_str()) != 0)
        ok = false;
    if (ok)
        SyncFolder(FolderOf(targetPath_));
    else
        ::unlink(tempPath_.c_str());
    Reset();
    return ok;
}

bool PathIsMissing(const std::u16string& path)
{
    struct stat st;
    const std::string native = Utf16ToUtf8(path);
    if (::lstat(native.c_str(), &st) == 0)
        return false;
    return errno == ENOENT || errno == ENOTDIR;
}

} // namespace vexmo
