// The device link against the simulated mouse, with time and the UI thread replaced by fakes.

#include "device/device_link.h"

#include "sim_backend.h"
#include "sim_mouse.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <thread>

using namespace vexmo;

namespace {

constexpr int WaitLimitMs = 5000;

// Records every sleep and advances its time by it; never waits.
class RecordingClock : public Clock {
public:
    void SleepMs(unsigned ms) override
    {
        std::lock_guard lock(mutex_);
        sleeps_.push_back(ms);
        now_ += ms;
    }
    uint64_t NowMs() override
    {
        std::lock_guard lock(mutex_);
        return now_;
    }
    std::vector<unsigned> Sleeps()
    {
        std::lock_guard lock(mutex_);
        return sleeps_;
    }
    void ClearSleeps()
    {
        std::lock_guard lock(mutex_);
        sleeps_.clear();
    }

private:
    std::mutex mutex_;
    std::vector<unsigned> sleeps_;
    uint64_t now_ = 1000;
};

// Stands in for the UI thread: work handed over is queued until the test runs it.
class UiQueue {
public:
    UiPost Poster()
    {
        return [this](std::function<void()> work) {
            std::lock_guard lock(mutex_);
            work_.push_back(std::move(work));
            changed_.notify_all();
        };
    }
    bool WaitForPosted(size_t count)
    {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, std::chrono::milliseconds(WaitLimitMs),
                                 [&] { return work_.size() >= count; });
    }
    size_t Posted()
    {
        std::lock_guard lock(mutex_);
        return work_.size();
    }
    void RunAll()
    {
        std::deque<std::function<void()>> work;
        {
            std::lock_guard lock(mutex_);
            work.swap(work_);
        }
        for (auto& w : work)
            w();
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::function<void()>> work_;
};

template <class Condition> bool WaitUntil(Condition condition)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(WaitLimitMs);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// Wraps the simulated backend to count the handles open on each path (probes that leak, or a
// second reader, show up here) and to make GetFeature fail on demand.
class TrackingBackend : public HidBackend {
public:
    explicit TrackingBackend(HidBackend& inner) : inner_(inner) {}

    std::vector<std::string> EnumerateInterfaces() override { return inner_.EnumerateInterfaces(); }
    std::unique_ptr<HidDevice> Open(const std::string& path) override
    {
        std::unique_ptr<HidDevice> device = inner_.Open(path);
        if (!device)
            return nullptr;
        return std::make_unique<Tracked>(*this, path, std::move(device));
    }
    int LiveHandles(const std::string& path)
    {
        std::lock_guard lock(mutex_);
        return live_[path];
    }
    int AllLiveHandles()
    {
        std::lock_guard lock(mutex_);
        int total = 0;
        for (auto& [path, count] : live_)
            total += count;
        return total;
    }
    std::atomic<bool> FailGetFeature{false};

private:
    class Tracked : public HidDevice {
    public:
        Tracked(TrackingBackend& owner, std::string path, std::unique_ptr<HidDevice> inner)
            : owner_(owner), path_(std::move(path)), inner_(std::move(inner))
        {
            std::lock_guard lock(owner_.mutex_);
            ++owner_.live_[path_];
        }
        ~Tracked() override
        {
            std::lock_guard lock(owner_.mutex_);
            --owner_.live_[path_];
        }
        bool GetAttributes(HidAttributes& out) override { return inner_->GetAttributes(out); }
        bool GetCaps(HidCaps& out) override { return inner_->GetCaps(out); }
        bool SetFeature(const uint8_t* data, size_t len) override
        {
            return inner_->SetFeature(data, len);
        }
        bool GetFeature(uint8_t* data, size_t len) override
        {
            return !owner_.FailGetFeature && inner_->GetFeature(data, len);
        }
        bool Read(uint8_t* data, size_t len) override { return inner_->Read(data, len); }
        void CancelRead() override { inner_->CancelRead(); }

    private:
        TrackingBackend& owner_;
        std::string path_;
        std::unique_ptr<HidDevice> inner_;
    };

    HidBackend& inner_;
    std::mutex mutex_;
    std::map<std::string, int> live_;
};

// The simulated mouse, the link under test and everything the main window would plug into it.
struct Rig {
    explicit Rig(SimOptions options) : mouse(WithClock(options, clock))
    {
        link.emplace(backend, clock, ui.Poster());
        link->Hooks.RestartStatusTimer = [this] { ++timerRestarts; };
        link->Hooks.RequestQuietApply = [this] { ++quietApplies; };
        link->Hooks.MouseChangeReport = [this](const Report& r) {
            changes.push_back(r);
            changeThreads.push_back(std::this_thread::get_id());
        };
        link->Hooks.DecodeIdentityReply = [this](const Report& r) { replies.push_back(r); };
    }

    static SimOptions WithClock(SimOptions options, Clock& clock)
    {
        options.clock = &clock;
        return options;
    }
    bool ReaderReading(const LinkRecord& l)
    {
        return WaitUntil([&] { return l.ReaderBusy.load() == 1 && l.ReaderRun.load() == 1; });
    }
    int MemberIndexOf(const std::string& path)
    {
        auto list = backend.EnumerateInterfaces();
        return int(std::find(list.begin(), list.end(), path) - list.begin());
    }
    // Paths the mouse received command reports on, in order.
    std::vector<std::string> CommandPaths()
    {
        std::vector<std::string> paths;
        for (auto& entry : mouse.Log())
            paths.push_back(entry.path);
        return paths;
    }

    RecordingClock clock;
    SimMouse mouse;
    SimHidBackend simBackend{mouse};
    TrackingBackend backend{simBackend};
    UiQueue ui;
    int timerRestarts = 0;
    int quietApplies = 0;
    std::vector<Report> changes;
    std::vector<std::thread::id> changeThreads;
    std::vector<Report> replies;
    std::optional<DeviceLink> link; // last: destroyed before everything it uses
};

SimOptions Plugged(bool cable, bool receiver)
{
    SimOptions options;
    options.cable = cable;
    options.receiver = receiver;
    return options;
}

TEST(DeviceLinkRescan, OpensPresentLinksAndRoutesCommandsToThePreferredHandle)
{
    struct Case {
        bool cable, receiver;
        const char* commandPath; // null: nothing may be sent
    } cases[] = {
        {true, true, "sim:cable/feature"},
        {false, true, "sim:receiver/feature"},
        {true, false, "sim:cable/feature"},
        {false, false, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "cable " << c.cable << ", receiver " << c.receiver);
        Rig rig(Plugged(c.cable, c.receiver));
        DeviceLink& link = *rig.link;
        link.RescanDevices();

        EXPECT_EQ(link.Connected, (c.cable || c.receiver) ? 1 : 0);
        EXPECT_EQ(rig.timerRestarts, link.Connected);
        EXPECT_EQ(rig.quietApplies, 1);
        for (auto [record, present, name] :
             {std::tuple{&link.CableLink, c.cable, "cable"},
              std::tuple{&link.ReceiverLink, c.receiver, "receiver"}}) {
            SCOPED_TRACE(name);
            const std::string base = std::string("sim:") + name;
            EXPECT_EQ(record->FeaturePresent, present ? 1 : 0);
            EXPECT_EQ(record->FeatureHandle != nullptr, present);
            EXPECT_EQ(record->FeaturePath, present ? base + "/feature" : "");
            EXPECT_EQ(record->InputPath(), present ? base + "/input" : "");
            if (present) {
                EXPECT_EQ(record->FeatureIndex, rig.MemberIndexOf(base + "/feature"));
                EXPECT_EQ(record->InputIndex(), rig.MemberIndexOf(base + "/input"));
                EXPECT_TRUE(rig.ReaderReading(*record));
            } else {
                EXPECT_FALSE(link.ReaderRunning(*record));
            }
        }

        const uint8_t interval = 4;
        link.BuildCommandReport(0x07, 0x01, std::span(&interval, 1));
        link.SendAndWait();
        auto log = rig.mouse.Log();
        if (c.commandPath) {
            ASSERT_EQ(log.size(), 1u);
            EXPECT_EQ(log[0].path, c.commandPath);
            EXPECT_TRUE(std::equal(log[0].report.begin(), log[0].report.end(),
                                   link.ReportBuffer.begin()));
        } else {
            EXPECT_TRUE(log.empty());
        }
        // The pause follows a command whether or not it went anywhere.
        EXPECT_EQ(rig.clock.Sleeps(), std::vector<unsigned>{CommandPauseMs});
        // Probe handles are all closed again: only the command handles and readers stay open.
        EXPECT_EQ(rig.backend.AllLiveHandles(), 2 * (int(c.cable) + int(c.receiver)));
    }
}

TEST(DeviceLinkRescan, InterfaceWithInputAndFeatureReportsIsTheNotificationInterface)
{
    SimOptions options = Plugged(true, false);
    options.inputAlsoFeature = true;
    Rig rig(options);
    DeviceLink& link = *rig.link;
    link.RescanDevices();

    EXPECT_EQ(link.CableLink.InputPath(), "sim:cable/input");
    EXPECT_EQ(link.CableLink.FeaturePath, "sim:cable/feature");
    EXPECT_TRUE(rig.ReaderReading(link.CableLink));
    link.BuildCommandReport(0x0A, 0x01, std::vector<uint8_t>{2});
    link.SendCommandReport();
    EXPECT_EQ(rig.CommandPaths(), std::vector<std::string>{"sim:cable/feature"});
}

TEST(DeviceLinkRescan, RescanKeepsTheOpenHandleAndTheRunningReader)
{
    Rig rig(Plugged(true, true));
    DeviceLink& link = *rig.link;
    link.RescanDevices();
    ASSERT_TRUE(rig.ReaderReading(link.CableLink));
    ASSERT_TRUE(rig.ReaderReading(link.ReceiverLink));
    HidDevice* cableHandle = link.CableLink.FeatureHandle.get();
    HidDevice* receiverHandle = link.ReceiverLink.FeatureHandle.get();

    link.RescanDevices();
    link.RescanDevices();

    EXPECT_EQ(link.CableLink.FeatureHandle.get(), cableHandle);
    EXPECT_EQ(link.ReceiverLink.FeatureHandle.get(), receiverHandle);
    EXPECT_EQ(rig.timerRestarts, 3);
    EXPECT_EQ(rig.quietApplies, 3);
    for (const char* path : {"sim:cable/feature", "sim:cable/input", "sim:receiver/feature",
                             "sim:receiver/input"})
        EXPECT_EQ(rig.backend.LiveHandles(path), 1) << path;

    // Each report of the mouse arrives once: one reader per link.
    ASSERT_TRUE(rig.mouse.PressDpiButton(2, 4));
    ASSERT_TRUE(rig.ui.WaitForPosted(1));
    rig.ui.RunAll();
    ASSERT_EQ(rig.changes.size(), 1u);
    EXPECT_EQ(rig.changes[0][4], 2);
}

TEST(DeviceLinkRescan, UnplugEndsTheReaderAndTheNextRescanClosesTheLink)
{
    Rig rig(Plugged(true, true));
    DeviceLink& link = *rig.link;
    link.RescanDevices();
    ASSERT_TRUE(rig.ReaderReading(link.CableLink));
    ASSERT_TRUE(rig.ReaderReading(link.ReceiverLink));

    rig.mouse.Unplug(SimLink::Cable);
    ASSERT_TRUE(WaitUntil([&] { return !link.ReaderRunning(link.CableLink); }));
    EXPECT_EQ(link.CableLink.InputPath(), "");
    EXPECT_EQ(rig.backend.LiveHandles("sim:cable/input"), 0);
    // The command handle waits for the rescan that no longer sees the cable.
    EXPECT_NE(link.CableLink.FeatureHandle, nullptr);
    EXPECT_TRUE(link.ReaderRunning(link.ReceiverLink));

    link.RescanDevices();
    EXPECT_EQ(link.CableLink.FeaturePresent, 0);
    EXPECT_EQ(link.CableLink.FeatureHandle, nullptr);
    EXPECT_EQ(link.CableLink.FeaturePath, "");
    EXPECT_EQ(rig.backend.LiveHandles("sim:cable/feature"), 0);
    EXPECT_EQ(link.Connected, 1);
    link.BuildCommandReport(0x09, 0x01, std::vector<uint8_t>{2, 0});
    link.SendCommandReport();
    EXPECT_EQ(rig.CommandPaths(), std::vector<std::string>{"sim:receiver/feature"});

    // Plugged back in, the cable is recorded anew and gets a reader again.
    rig.mouse.Plug(SimLink::Cable);
    link.RescanDevices();
    EXPECT_EQ(link.CableLink.InputPath(), "sim:cable/input");
    EXPECT_NE(link.CableLink.FeatureHandle, nullptr);
    EXPECT_TRUE(rig.ReaderReading(link.CableLink));

    // The last link gone: not connected, so the status timer is not restarted.
    rig.mouse.Unplug(SimLink::Cable);
    rig.mouse.Unplug(SimLink::Receiver);
    const int restarts = rig.timerRestarts;
    link.RescanDevices();
    EXPECT_EQ(link.Connected, 0);
    EXPECT_EQ(rig.timerRestarts, restarts);
    EXPECT_EQ(link.PreferredHandle(), nullptr);
}

TEST(DeviceLinkRescan, OnlyTheFirst150InterfacesAreExamined)
{
    // Decoys push the cable's interfaces towards the end of the probed range and past it.
    for (int decoys : {144, 145, 146}) {
        SCOPED_TRACE(decoys);
        SimOptions options = Plugged(true, false);
        options.extraDecoys = decoys;
        Rig rig(options);
        const bool featureProbed = rig.MemberIndexOf("sim:cable/feature") < 150;
        const bool inputProbed = rig.MemberIndexOf("sim:cable/input") < 150;
        DeviceLink& link = *rig.link;
        link.RescanDevices();

        EXPECT_EQ(link.Connected, featureProbed ? 1 : 0);
        EXPECT_EQ(link.CableLink.FeatureHandle != nullptr, featureProbed);
        EXPECT_EQ(link.CableLink.InputPath(), inputProbed ? "sim:cable/input" : "");
        if (inputProbed)
            EXPECT_TRUE(rig.ReaderReading(link.CableLink));
        else
            EXPECT_FALSE(link.ReaderRunning(link.CableLink));
    }
}

TEST(DeviceLinkOpen, InterfaceNoLongerTheLinksAtItsIndexIsNotKept)
{
    Rig rig(Plugged(true, true));
    DeviceLink& link = *rig.link;
    link.RescanDevices();
    const int index = link.CableLink.FeatureIndex;

    // Without the cable the receiver's command interface moves to the cable's old position.
    rig.mouse.Unplug(SimLink::Cable);
    ASSERT_EQ(rig.backend.EnumerateInterfaces()[size_t(index)], "sim:receiver/feature");
    link.OpenFeatureInterface(link.CableLink);
    EXPECT_EQ(link.CableLink.FeatureHandle, nullptr);

    // A position past the end of the list leaves the link as it was.
    link.ReceiverLink.FeatureIndex = 10000;
    HidDevice* receiverHandle = link.ReceiverLink.FeatureHandle.get();
    link.OpenFeatureInterface(link.ReceiverLink);
    EXPECT_EQ(link.ReceiverLink.FeatureHandle.get(), receiverHandle);
}

TEST(DeviceLinkCommands, ReportLayoutAndSequenceWrap)
{
    Rig rig(Plugged(false, false));
    DeviceLink& link = *rig.link;
    link.SequenceNumber = 254;
    link.ReportBuffer.fill(0xAA);

    const std::vector<uint8_t> slot = {3, 0x10, 0x04, 0x00};
    link.BuildCommandReport(0x04, 0x01, slot);
    const std::vector<uint8_t> head = {0x0C, 0x01, 0x04, 0x00, 254, 0x01, 4, 3, 0x10, 0x04, 0x00};
    EXPECT_TRUE(std::equal(head.begin(), head.end(), link.ReportBuffer.begin()));
    EXPECT_TRUE(std::all_of(link.ReportBuffer.begin() + head.size(), link.ReportBuffer.end(),
                            [](uint8_t b) { return b == 0; }));

    link.BuildCommandReport(0x04, 0x01, slot);
    EXPECT_EQ(link.ReportBuffer[4], 255);
    link.BuildCommandReport(0x04, 0x01, slot);
    EXPECT_EQ(link.ReportBuffer[4], 0);
    EXPECT_EQ(link.SequenceNumber, 1);

    // A block longer than its meaningful length: the length is kept, the bytes are copied.
    std::vector<uint8_t> block(25);
    for (size_t i = 0; i < block.size(); ++i)
        block[i] = uint8_t(0x40 + i);
    link.BuildCommandReport(0x08, 0x01, 12, block);
    EXPECT_EQ(link.ReportBuffer[6], 12);
    EXPECT_TRUE(std::equal(block.begin(), block.end(), link.ReportBuffer.begin() + 7));
    EXPECT_EQ(link.ReportBuffer[32], 0);

    // More data than a report holds: only what fits in the sent bytes is copied.
    link.ReportBuffer.fill(0xAA);
    link.BuildCommandReport(0x0E, 0x12, std::vector<uint8_t>(40, 0x77));
    EXPECT_EQ(link.ReportBuffer[6], 26);
    EXPECT_EQ(link.ReportBuffer[32], 0x77);
    EXPECT_TRUE(std::all_of(link.ReportBuffer.begin() + 33, link.ReportBuffer.end(),
                            [](uint8_t b) { return b == 0; }));
}

TEST(DeviceLinkCommands, EveryCommandIsFollowedBy60Ms)
{
    Rig rig(Plugged(true, false));
    DeviceLink& link = *rig.link;
    link.RescanDevices();
    for (uint8_t level = 1; level <= 3; ++level) {
        link.BuildCommandReport(0x0A, 0x01, std::vector<uint8_t>{level});
        link.SendAndWait();
    }
    link.PauseAfterCommand();
    EXPECT_EQ(rig.clock.Sleeps(), std::vector<unsigned>(4, CommandPauseMs));
    auto log = rig.mouse.Log();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[1].ms - log[0].ms, CommandPauseMs);
    EXPECT_EQ(log[2].ms - log[1].ms, CommandPauseMs);
}

TEST(DeviceLinkQuery, RetriesOnceWhenTheAnswerIsLateAndStopsAtAFailure)
{
    enum class Fault { None, GetFeatureFails, Unplugged };
    struct Case {
        const char* name;
        int lateAnswers;
        Fault fault;
        size_t queriesSent;
        std::vector<unsigned> sleeps;
        bool decoded;
    } cases[] = {
        {"answer at once", 0, Fault::None, 1, {10}, true},
        {"late once", 1, Fault::None, 2, {10, 10}, true},
        {"late twice: no third query", 2, Fault::None, 2, {10, 10}, false},
        {"get-feature fails", 0, Fault::GetFeatureFails, 1, {10}, false},
        {"set-feature fails", 0, Fault::Unplugged, 0, {}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig(Plugged(true, true));
        DeviceLink& link = *rig.link;
        link.RescanDevices();
        rig.clock.ClearSleeps();
        rig.mouse.AnswerLate(c.lateAnswers);
        rig.backend.FailGetFeature = c.fault == Fault::GetFeatureFails;
        if (c.fault == Fault::Unplugged)
            rig.mouse.Unplug(SimLink::Cable);
        link.SequenceNumber = 255;

        link.QueryDeviceInfo();

        auto log = rig.mouse.Log();
        ASSERT_EQ(log.size(), c.queriesSent);
        for (size_t i = 0; i < log.size(); ++i) {
            EXPECT_EQ(log[i].path, "sim:cable/feature");
            EXPECT_EQ(log[i].report[2], IdentityQueryCommand);
            EXPECT_EQ(log[i].report[5], 0);
            EXPECT_EQ(log[i].report[6], 0);
            // The repeated query is built afresh, with the next sequence number.
            EXPECT_EQ(log[i].report[4], uint8_t(255 + i));
        }
        EXPECT_EQ(rig.clock.Sleeps(), c.sleeps);
        ASSERT_EQ(rig.replies.size(), c.decoded ? 1u : 0u);
        if (c.decoded) {
            SimReport expected = rig.mouse.IdentityReply();
            EXPECT_TRUE(std::equal(expected.begin(), expected.end(), rig.replies[0].begin()));
        }
    }
}

TEST(DeviceLinkQuery, NothingHappensWithoutAHandle)
{
    Rig rig(Plugged(false, false));
    rig.link->RescanDevices();
    rig.link->QueryDeviceInfo();
    EXPECT_TRUE(rig.clock.Sleeps().empty());
    EXPECT_TRUE(rig.replies.empty());
}

TEST(DeviceLinkReader, HandsChangeReportsToTheUiThreadInOrder)
{
    Rig rig(Plugged(true, false));
    DeviceLink& link = *rig.link;
    link.RescanDevices();
    ASSERT_TRUE(rig.ReaderReading(link.CableLink));

    // Input reports that announce no change are passed over.
    SimReport other{};
    other[0] = InputReportId;
    other[1] = 7;
    SimReport otherId{};
    otherId[0] = 4;
    otherId[1] = MouseChangeReportKind;
    ASSERT_TRUE(rig.mouse.QueueInputReport(SimLink::Cable, other));
    ASSERT_TRUE(rig.mouse.QueueInputReport(SimLink::Cable, otherId));
    for (uint8_t level = 1; level <= 3; ++level)
        ASSERT_TRUE(rig.mouse.PressDpiButton(level, 8));
    ASSERT_TRUE(rig.ui.WaitForPosted(3));
    EXPECT_EQ(rig.ui.Posted(), 3u);
    EXPECT_TRUE(rig.changes.empty()) << "the handler must not run on the reader";

    rig.ui.RunAll();
    ASSERT_EQ(rig.changes.size(), 3u);
    for (uint8_t i = 0; i < 3; ++i) {
        EXPECT_EQ(rig.changes[i][0], InputReportId);
        EXPECT_EQ(rig.changes[i][1], MouseChangeReportKind);
        EXPECT_EQ(rig.changes[i][3], 8);
        EXPECT_EQ(rig.changes[i][4], i + 1);
        EXPECT_EQ(rig.changeThreads[i], std::this_thread::get_id());
    }
}

TEST(DeviceLinkReader, DestroyingTheLinkStopsBlockedReaders)
{
    Rig rig(Plugged(true, true));
    rig.link->RescanDevices();
    ASSERT_TRUE(rig.ReaderReading(rig.link->CableLink));
    ASSERT_TRUE(rig.ReaderReading(rig.link->ReceiverLink));
    rig.link.reset();
    EXPECT_EQ(rig.backend.AllLiveHandles(), 0);
}

} // namespace
