#include "platform/base/hidraw_backend.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <optional>
#include <utility>

#include <fcntl.h>
#include <linux/hidraw.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace vexmo {

namespace {

// The ioctl number holds the length in 14 bits; a longer one would change the request itself.
constexpr size_t kMaxIoctlLength = (1u << 14) - 1;

template <typename F>
int RetryOnEintr(F call)
{
    int r;
    do {
        r = call();
    } while (r < 0 && errno == EINTR);
    return r;
}

class HidrawDevice final : public HidDevice {
public:
    HidrawDevice(int fd, int wake, HidrawInterface info)
        : fd_(fd), wake_(wake), info_(std::move(info))
    {
    }

    ~HidrawDevice() override
    {
        ::close(fd_);
        ::close(wake_);
    }

    HidrawDevice(const HidrawDevice&) = delete;
    HidrawDevice& operator=(const HidrawDevice&) = delete;

    bool GetAttributes(HidAttributes& out) override
    {
        out = info_.Attributes;
        // The node's own answer is the authority; sysfs stays the fallback (and the version).
        hidraw_devinfo raw{};
        if (RetryOnEintr([&] { return ::ioctl(fd_, HIDIOCGRAWINFO, &raw); }) == 0) {
            out.VendorID = static_cast<uint16_t>(raw.vendor);
            out.ProductID = static_cast<uint16_t>(raw.product);
        }
        return true;
    }

    bool GetCaps(HidCaps& out) override
    {
        out = info_.Caps;
        return true;
    }

    bool SetFeature(const uint8_t* data, size_t len) override
    {
        if (data == nullptr || len == 0 || len > kMaxIoctlLength)
            return false;
        std::vector<uint8_t> report(data, data + len);
        return RetryOnEintr([&] { return ::ioctl(fd_, HIDIOCSFEATURE(len), report.data()); }) >= 0;
    }

    bool GetFeature(uint8_t* data, size_t len) override
    {
        if (data == nullptr || len == 0 || len > kMaxIoctlLength)
            return false;
        const int n = RetryOnEintr([&] { return ::ioctl(fd_, HIDIOCGFEATURE(len), data); });
        if (n < 0)
            return false;
        // The answer counts the ID byte; a short one must not leave the request in the tail.
        if (static_cast<size_t>(n) < len)
            std::memset(data + n, 0, len - static_cast<size_t>(n));
        return true;
    }

    bool Read(uint8_t* data, size_t len) override
    {
        if (data == nullptr || len == 0)
            return false;
        // Room for the longest report of the collection even when the caller asks for less, so
        // that the ID of every report is seen; one more for the ID an unnumbered device omits.
        buffer_.resize(std::max<size_t>(len, info_.Caps.InputReportByteLength) + 1);
        const bool numbered = info_.UsesReportIds;
        uint8_t* const into = numbered ? buffer_.data() : buffer_.data() + 1;
        const size_t room = buffer_.size() - 1;

        for (;;) {
            if (cancelled_.load())
                return false;
            pollfd fds[2] = {{fd_, POLLIN, 0}, {wake_, POLLIN, 0}};
            if (::poll(fds, 2, -1) < 0) {
                if (errno == EINTR)
                    continue;
                return false;
            }
            if (cancelled_.load() || fds[1].revents != 0)
                return false;
            if ((fds[0].revents & POLLIN) == 0) {
                if (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL))
                    return false;
                continue;
            }
            const ssize_t n = ::read(fd_, into, room);
            if (n < 0) {
                if (errno == EINTR || errno == EAGAIN)
                    continue;
                return false; // ENODEV / EIO: the device is gone
            }
            if (n == 0)
                return false;
            size_t got = static_cast<size_t>(n);
            if (numbered) {
                if (!std::binary_search(info_.InputReportIds.begin(), info_.InputReportIds.end(),
                                        buffer_[0]))
                    continue; // another collection's report
            } else {
                buffer_[0] = 0;
                ++got;
            }
            const size_t copied = std::min(got, len);
            std::memcpy(data, buffer_.data(), copied);
            std::memset(data + copied, 0, len - copied);
            return true;
        }
    }

    void CancelRead() override
    {
        cancelled_.store(true);
        // Never drained: the descriptor stays readable, so every later Read returns at once too.
        const uint64_t one = 1;
        const ssize_t r = ::write(wake_, &one, sizeof one);
        (void)r;
    }

private:
    const int fd_;
    const int wake_;
    const HidrawInterface info_;
    std::atomic<bool> cancelled_{false};
    std::vector<uint8_t> buffer_; // used by Read only
};

} // namespace

std::unique_ptr<HidDevice> MakeHidrawDevice(int fd, HidrawInterface info)
{
    if (fd < 0)
        return nullptr;
    const int wake = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wake < 0) {
        ::close(fd);
        return nullptr;
    }
    return std::make_unique<HidrawDevice>(fd, wake, std::move(info));
}

HidrawBackend::HidrawBackend(HidrawRoots roots) : roots_(std::move(roots)) {}

std::vector<std::string> HidrawBackend::EnumerateInterfaces()
{
    std::vector<std::string> paths;
    for (HidrawInterface& i : EnumerateHidraw(roots_))
        paths.push_back(std::move(i.Path));
    return paths;
}

std::unique_ptr<HidDevice> HidrawBackend::Open(const std::string& path)
{
    std::optional<HidrawInterface> info = FindHidrawInterface(roots_, path);
    if (!info)
        return nullptr;
    // Non-blocking so that a read after poll can never hang; the ioctls do not depend on it.
    const int fd = RetryOnEintr(
        [&] { return ::open(info->NodePath.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK); });
    if (fd < 0)
        return nullptr;
    // The node number may have gone to another device since sysfs was read; its caps would be
    // wrong, so refuse it (the caller checks the ids again anyway).
    hidraw_devinfo raw{};
    if (RetryOnEintr([&] { return ::ioctl(fd, HIDIOCGRAWINFO, &raw); }) == 0 &&
        (static_cast<uint16_t>(raw.vendor) != info->Attributes.VendorID ||
         static_cast<uint16_t>(raw.product) != info->Attributes.ProductID)) {
        ::close(fd);
        return nullptr;
    }
    return MakeHidrawDevice(fd, std::move(*info));
}

} // namespace vexmo
