#include "platform/base/hid_sim_backend.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>

namespace vexmo {

namespace {

// A reply "ok ..." split into its words after "ok"; nullopt for "err ..." or garbage.
std::optional<std::vector<std::string>> OkWords(const std::string& reply)
{
    auto words = SimSplitWords(reply);
    if (words.empty() || words[0] != "ok")
        return std::nullopt;
    words.erase(words.begin());
    return words;
}

bool ParseNumber(const std::string& text, int base, unsigned long max, unsigned long& out)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    errno = 0;
    unsigned long v = std::strtoul(text.c_str(), &end, base);
    if (errno != 0 || *end != '\0' || v > max || text[0] == '-')
        return false;
    out = v;
    return true;
}

class SimSocketDevice : public HidDevice {
public:
    SimSocketDevice(std::string socketPath, int timeoutMs, SimLineSocket conn, std::string token)
        : socketPath_(std::move(socketPath)), timeoutMs_(timeoutMs), conn_(std::move(conn)),
          token_(std::move(token))
    {
    }

    bool GetAttributes(HidAttributes& out) override
    {
        auto words = Ask("attributes");
        unsigned long vid, pid, version;
        if (!words || words->size() != 3 || !ParseNumber((*words)[0], 16, 0xFFFF, vid) ||
            !ParseNumber((*words)[1], 16, 0xFFFF, pid) ||
            !ParseNumber((*words)[2], 16, 0xFFFF, version))
            return false;
        out.VendorID = uint16_t(vid);
        out.ProductID = uint16_t(pid);
        out.VersionNumber = uint16_t(version);
        return true;
    }

    bool GetCaps(HidCaps& out) override
    {
        auto words = Ask("caps");
        unsigned long v[5];
        if (!words || words->size() != 5)
            return false;
        for (int i = 0; i < 5; ++i)
            if (!ParseNumber((*words)[size_t(i)], i < 2 ? 16 : 10, 0xFFFF, v[i]))
                return false;
        out.UsagePage = uint16_t(v[0]);
        out.Usage = uint16_t(v[1]);
        out.InputReportByteLength = uint16_t(v[2]);
        out.OutputReportByteLength = uint16_t(v[3]);
        out.FeatureReportByteLength = uint16_t(v[4]);
        return true;
    }

    bool SetFeature(const uint8_t* data, size_t len) override
    {
        if (!data || len == 0)
            return false;
        auto words = Ask("set-feature " + SimToHex(data, len));
        return words && words->empty();
    }

    bool GetFeature(uint8_t* data, size_t len) override
    {
        if (!data || len == 0)
            return false;
        auto words = Ask("get-feature " + SimToHex(data, len));
        return words && words->size() == 1 && CopyHex((*words)[0], data, len);
    }

    bool Read(uint8_t* data, size_t len) override
    {
        std::lock_guard readLock(readMutex_);
        if (!reader_.IsOpen()) {
            // The reads get their own connection, attached to the same open handle, so that a
            // blocked Read does not hold up the feature calls.
            SimLineSocket conn;
            std::string reply;
            if (!conn.Connect(socketPath_, timeoutMs_) ||
                !conn.Request("attach " + token_, reply, timeoutMs_) || reply != "ok")
                return false;
            std::lock_guard lock(cancelMutex_);
            if (cancelled_)
                return false;
            reader_ = std::move(conn);
        }
        {
            std::lock_guard lock(cancelMutex_);
            if (cancelled_)
                return false;
        }
        std::string reply;
        if (!reader_.SendLine("read", timeoutMs_) || !reader_.ReadLine(reply, -1))
            return false;
        auto words = OkWords(reply);
        return words && words->size() == 1 && CopyHex((*words)[0], data, len);
    }

    void CancelRead() override
    {
        std::lock_guard lock(cancelMutex_);
        cancelled_ = true;
        reader_.Shutdown();
    }

private:
    std::optional<std::vector<std::string>> Ask(const std::string& request)
    {
        std::lock_guard lock(connMutex_);
        std::string reply;
        if (!conn_.Request(request, reply, timeoutMs_)) {
            // A half-read reply would put every later answer out of step.
            conn_.Shutdown();
            return std::nullopt;
        }
        return OkWords(reply);
    }

    static bool CopyHex(const std::string& hex, uint8_t* data, size_t len)
    {
        auto bytes = SimFromHex(hex);
        if (!bytes || bytes->empty())
            return false;
        if (data)
            std::memcpy(data, bytes->data(), std::min(len, bytes->size()));
        return true;
    }

    const std::string socketPath_;
    const int timeoutMs_;
    std::mutex connMutex_;
    SimLineSocket conn_;
    const std::string token_;
    std::mutex readMutex_;     // one Read at a time
    std::mutex cancelMutex_;   // guards cancelled_ and the reader's descriptor being set
    bool cancelled_ = false;
    SimLineSocket reader_;
};

} // namespace

SimSocketBackend::SimSocketBackend(std::string socketPath, int timeoutMs)
    : socketPath_(std::move(socketPath)), timeoutMs_(timeoutMs)
{
}

std::vector<std::string> SimSocketBackend::EnumerateInterfaces()
{
    SimLineSocket conn;
    std::string reply;
    if (!conn.Connect(socketPath_, timeoutMs_) || !conn.Request("enum", reply, timeoutMs_))
        return {};
    auto words = OkWords(reply);
    return words ? *words : std::vector<std::string>{};
}

std::unique_ptr<HidDevice> SimSocketBackend::Open(const std::string& path)
{
    if (path.empty() || path.find_first_of(" \n") != std::string::npos)
        return nullptr;
    SimLineSocket conn;
    std::string reply;
    if (!conn.Connect(socketPath_, timeoutMs_) || !conn.Request("open " + path, reply, timeoutMs_))
        return nullptr;
    auto words = OkWords(reply);
    if (!words || words->size() != 1)
        return nullptr;
    return std::make_unique<SimSocketDevice>(socketPath_, timeoutMs_, std::move(conn), (*words)[0]);
}

bool SimWatch::Connect(const std::string& socketPath, int timeoutMs, std::string* error)
{
    std::string reply;
    if (!socket_.Connect(socketPath, timeoutMs, error))
        return false;
    if (!socket_.Request("watch", reply, timeoutMs) || reply != "ok") {
        if (error)
            *error = "the simulator refused the watch";
        socket_.Close();
        return false;
    }
    return true;
}

bool SimWatch::Parse(const std::string& line, SimDeviceEvent& event)
{
    auto words = SimSplitWords(line);
    if (words.size() != 2 || (words[0] != "arrival" && words[0] != "removal"))
        return false;
    event.arrival = words[0] == "arrival";
    event.path = words[1];
    return true;
}

bool SimWatch::Next(SimDeviceEvent& event, int timeoutMs)
{
    std::string line;
    while (socket_.ReadLine(line, timeoutMs))
        if (Parse(line, event))
            return true;
    return false;
}

std::vector<SimDeviceEvent> SimWatch::Drain(bool* ended)
{
    std::vector<SimDeviceEvent> events;
    if (ended)
        *ended = false;
    if (!socket_.IsOpen()) {
        if (ended)
            *ended = true;
        return events;
    }
    std::string line;
    for (;;) {
        if (!socket_.ReadLine(line, 0)) {
            // A timeout of 0 with nothing to read is not the end; a closed peer is.
            char c;
            ssize_t n = recv(socket_.Fd(), &c, 1, MSG_PEEK | MSG_DONTWAIT);
            if (n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) {
                socket_.Close();
                if (ended)
                    *ended = true;
            }
            return events;
        }
        SimDeviceEvent e;
        if (Parse(line, e))
            events.push_back(e);
    }
}

} // namespace vexmo
