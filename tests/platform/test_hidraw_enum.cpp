#include "platform/base/hidraw_enum.h"
#include "platform/fake_hidraw_tree.h"
#include "platform/sample_descriptors.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace vexmo;
using namespace vexmo::test_descriptors;
using vexmo::test::FakeHidrawTree;

namespace {

// A machine with a keyboard, the mouse on its cable and through its receiver, a Bluetooth
// device, and nodes that must be left out.
void Populate(FakeHidrawTree& tree)
{
    tree.Add({10, "DRIVER=hid-generic\nHID_NAME=Receiver\n", kVendorCommands,
              FakeHidrawTree::Usb{0x248A, 0x5B2F, 0x0200}});
    tree.Add({2, "DRIVER=hid-generic\nHID_ID=0003:0000248A:00005B2E\nHID_NAME=Mouse\n",
              GamingMouseNode(), FakeHidrawTree::Usb{0x248A, 0x5B2E, 0x0102}});
    tree.Add({0, "HID_ID=0003:0000046D:0000C31C\n", kBootKeyboard,
              FakeHidrawTree::Usb{0x046D, 0xC31C, 0x4900}});
    tree.Add({3, "HID_ID=0003:0000248A:00005B2E\n", std::nullopt,
              FakeHidrawTree::Usb{0x248A, 0x5B2E, 0x0102}});
    tree.Add({4, "HID_ID=0003:0000248A:00005B2E\n", Bytes{0xC0, 0xA1, 0x01, 0xC0},
              FakeHidrawTree::Usb{0x248A, 0x5B2E, 0x0102}});
    // Bluetooth, but its adapter is a USB device close above: the adapter's version is not its.
    tree.Add({11, "HID_ID=0005:0000046D:0000B01A\n", kBootMouse,
              FakeHidrawTree::Usb{0x8087, 0x0A2B, 0x0001}});
    std::filesystem::create_directory(tree.Root() / "sys" / "class" / "hidraw" / "hidrawfoo");
}

struct Expected {
    const char* name;
    uint16_t vid, pid, version;
    HidCaps caps;
    bool usesIds;
    Bytes inputIds;
};

} // namespace

TEST(HidrawEnum, OneEntryPerCollectionInNodeOrder)
{
    FakeHidrawTree tree;
    Populate(tree);
    const std::vector<HidrawInterface> list = EnumerateHidraw(tree.Roots());

    const Expected expected[] = {
        {"hidraw0#0", 0x046D, 0xC31C, 0x4900, {0x06, 0x01, 9, 2, 0}, false, {0}},
        {"hidraw2#0", 0x248A, 0x5B2E, 0x0102, {0x02, 0x01, 8, 0, 0}, true, {1}},
        {"hidraw2#1", 0x248A, 0x5B2E, 0x0102, {0x01, 0x0C, 3, 0, 0}, true, {3}},
        {"hidraw2#2", 0x248A, 0x5B2E, 0x0102, {0x80, 0x01, 2, 0, 0}, true, {4}},
        {"hidraw2#3", 0x248A, 0x5B2E, 0x0102, {0x01, 0xFF00, 33, 9, 33}, true, {5}},
        {"hidraw10#0", 0x248A, 0x5B2F, 0x0200, {0x01, 0xFF00, 33, 0, 33}, true, {5}},
        {"hidraw11#0", 0x046D, 0xB01A, 0x0000, {0x02, 0x01, 4, 0, 0}, false, {0}},
    };
    ASSERT_EQ(list.size(), std::size(expected));
    for (size_t i = 0; i < list.size(); ++i) {
        const HidrawInterface& got = list[i];
        const Expected& e = expected[i];
        SCOPED_TRACE(e.name);
        EXPECT_EQ(got.Path, tree.Dev(e.name));
        EXPECT_EQ(got.NodePath + "#" + std::to_string(got.Collection), got.Path);
        EXPECT_EQ(got.Attributes.VendorID, e.vid);
        EXPECT_EQ(got.Attributes.ProductID, e.pid);
        EXPECT_EQ(got.Attributes.VersionNumber, e.version);
        EXPECT_EQ(got.Caps.Usage, e.caps.Usage);
        EXPECT_EQ(got.Caps.UsagePage, e.caps.UsagePage);
        EXPECT_EQ(got.Caps.InputReportByteLength, e.caps.InputReportByteLength);
        EXPECT_EQ(got.Caps.OutputReportByteLength, e.caps.OutputReportByteLength);
        EXPECT_EQ(got.Caps.FeatureReportByteLength, e.caps.FeatureReportByteLength);
        EXPECT_EQ(got.UsesReportIds, e.usesIds);
        EXPECT_EQ(got.InputReportIds, e.inputIds);
    }
}

TEST(HidrawEnum, MissingOrEmptySysfsGivesNothing)
{
    EXPECT_TRUE(EnumerateHidraw({"/nonexistent-sysfs", "/dev"}).empty());
    FakeHidrawTree tree;
    EXPECT_TRUE(EnumerateHidraw(tree.Roots()).empty());
}

TEST(HidrawEnum, FindAcceptsOnlyPathsItMadeAndRereadsSysfs)
{
    FakeHidrawTree tree;
    Populate(tree);
    const HidrawRoots roots = tree.Roots();
    const std::vector<HidrawInterface> list = EnumerateHidraw(roots);

    for (const HidrawInterface& i : list) {
        const auto found = FindHidrawInterface(roots, i.Path);
        ASSERT_TRUE(found) << i.Path;
        EXPECT_EQ(found->Path, i.Path);
        EXPECT_EQ(found->Caps.InputReportByteLength, i.Caps.InputReportByteLength);
        EXPECT_EQ(found->Caps.FeatureReportByteLength, i.Caps.FeatureReportByteLength);
        EXPECT_EQ(found->InputReportIds, i.InputReportIds);
    }

    const std::string refused[] = {
        tree.Dev("hidraw2#4"),  tree.Dev("hidraw2"),     tree.Dev("hidraw3#0"),
        tree.Dev("hidraw4#0"),  tree.Dev("hidraw02#0"),  tree.Dev("hidraw2#03"),
        tree.Dev("hidraw2#-1"), tree.Dev("hidraw2#"),    tree.Dev("hidraw2#1x"),
        tree.Dev("x/hidraw2#0"), tree.Dev("hidrawfoo#0"), "/dev/hidraw2#0",
        "hidraw2#0",            "",                      "#",
        tree.Dev("hidraw99999999999#0"),
    };
    for (const std::string& path : refused)
        EXPECT_FALSE(FindHidrawInterface(roots, path)) << path;

    // Unplugging the cable: both ways of looking see it at once.
    std::filesystem::remove(tree.Root() / "sys" / "class" / "hidraw" / "hidraw2");
    EXPECT_FALSE(FindHidrawInterface(roots, tree.Dev("hidraw2#3")));
    EXPECT_EQ(EnumerateHidraw(roots).size(), list.size() - 4);
}
