#include "platform/base/hid_report_descriptor.h"
#include "platform/sample_descriptors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <vector>

using vexmo::HidReportDescriptor;
using vexmo::HidTopLevelCollection;
using vexmo::ParseHidReportDescriptor;
using namespace vexmo::test_descriptors;

namespace {

struct Expected {
    uint16_t page, usage, input, output, feature;
    Bytes inputIds, outputIds, featureIds;
};

void ExpectCollection(const HidTopLevelCollection& c, const Expected& e)
{
    EXPECT_EQ(c.UsagePage, e.page);
    EXPECT_EQ(c.Usage, e.usage);
    EXPECT_EQ(c.InputReportByteLength, e.input);
    EXPECT_EQ(c.OutputReportByteLength, e.output);
    EXPECT_EQ(c.FeatureReportByteLength, e.feature);
    EXPECT_EQ(c.InputReportIds, e.inputIds);
    EXPECT_EQ(c.OutputReportIds, e.outputIds);
    EXPECT_EQ(c.FeatureReportIds, e.featureIds);
}

// What must hold of any result, whatever the input.
void ExpectSane(const HidReportDescriptor& d)
{
    for (const auto& c : d.Collections) {
        const std::pair<uint16_t, const Bytes*> types[] = {
            {c.InputReportByteLength, &c.InputReportIds},
            {c.OutputReportByteLength, &c.OutputReportIds},
            {c.FeatureReportByteLength, &c.FeatureReportIds},
        };
        for (const auto& [length, ids] : types) {
            EXPECT_EQ(length == 0, ids->empty());
            EXPECT_TRUE(std::is_sorted(ids->begin(), ids->end()));
            EXPECT_EQ(std::adjacent_find(ids->begin(), ids->end()), ids->end());
            if (!d.UsesReportIds && !ids->empty()) {
                EXPECT_EQ(*ids, Bytes{0});
            }
        }
    }
}

} // namespace

TEST(HidReportDescriptor, SingleCollectionsGiveWindowsLengths)
{
    struct Case {
        const char* name;
        const Bytes* bytes;
        bool usesIds;
        Expected expected;
    } cases[] = {
        {"boot mouse", &kBootMouse, false, {0x01, 0x02, 4, 0, 0, {0}, {}, {}}},
        {"boot keyboard", &kBootKeyboard, false, {0x01, 0x06, 9, 2, 0, {0}, {0}, {}}},
        {"vendor commands", &kVendorCommands, true, {0xFF00, 0x01, 33, 0, 33, {5}, {}, {0x0C}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const HidReportDescriptor d = ParseHidReportDescriptor(*c.bytes);
        EXPECT_TRUE(d.Complete);
        EXPECT_EQ(d.UsesReportIds, c.usesIds);
        ASSERT_EQ(d.Collections.size(), 1u);
        ExpectCollection(d.Collections[0], c.expected);
    }
}

TEST(HidReportDescriptor, SeveralTopLevelCollectionsEachGetTheirOwnReports)
{
    const Bytes node = GamingMouseNode();
    const HidReportDescriptor d = ParseHidReportDescriptor(node);
    EXPECT_TRUE(d.Complete);
    EXPECT_TRUE(d.UsesReportIds);
    ASSERT_EQ(d.Collections.size(), 4u);
    ExpectCollection(d.Collections[0], {0x01, 0x02, 8, 0, 0, {1}, {}, {}});
    ExpectCollection(d.Collections[1], {0x0C, 0x01, 3, 0, 0, {3}, {}, {}});
    ExpectCollection(d.Collections[2], {0x01, 0x80, 2, 0, 0, {4}, {}, {}});
    ExpectCollection(d.Collections[3], {0xFF00, 0x01, 33, 9, 33, {5}, {6}, {0x0C}});
}

TEST(HidReportDescriptor, GlobalStackLongItemsAndExtendedUsages)
{
    const Bytes bytes = {
        0x05, 0x01,                   // usage page: generic desktop
        0x0B, 0x01, 0x00, 0xA0, 0xFF, // extended usage 0xFFA0:0001 overrides the page
        0xA1, 0x01,
        0x85, 0x01, 0x75, 0x08, 0x95, 0x04, // id 1, 8 bits x 4
        0xA4,                               // push
        0x85, 0x02, 0x95, 0x10, 0xB1, 0x02, //   feature 2: 16 bytes
        0xFE, 0x03, 0x10, 0xAA, 0xBB, 0xCC, //   a long item, skipped
        0xB4,                               // pop: back to id 1, 8 bits x 4
        0xB1, 0x02, 0xB1, 0x02,             // feature 1: 8 bytes
        0x81, 0x02,                         // input 1: 4 bytes
        0xA1, 0x02, 0x85, 0x09, 0x95, 0x3F, 0xB1, 0x02, 0xC0, // nested: feature 9, 63 bytes
        0xC0,
    };
    const HidReportDescriptor d = ParseHidReportDescriptor(bytes);
    EXPECT_TRUE(d.Complete);
    ASSERT_EQ(d.Collections.size(), 1u);
    ExpectCollection(d.Collections[0], {0xFFA0, 0x01, 5, 0, 64, {1}, {}, {1, 2, 9}});
}

TEST(HidReportDescriptor, TruncationKeepsOnlyTheCollectionsClosedBeforeIt)
{
    const Bytes* parts[] = {&kNodeMouse, &kNodeConsumer, &kNodeSystem, &kNodeVendor};
    const Bytes node = Concat({parts[0], parts[1], parts[2], parts[3]});
    const HidReportDescriptor full = ParseHidReportDescriptor(node);
    ASSERT_EQ(full.Collections.size(), 4u);

    std::vector<size_t> ends;
    size_t offset = 0;
    for (const Bytes* p : parts)
        ends.push_back(offset += p->size());

    for (size_t len = 0; len < node.size(); ++len) {
        SCOPED_TRACE(len);
        const HidReportDescriptor d = ParseHidReportDescriptor(node.data(), len);
        const size_t closed = static_cast<size_t>(
            std::upper_bound(ends.begin(), ends.end(), len) - ends.begin());
        ASSERT_EQ(d.Collections.size(), closed);
        for (size_t i = 0; i < closed; ++i)
            EXPECT_EQ(d.Collections[i], full.Collections[i]);
        if (len == 0 || std::find(ends.begin(), ends.end(), len) != ends.end()) {
            EXPECT_TRUE(d.Complete);
        }
    }
}

TEST(HidReportDescriptor, NastyInputsAreRefusedSoundly)
{
    auto repeat = [](Bytes unit, size_t n, Bytes head = {}, Bytes tail = {}) {
        for (size_t i = 0; i < n; ++i)
            head.insert(head.end(), unit.begin(), unit.end());
        head.insert(head.end(), tail.begin(), tail.end());
        return head;
    };
    const Bytes open = {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01};
    const Bytes byte8 = {0x75, 0x08, 0x96, 0x00, 0x30}; // 8 bits x 12288 = 12288 bytes

    struct Case {
        const char* name;
        Bytes bytes;
        size_t collections;
        bool complete;
        int input = -1; // InputReportByteLength of the first collection, when checked
    } cases[] = {
        {"empty", {}, 0, true},
        {"lone long-item prefix", {0xFE}, 0, false},
        {"long item header cut", {0xFE, 0x04}, 0, false},
        {"long item data cut", {0xFE, 0x05, 0x00, 0x01, 0x02}, 0, false},
        {"short item data cut", {0xA1, 0x01, 0x26, 0xFF}, 0, false},
        {"4-byte item data cut", {0xA1, 0x01, 0xC0, 0x97, 0x01, 0x02}, 1, false},
        {"report count 0xFFFFFFFF",
         {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x97, 0xFF, 0xFF, 0xFF, 0xFF, 0x75, 0x08, 0x81,
          0x02, 0xC0},
         0, false},
        {"report size 0xFFFFFFFF", {0xA1, 0x01, 0x77, 0xFF, 0xFF, 0xFF, 0xFF, 0xC0}, 0, false},
        {"report size 257", {0xA1, 0x01, 0x76, 0x01, 0x01, 0xC0}, 0, false},
        {"report id 0", {0xA1, 0x01, 0x85, 0x00, 0xC0}, 0, false},
        {"report id 256", {0xA1, 0x01, 0x86, 0x00, 0x01, 0xC0}, 0, false},
        {"push overflow", repeat({0xA4}, 1000), 0, false},
        {"pop without push", {0xA1, 0x01, 0xC0, 0xB4, 0xA1, 0x01, 0xC0}, 1, false},
        {"end collection without collection", {0xC0, 0xA1, 0x01, 0xC0}, 0, false},
        {"nesting 10000 deep", repeat({0xA1, 0x00}, 10000, {}, repeat({0xC0}, 10000)), 0, false},
        {"nesting 64 deep", repeat({0xA1, 0x00}, 64, {}, repeat({0xC0}, 64)), 1, true},
        {"collection never closed", Bytes(kBootMouse.begin(), kBootMouse.end() - 1), 0, false},
        {"main items outside collections", repeat({0x75, 0x08, 0x95, 0x04, 0x81, 0x02}, 3, {},
                                                  kBootMouse),
         1, true, 4},
        {"report of 5 x 12288 bytes", repeat({0x81, 0x02}, 5, Concat({&open, &byte8}), {0xC0}), 1,
         true, 5 * 12288 + 1},
        {"report of 6 x 12288 bytes", repeat({0x81, 0x02}, 6, Concat({&open, &byte8}), {0xC0}), 0,
         false},
        {"reserved tags and types", {0xF4, 0xD0, 0xFC, 0x01, 0x02, 0xA1, 0x01, 0xC0},
         1, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const HidReportDescriptor d = ParseHidReportDescriptor(c.bytes);
        EXPECT_EQ(d.Collections.size(), c.collections);
        EXPECT_EQ(d.Complete, c.complete);
        ExpectSane(d);
        if (c.input >= 0 && !d.Collections.empty()) {
            EXPECT_EQ(d.Collections[0].InputReportByteLength, c.input);
        }
    }
    EXPECT_EQ(ParseHidReportDescriptor(nullptr, 100).Collections.size(), 0u);
}

TEST(HidReportDescriptor, RandomAndMutatedBytesStaySane)
{
    std::mt19937 rng(20240518);
    const Bytes node = GamingMouseNode();
    for (int round = 0; round < 4000; ++round) {
        Bytes bytes;
        if (round % 2 == 0) {
            bytes.resize(rng() % 300);
            for (auto& b : bytes)
                b = static_cast<uint8_t>(rng());
        } else {
            bytes = node;
            for (int flips = 1 + static_cast<int>(rng() % 4); flips > 0; --flips)
                bytes[rng() % bytes.size()] = static_cast<uint8_t>(rng());
        }
        // An exact-size heap copy so that the sanitizers see any read past the end.
        const auto copy = std::make_unique<uint8_t[]>(bytes.size());
        std::copy(bytes.begin(), bytes.end(), copy.get());
        ExpectSane(ParseHidReportDescriptor(copy.get(), bytes.size()));
        if (HasFailure()) {
            ADD_FAILURE() << "round " << round;
            return;
        }
    }
}
