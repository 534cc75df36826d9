#include "platform/base/hidraw_backend.h"
#include "platform/fake_hidraw_tree.h"
#include "platform/sample_descriptors.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

#include <sys/socket.h>
#include <unistd.h>

using namespace vexmo;
using namespace vexmo::test_descriptors;
using vexmo::test::FakeHidrawTree;

namespace {

// A socket pair keeps report boundaries the way a hidraw node does; the device gets one end,
// the test plays the kernel on the other.
struct FakeNode {
    std::unique_ptr<HidDevice> device;
    int peer = -1;

    FakeNode(bool usesIds, Bytes inputIds, uint16_t inputLength)
    {
        int fds[2];
        if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, fds) != 0)
            return;
        HidrawInterface info;
        info.UsesReportIds = usesIds;
        info.InputReportIds = std::move(inputIds);
        info.Caps.InputReportByteLength = inputLength;
        device = MakeHidrawDevice(fds[0], info);
        peer = fds[1];
    }
    ~FakeNode()
    {
        if (peer >= 0)
            ::close(peer);
    }
    void Send(const Bytes& report) const
    {
        ASSERT_EQ(::send(peer, report.data(), report.size(), 0),
                  static_cast<ssize_t>(report.size()));
    }
};

Bytes Report(std::initializer_list<uint8_t> head, size_t size)
{
    Bytes r(head);
    r.resize(size, 0xEE);
    return r;
}

} // namespace

TEST(HidrawBackend, OpensCollectionsOfTheFakeTree)
{
    FakeHidrawTree tree;
    tree.Add({2, "HID_ID=0003:0000248A:00005B2E\n", GamingMouseNode(),
              FakeHidrawTree::Usb{0x248A, 0x5B2E, 0x0102}, true});
    tree.Add({5, "HID_ID=0003:0000248A:00005B2F\n", kVendorCommands,
              FakeHidrawTree::Usb{0x248A, 0x5B2F, 0x0200}, false});
    HidrawBackend backend(tree.Roots());

    const std::vector<std::string> paths = backend.EnumerateInterfaces();
    ASSERT_EQ(paths.size(), 5u);
    EXPECT_EQ(paths[3], tree.Dev("hidraw2#3"));
    EXPECT_EQ(paths[4], tree.Dev("hidraw5#0"));

    // The plain file in place of the node answers no ioctl: ids come from sysfs.
    const auto device = backend.Open(paths[3]);
    ASSERT_TRUE(device);
    HidAttributes attributes;
    ASSERT_TRUE(device->GetAttributes(attributes));
    EXPECT_EQ(attributes.VendorID, 0x248A);
    EXPECT_EQ(attributes.ProductID, 0x5B2E);
    EXPECT_EQ(attributes.VersionNumber, 0x0102);
    HidCaps caps;
    ASSERT_TRUE(device->GetCaps(caps));
    EXPECT_EQ(caps.UsagePage, 0xFF00);
    EXPECT_EQ(caps.InputReportByteLength, 33);
    EXPECT_EQ(caps.OutputReportByteLength, 9);
    EXPECT_EQ(caps.FeatureReportByteLength, 33);

    // Failures are reported, never taken for success.
    uint8_t report[33] = {0x0C};
    EXPECT_FALSE(device->SetFeature(report, sizeof report));
    EXPECT_FALSE(device->GetFeature(report, sizeof report));
    EXPECT_FALSE(device->SetFeature(report, 0));
    std::vector<uint8_t> huge(1u << 14, 0x0C);
    EXPECT_FALSE(device->SetFeature(huge.data(), huge.size()));

    EXPECT_FALSE(backend.Open(paths[4]));              // no /dev node
    EXPECT_FALSE(backend.Open(tree.Dev("hidraw2#4"))); // no such collection
    EXPECT_FALSE(backend.Open(tree.Dev("hidraw2")));
    EXPECT_FALSE(backend.Open("/etc/passwd#0"));
}

TEST(HidrawBackend, ReadKeepsToTheCollectionsReportsAndPadsShortOnes)
{
    FakeNode node(true, {5}, 33);
    ASSERT_TRUE(node.device);
    node.Send(Report({1, 0x01, 0x10}, 8)); // the mouse collection's report
    node.Send(Report({5, 6, 1, 2}, 4));    // short
    node.Send(Report({3, 0xE9, 0x00}, 3)); // consumer control
    node.Send(Report({5, 6, 3}, 33));

    uint8_t data[33];
    ASSERT_TRUE(node.device->Read(data, sizeof data));
    EXPECT_EQ(Bytes(data, data + 5), (Bytes{5, 6, 1, 2, 0}));
    EXPECT_EQ(data[32], 0);
    ASSERT_TRUE(node.device->Read(data, sizeof data));
    EXPECT_EQ(Bytes(data, data + 33), Report({5, 6, 3}, 33));

    // A buffer shorter than the report gets its head; the report ID is still checked.
    node.Send(Report({1}, 8));
    node.Send(Report({5, 7, 9}, 33));
    uint8_t small[2];
    ASSERT_TRUE(node.device->Read(small, sizeof small));
    EXPECT_EQ(Bytes(small, small + 2), (Bytes{5, 7}));
}

TEST(HidrawBackend, ReadOfAnUnnumberedDeviceStartsWithIdZero)
{
    FakeNode node(false, {0}, 4);
    ASSERT_TRUE(node.device);
    node.Send({0x01, 0xFF, 0x02});
    node.Send({0x02, 0x03, 0x04});
    uint8_t data[4];
    ASSERT_TRUE(node.device->Read(data, sizeof data));
    EXPECT_EQ(Bytes(data, data + 4), (Bytes{0, 0x01, 0xFF, 0x02}));
    ASSERT_TRUE(node.device->Read(data, 2));
    EXPECT_EQ(Bytes(data, data + 2), (Bytes{0, 0x02}));
}

TEST(HidrawBackend, ReadEndsOnCancelAndOnHangUp)
{
    {
        FakeNode node(true, {5}, 33);
        ASSERT_TRUE(node.device);
        std::promise<void> firstDone;
        auto reader = std::async(std::launch::async, [&] {
            uint8_t data[33];
            const bool first = node.device->Read(data, sizeof data);
            firstDone.set_value();
            const bool second = node.device->Read(data, sizeof data); // blocks until cancelled
            return first && !second;
        });
        node.Send(Report({5, 6}, 33));
        firstDone.get_future().wait();
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        node.device->CancelRead();
        ASSERT_EQ(reader.wait_for(std::chrono::seconds(5)), std::future_status::ready);
        EXPECT_TRUE(reader.get());

        // Cancelled for good, even with a report waiting.
        node.Send(Report({5, 6}, 33));
        uint8_t data[33];
        EXPECT_FALSE(node.device->Read(data, sizeof data));
    }
    {
        FakeNode node(true, {5}, 33);
        ASSERT_TRUE(node.device);
        auto reader = std::async(std::launch::async, [&] {
            uint8_t data[33];
            return node.device->Read(data, sizeof data);
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        ::shutdown(node.peer, SHUT_RDWR); // the device goes away
        ASSERT_EQ(reader.wait_for(std::chrono::seconds(5)), std::future_status::ready);
        EXPECT_FALSE(reader.get());
    }
}
