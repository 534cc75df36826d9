#include "platform/base/hid_sim_backend.h"
#include "platform/base/sim_wire.h"
#include "sim_control.h"
#include "sim_mouse.h"
#include "sim_server.h"

#include <gtest/gtest.h>

#include "sim_test_util.h"

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <future>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

using namespace vexmo;
using namespace std::chrono_literals;

namespace {

using simtest::IdentityQuery;

class SimSocketTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char dir[] = "/tmp/vexmo-sim-XXXXXX";
        ASSERT_NE(mkdtemp(dir), nullptr);
        dir_ = dir;
        path_ = dir_ + "/sim.sock";
    }
    void TearDown() override
    {
        server_.reset();
        mouse_.reset();
        std::filesystem::remove_all(dir_);
    }
    void StartServer(SimOptions options = {})
    {
        mouse_ = std::make_unique<SimMouse>(options);
        server_ = std::make_unique<SimServer>(*mouse_, path_);
        std::string error;
        ASSERT_TRUE(server_->Start(&error)) << error;
    }

    std::string dir_, path_;
    std::unique_ptr<SimMouse> mouse_;
    std::unique_ptr<SimServer> server_;
};

} // namespace

TEST_F(SimSocketTest, EnumeratesOpensAndQueriesIdentity)
{
    SimOptions o;
    o.receiver = true;
    o.sensorCode = 0x35;
    o.battery = 77;
    StartServer(o);
    SimSocketBackend backend(path_);

    std::vector<std::string> expected;
    for (const auto& i : mouse_->Interfaces())
        expected.push_back(i.path);
    EXPECT_EQ(backend.EnumerateInterfaces(), expected);
    EXPECT_EQ(backend.Open("sim:keyboard"), nullptr);
    EXPECT_EQ(backend.Open("sim:missing"), nullptr);
    EXPECT_EQ(backend.Open("bad path"), nullptr);

    auto dev = backend.Open("sim:receiver/feature");
    ASSERT_NE(dev, nullptr);
    HidAttributes a;
    HidCaps c;
    ASSERT_TRUE(dev->GetAttributes(a));
    ASSERT_TRUE(dev->GetCaps(c));
    EXPECT_EQ(a.VendorID, 0x248A);
    EXPECT_EQ(a.ProductID, 0x5B2F);
    EXPECT_EQ(c.UsagePage, 0xFF02);
    EXPECT_EQ(c.FeatureReportByteLength, 33);
    EXPECT_EQ(c.InputReportByteLength, 0);

    mouse_->AnswerLate(1);
    for (uint8_t seq : {0, 1}) {
        SimReport q = IdentityQuery(seq);
        ASSERT_TRUE(dev->SetFeature(q.data(), q.size()));
        SimReport reply;
        reply.fill(0xFF);
        reply[0] = 0x0C;
        ASSERT_TRUE(dev->GetFeature(reply.data(), reply.size()));
        EXPECT_EQ(reply, seq == 0 ? [&] { auto r = mouse_->IdentityReply(); r[6] = 0; return r; }()
                                  : mouse_->IdentityReply());
        EXPECT_EQ(reply[15], 0x35);
        EXPECT_EQ(reply[18], 77);
    }
    auto log = mouse_->Log();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[1].report, IdentityQuery(1));
    EXPECT_EQ(log[1].link, SimLink::Receiver);

    // What the mouse refuses comes back as a failure, not as a broken connection.
    SimReport q = IdentityQuery(2);
    EXPECT_FALSE(dev->SetFeature(q.data(), 20));
    EXPECT_TRUE(dev->SetFeature(q.data(), q.size()));
}

TEST_F(SimSocketTest, ReadGetsReportsAndUnplugEndsItWithEvents)
{
    StartServer();
    SimSocketBackend backend(path_);
    SimWatch watch;
    std::string error;
    ASSERT_TRUE(watch.Connect(path_, 3000, &error)) << error;

    auto input = backend.Open("sim:cable/input");
    ASSERT_NE(input, nullptr);
    auto read = [&] {
        return std::async(std::launch::async, [&] {
            SimReport r{};
            bool ok = input->Read(r.data(), r.size());
            return std::make_pair(ok, r);
        });
    };
    auto pending = read();
    EXPECT_EQ(pending.wait_for(100ms), std::future_status::timeout);
    // Feature calls on the same device go on while its Read blocks.
    HidCaps c;
    EXPECT_TRUE(input->GetCaps(c));
    EXPECT_EQ(c.InputReportByteLength, 33);

    ASSERT_TRUE(mouse_->PressDpiButton(4, 2));
    ASSERT_EQ(pending.wait_for(5s), std::future_status::ready);
    auto [ok, report] = pending.get();
    ASSERT_TRUE(ok);
    EXPECT_EQ(report[0], 5);
    EXPECT_EQ(report[1], 6);
    EXPECT_EQ(report[3], 2);
    EXPECT_EQ(report[4], 4);

    pending = read();
    EXPECT_EQ(pending.wait_for(100ms), std::future_status::timeout);
    mouse_->Unplug(SimLink::Cable);
    ASSERT_EQ(pending.wait_for(5s), std::future_status::ready);
    EXPECT_FALSE(pending.get().first);
    EXPECT_FALSE(input->GetCaps(c));

    std::vector<std::string> removed;
    SimDeviceEvent e;
    while (removed.size() < 4 && watch.Next(e, 5000)) {
        EXPECT_FALSE(e.arrival);
        removed.push_back(e.path);
    }
    EXPECT_EQ(removed, (std::vector<std::string>{"sim:cable/mouse", "sim:cable/keyboard",
                                                 "sim:cable/feature", "sim:cable/input"}));

    // The poll-and-drain way sees the arrivals.
    mouse_->Plug(SimLink::Cable);
    std::vector<SimDeviceEvent> arrivals;
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (arrivals.size() < 4 && std::chrono::steady_clock::now() < deadline) {
        pollfd p{watch.Fd(), POLLIN, 0};
        poll(&p, 1, 100);
        bool ended = false;
        for (auto& ev : watch.Drain(&ended))
            arrivals.push_back(ev);
        ASSERT_FALSE(ended);
    }
    ASSERT_EQ(arrivals.size(), 4u);
    EXPECT_TRUE(arrivals[0].arrival);
    EXPECT_EQ(arrivals[2].path, "sim:cable/feature");
}

TEST_F(SimSocketTest, CancelReadWakesBlockedRead)
{
    StartServer();
    SimSocketBackend backend(path_);
    auto input = backend.Open("sim:cable/input");
    ASSERT_NE(input, nullptr);
    auto pending = std::async(std::launch::async, [&] {
        uint8_t buf[33];
        return input->Read(buf, sizeof buf);
    });
    EXPECT_EQ(pending.wait_for(100ms), std::future_status::timeout);
    input->CancelRead();
    ASSERT_EQ(pending.wait_for(5s), std::future_status::ready);
    EXPECT_FALSE(pending.get());
    mouse_->PressDpiButton(1, 1);
    uint8_t buf[33];
    EXPECT_FALSE(input->Read(buf, sizeof buf));

    // Cancelled before the first Read ever connected.
    auto other = backend.Open("sim:cable/input");
    other->CancelRead();
    EXPECT_FALSE(other->Read(buf, sizeof buf));
}

TEST_F(SimSocketTest, ServerGoneMeansFailuresNotHangs)
{
    StartServer();
    SimSocketBackend backend(path_, 1000);
    SimWatch watch;
    ASSERT_TRUE(watch.Connect(path_));
    auto feature = backend.Open("sim:cable/feature");
    auto input = backend.Open("sim:cable/input");
    ASSERT_NE(feature, nullptr);
    ASSERT_NE(input, nullptr);
    auto pending = std::async(std::launch::async, [&] {
        uint8_t buf[33];
        return input->Read(buf, sizeof buf);
    });
    EXPECT_EQ(pending.wait_for(100ms), std::future_status::timeout);

    server_->Stop();
    ASSERT_EQ(pending.wait_for(5s), std::future_status::ready);
    EXPECT_FALSE(pending.get());
    SimReport q = IdentityQuery(0);
    EXPECT_FALSE(feature->SetFeature(q.data(), q.size()));
    EXPECT_FALSE(feature->GetFeature(q.data(), q.size()));
    HidAttributes a;
    EXPECT_FALSE(feature->GetAttributes(a));
    EXPECT_TRUE(backend.EnumerateInterfaces().empty());
    EXPECT_EQ(backend.Open("sim:cable/feature"), nullptr);
    SimDeviceEvent e;
    EXPECT_FALSE(watch.Next(e, 5000));
    EXPECT_FALSE(std::filesystem::exists(path_));
}

TEST_F(SimSocketTest, SilentServerTimesOut)
{
    // Accepts, takes the request, never answers.
    int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strcpy(addr.sun_path, path_.c_str());
    ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ASSERT_EQ(listen(fd, 8), 0);

    SimSocketBackend backend(path_, 200);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(backend.EnumerateInterfaces().empty());
    EXPECT_EQ(backend.Open("sim:cable/feature"), nullptr);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
    close(fd);
}

TEST_F(SimSocketTest, ControlCommandsOverTheSocket)
{
    StartServer();
    SimLineSocket conn;
    ASSERT_TRUE(conn.Connect(path_, 3000));
    std::string reply;
    struct Case { const char* request; const char* reply; } cases[] = {
        {"battery 40", "ok"},
        {"sensor 0x99", "ok"},
        {"charging 1", "ok"},
        {"show 0", "ok"},
        {"plug receiver", "ok"},
        {"unplug cable", "ok"},
        {"late 2", "ok"},
        {"status", "ok cable=0 receiver=1 sensor=0x99 battery=40 charging=1 show=0 "
                   "input-feature=0 interval=1 late=2"},
        {"battery", "err usage: battery PERCENT        (0..255)"},
        {"show 2", "err usage: show 0|1"},
        {"frobnicate", "err unknown command"},
        {"read", "err no device is open on this connection"},
        {"rate-button 4 2", "ok"},
        {"status", "ok cable=0 receiver=1 sensor=0x99 battery=40 charging=1 show=0 "
                   "input-feature=0 interval=4 late=2"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(conn.Request(c.request, reply, 3000)) << c.request;
        EXPECT_EQ(reply, c.reply) << c.request;
    }

    // The rate button's report waited for the first reader; a dpi button without an
    // interval reports the mouse's current one.
    SimSocketBackend backend(path_);
    auto input = backend.Open("sim:receiver/input");
    ASSERT_NE(input, nullptr);
    ASSERT_TRUE(conn.Request("dpi-button 3", reply, 3000));
    EXPECT_EQ(reply, "ok");
    uint8_t buf[33];
    for (uint8_t level : {2, 3}) {
        ASSERT_TRUE(input->Read(buf, sizeof buf));
        EXPECT_EQ(buf[3], 4);
        EXPECT_EQ(buf[4], level);
    }

    auto feature = backend.Open("sim:receiver/feature");
    SimReport q = IdentityQuery(9);
    ASSERT_TRUE(feature->SetFeature(q.data(), q.size()));
    ASSERT_TRUE(conn.Request("log", reply, 3000));
    EXPECT_EQ(reply, "ok 1");
    std::string line;
    ASSERT_TRUE(conn.ReadLine(line, 3000));
    auto words = SimSplitWords(line);
    ASSERT_EQ(words.size(), 3u);
    EXPECT_EQ(words[1], SimToHex(q.data(), q.size()));
    EXPECT_EQ(words[2], "receiver");
    ASSERT_TRUE(conn.Request("clear-log", reply, 3000));
    ASSERT_TRUE(conn.Request("log", reply, 3000));
    EXPECT_EQ(reply, "ok 0");

    ASSERT_TRUE(conn.Request("quit", reply, 3000));
    EXPECT_EQ(reply, "ok");
    auto waited = std::async(std::launch::async, [&] { server_->WaitForQuit(); });
    EXPECT_EQ(waited.wait_for(5s), std::future_status::ready);
}

TEST(SimControl, ParsesArguments)
{
    struct Case { const char* line; bool ok; int first, second; } cases[] = {
        {"sensor 0x12", true, 0x12, -1},  {"sensor 256", false, 0, 0},
        {"battery -1", false, 0, 0},      {"battery 100", true, 100, -1},
        {"dpi-button 2", true, 2, -1},    {"dpi-button 2 8", true, 2, 8},
        {"dpi-button", false, 0, 0},      {"rate-button 8", false, 0, 0},
        {"rate-button 8 3", true, 8, 3},  {"late 3", true, 3, -1},
        {"late x", false, 0, 0},          {"plug mouse", false, 0, 0},
        {"plug receiver", true, -1, -1},  {"log extra", false, 0, 0},
        {"input cable 0506", false, 0, 0}, {"", false, 0, 0},
        {"state", true, -1, -1},          {"state --json", true, -1, -1},
        {"state json", false, 0, 0},      {"clear-state all", false, 0, 0},
    };
    for (const auto& c : cases) {
        SimControlCommand cmd;
        std::string error;
        EXPECT_EQ(ParseSimControl(SimSplitWords(c.line), cmd, error), c.ok) << c.line;
        if (c.ok) {
            EXPECT_EQ(cmd.first, c.first) << c.line;
            EXPECT_EQ(cmd.second, c.second) << c.line;
        } else {
            EXPECT_FALSE(error.empty()) << c.line;
        }
    }
}

TEST_F(SimSocketTest, RefusesSecondServerAndReplacesStaleSocket)
{
    StartServer();
    SimMouse other;
    SimServer second(other, path_);
    std::string error;
    EXPECT_FALSE(second.Start(&error));
    EXPECT_NE(error.find("already"), std::string::npos) << error;
    EXPECT_FALSE(SimSocketBackend(path_).EnumerateInterfaces().empty()) << "first still serves";

    // A socket file nobody listens on is taken over.
    server_.reset();
    int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strcpy(addr.sun_path, path_.c_str());
    ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    close(fd);
    SimServer third(other, path_);
    EXPECT_TRUE(third.Start(&error)) << error;
    EXPECT_FALSE(SimSocketBackend(path_).EnumerateInterfaces().empty());
}
