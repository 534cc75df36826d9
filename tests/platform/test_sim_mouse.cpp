#include "sim_backend.h"
#include "sim_mouse.h"

#include <gtest/gtest.h>

#include "sim_test_util.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <future>
#include <thread>

using namespace vexmo;

namespace {

using simtest::IdentityQuery;

class FakeClock : public Clock {
public:
    void SleepMs(unsigned ms) override { now += ms; }
    uint64_t NowMs() override { return now; }
    uint64_t now = 5000;
};

struct Found {
    std::string featurePath, inputPath;
};

// What the program's probe records for a product id: the input-33 interface first, otherwise
// the feature-33 one.
Found Probe(HidBackend& backend, uint16_t pid)
{
    Found f;
    for (const auto& path : backend.EnumerateInterfaces()) {
        auto dev = backend.Open(path);
        if (!dev)
            continue;
        HidAttributes a;
        HidCaps c;
        if (!dev->GetAttributes(a) || !dev->GetCaps(c))
            continue;
        if (a.VendorID != 0x248A || a.ProductID != pid)
            continue;
        if (c.InputReportByteLength == 33) {
            if (f.inputPath.empty())
                f.inputPath = path;
        } else if (c.FeatureReportByteLength == 33 && f.featurePath.empty()) {
            f.featurePath = path;
        }
    }
    return f;
}

SimReport AskIdentity(HidDevice& dev, uint8_t seq = 0)
{
    SimReport q = IdentityQuery(seq);
    EXPECT_TRUE(dev.SetFeature(q.data(), q.size()));
    SimReport reply;
    reply.fill(0xFF);
    reply[0] = 0x0C;
    EXPECT_TRUE(dev.GetFeature(reply.data(), reply.size()));
    return reply;
}

} // namespace

TEST(SimMouse, EnumeratesLinksAmongDecoys)
{
    SimOptions o;
    o.cable = true;
    o.receiver = true;
    SimMouse mouse(o);
    SimHidBackend backend(mouse);

    const auto paths = backend.EnumerateInterfaces();
    EXPECT_EQ(backend.EnumerateInterfaces(), paths) << "order must be stable";
    // Decoys: a keyboard that cannot be opened, another vendor's 33-byte feature interface.
    EXPECT_EQ(backend.Open("sim:keyboard"), nullptr);
    EXPECT_EQ(backend.Open("sim:cable/keyboard"), nullptr);
    EXPECT_EQ(backend.Open("sim:nothing"), nullptr);
    auto foreign = backend.Open("sim:other/vendor");
    ASSERT_NE(foreign, nullptr);
    HidCaps fc;
    ASSERT_TRUE(foreign->GetCaps(fc));
    EXPECT_EQ(fc.FeatureReportByteLength, 33);

    Found cable = Probe(backend, 0x5B2E);
    Found receiver = Probe(backend, 0x5B2F);
    EXPECT_EQ(cable.featurePath, "sim:cable/feature");
    EXPECT_EQ(cable.inputPath, "sim:cable/input");
    EXPECT_EQ(receiver.featurePath, "sim:receiver/feature");
    EXPECT_EQ(receiver.inputPath, "sim:receiver/input");
    // Cable's interfaces come before the receiver's.
    auto pos = [&](const std::string& p) { return std::find(paths.begin(), paths.end(), p) - paths.begin(); };
    EXPECT_LT(pos("sim:cable/input"), pos("sim:receiver/feature"));

    // Unplugging the cable takes its interfaces out of the list and moves the receiver's up.
    mouse.Unplug(SimLink::Cable);
    const auto after = backend.EnumerateInterfaces();
    EXPECT_EQ(std::count(after.begin(), after.end(), "sim:cable/feature"), 0);
    EXPECT_EQ(Probe(backend, 0x5B2E).featurePath, "");
    EXPECT_LT(std::find(after.begin(), after.end(), "sim:receiver/feature") - after.begin(),
              pos("sim:receiver/feature"));
}

TEST(SimMouse, InputInterfaceCanAlsoReportFeatureLength)
{
    SimOptions o;
    o.inputAlsoFeature = true;
    o.extraDecoys = 160;
    SimMouse mouse(o);
    SimHidBackend backend(mouse);
    auto dev = backend.Open("sim:cable/input");
    ASSERT_NE(dev, nullptr);
    HidCaps c;
    ASSERT_TRUE(dev->GetCaps(c));
    EXPECT_EQ(c.InputReportByteLength, 33);
    EXPECT_EQ(c.FeatureReportByteLength, 33);
    auto paths = backend.EnumerateInterfaces();
    EXPECT_GT(std::find(paths.begin(), paths.end(), "sim:cable/feature") - paths.begin(), 150);

    mouse.SetInputAlsoFeature(false);
    ASSERT_TRUE(dev->GetCaps(c));
    EXPECT_EQ(c.FeatureReportByteLength, 0);
}

TEST(SimMouse, AnswersIdentityQueryFromItsState)
{
    SimMouse mouse;
    SimHidBackend backend(mouse);
    auto dev = backend.Open("sim:cable/feature");
    ASSERT_NE(dev, nullptr);

    // Before any query there is no answer.
    SimReport none;
    none.fill(0xFF);
    none[0] = 0x0C;
    ASSERT_TRUE(dev->GetFeature(none.data(), none.size()));
    EXPECT_EQ(none[6], 0);

    mouse.SetSensorCode(0x89);
    mouse.SetBattery(42);
    mouse.SetCharging(2);
    mouse.SetShowBit(0);
    SimReport r = AskIdentity(*dev);
    EXPECT_EQ(r[0], 0x0C);
    EXPECT_EQ(r[2], 0x20);
    EXPECT_EQ(r[3], 0x00);
    EXPECT_NE(r[6], 0);
    EXPECT_EQ(std::string(r.begin() + 8, r.begin() + 12), "Q7J2");
    EXPECT_EQ(r[15], 0x89);
    EXPECT_EQ(r[18], 42);
    EXPECT_EQ(r[19], 2);
    EXPECT_EQ(r[21], 0);

    mouse.SetShowBit(1);
    mouse.SetBattery(100);
    r = AskIdentity(*dev, 1);
    EXPECT_EQ(r[21], 1);
    EXPECT_EQ(r[18], 100);

    // Only 33-byte reports with report id 0x0C, and only on a feature interface.
    SimReport q = IdentityQuery(2);
    EXPECT_FALSE(dev->SetFeature(q.data(), 32));
    q[0] = 0x05;
    EXPECT_FALSE(dev->SetFeature(q.data(), q.size()));
    auto input = backend.Open("sim:cable/input");
    q[0] = 0x0C;
    EXPECT_FALSE(input->SetFeature(q.data(), q.size()));
    EXPECT_EQ(mouse.Log().size(), 2u);
}

TEST(SimMouse, LateAnswersHaveNoData)
{
    SimMouse mouse;
    SimHidBackend backend(mouse);
    auto dev = backend.Open("sim:cable/feature");
    mouse.AnswerLate(2);
    EXPECT_EQ(AskIdentity(*dev, 0)[6], 0);
    SimReport second = AskIdentity(*dev, 1);
    EXPECT_EQ(second[6], 0);
    EXPECT_EQ(second[2], 0x20);
    EXPECT_NE(AskIdentity(*dev, 2)[6], 0);
}

TEST(SimMouse, LogsEveryFeatureReportWithTimeAndLink)
{
    FakeClock clock;
    SimOptions o;
    o.receiver = true;
    o.clock = &clock;
    SimMouse mouse(o);
    SimHidBackend backend(mouse);
    auto cable = backend.Open("sim:cable/feature");
    auto receiver = backend.Open("sim:receiver/feature");

    SimReport dpi{};
    dpi[0] = 0x0C;
    dpi[1] = 0x01;
    dpi[2] = 0x05;
    dpi[5] = 0x01;
    dpi[6] = 18;
    clock.now += 60;
    ASSERT_TRUE(cable->SetFeature(dpi.data(), dpi.size()));
    clock.now += 60;
    SimReport q = IdentityQuery(7);
    ASSERT_TRUE(receiver->SetFeature(q.data(), q.size()));

    auto log = mouse.Log();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].ms, 60u);
    EXPECT_EQ(log[0].link, SimLink::Cable);
    EXPECT_EQ(log[0].report, dpi);
    EXPECT_EQ(log[1].ms, 120u);
    EXPECT_EQ(log[1].link, SimLink::Receiver);
    EXPECT_EQ(log[1].report, q);
    mouse.ClearLog();
    EXPECT_TRUE(mouse.Log().empty());
}

TEST(SimMouse, UnplugEndsBlockedReadAndKillsHandles)
{
    SimMouse mouse;
    SimHidBackend backend(mouse);
    auto input = backend.Open("sim:cable/input");
    auto feature = backend.Open("sim:cable/feature");
    ASSERT_NE(input, nullptr);

    auto reader = std::async(std::launch::async, [&] {
        uint8_t buf[33];
        return input->Read(buf, sizeof buf);
    });
    EXPECT_EQ(reader.wait_for(std::chrono::milliseconds(50)), std::future_status::timeout);
    const uint64_t serial = mouse.LastEventSerial();
    mouse.Unplug(SimLink::Cable);
    ASSERT_EQ(reader.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_FALSE(reader.get());
    auto events = mouse.WaitEvents(serial, 0);
    ASSERT_FALSE(events.empty());
    EXPECT_FALSE(events[0].arrival);

    // The old handles stay dead after a replug; a new open works.
    mouse.Plug(SimLink::Cable);
    uint8_t buf[33] = {0x0C};
    HidAttributes a;
    EXPECT_FALSE(input->Read(buf, sizeof buf));
    EXPECT_FALSE(feature->GetAttributes(a));
    EXPECT_FALSE(feature->GetFeature(buf, sizeof buf));
    SimReport q = IdentityQuery(0);
    EXPECT_FALSE(feature->SetFeature(q.data(), q.size()));
    auto fresh = backend.Open("sim:cable/feature");
    ASSERT_NE(fresh, nullptr);
    EXPECT_NE(AskIdentity(*fresh)[6], 0);
    events = mouse.WaitEvents(serial, 0);
    EXPECT_TRUE(events.back().arrival);
}

TEST(SimMouse, DeliversButtonReportsToReaders)
{
    SimOptions o;
    o.receiver = true;
    SimMouse mouse(o);
    SimHidBackend backend(mouse);

    // Pressed before anyone listens: kept for the first reader.
    ASSERT_TRUE(mouse.PressDpiButton(3, 4));
    auto cable = backend.Open("sim:cable/input");
    uint8_t buf[33] = {};
    ASSERT_TRUE(cable->Read(buf, sizeof buf));
    EXPECT_EQ(buf[0], 5);
    EXPECT_EQ(buf[1], 6);
    EXPECT_EQ(buf[3], 4);
    EXPECT_EQ(buf[4], 3);

    // A reader blocked on another thread gets the report; the cable is preferred.
    auto receiver = backend.Open("sim:receiver/input");
    auto got = std::async(std::launch::async, [&] {
        SimReport r{};
        bool ok = cable->Read(r.data(), r.size());
        return std::make_pair(ok, r);
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_TRUE(mouse.PressRateButton(1, 2));
    ASSERT_EQ(got.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    auto [ok, r] = got.get();
    EXPECT_TRUE(ok);
    EXPECT_EQ(r[3], 1);
    EXPECT_EQ(r[4], 2);

    // Without the cable the receiver carries it.
    mouse.Unplug(SimLink::Cable);
    ASSERT_TRUE(mouse.PressDpiButton(1, 8));
    ASSERT_TRUE(receiver->Read(buf, sizeof buf));
    EXPECT_EQ(buf[4], 1);
    mouse.Unplug(SimLink::Receiver);
    EXPECT_FALSE(mouse.PressDpiButton(1, 8));
}

TEST(SimMouse, CancelReadWakesBlockedReader)
{
    SimMouse mouse;
    SimHidBackend backend(mouse);
    auto input = backend.Open("sim:cable/input");
    auto reader = std::async(std::launch::async, [&] {
        uint8_t buf[33];
        return input->Read(buf, sizeof buf);
    });
    EXPECT_EQ(reader.wait_for(std::chrono::milliseconds(30)), std::future_status::timeout);
    input->CancelRead();
    ASSERT_EQ(reader.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_FALSE(reader.get());
    mouse.PressDpiButton(1, 1);
    uint8_t buf[33];
    EXPECT_FALSE(input->Read(buf, sizeof buf)) << "cancel lasts";
}
