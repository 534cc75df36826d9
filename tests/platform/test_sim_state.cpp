// The simulated mouse's decoding of command reports. Every report here is built by hand from
// the byte layouts, never by the program's encoder, so that the two check each other.

#include "platform/base/hid_sim_backend.h"
#include "platform/base/sim_wire.h"
#include "sim_mouse.h"
#include "sim_server.h"
#include "sim_state.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

using namespace vexmo;

namespace {

// Header 0C 01 code 00 seq packet N, then the data.
SimReport Command(uint8_t code, const std::vector<uint8_t>& data, uint8_t packet = 0x01)
{
    SimReport r{};
    r[0] = 0x0C;
    r[1] = 0x01;
    r[2] = code;
    r[3] = 0x00;
    r[4] = 0x5A;
    r[5] = packet;
    r[6] = uint8_t(data.size());
    for (size_t i = 0; i < data.size() && 7 + i < r.size(); ++i)
        r[7 + i] = data[i];
    return r;
}

SimReport Patched(SimReport r, size_t at, uint8_t value)
{
    r[at] = value;
    return r;
}

std::vector<uint8_t> Zeros(size_t n)
{
    return std::vector<uint8_t>(n, 0);
}

std::vector<uint8_t> Concat(std::vector<uint8_t> a, const std::vector<uint8_t>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Macro chunk: byte 5 chunk/count, byte 6 = 1 + event bytes, byte 7 the download index.
SimReport Chunk(uint8_t packet, uint8_t index, const std::vector<uint8_t>& events)
{
    return Command(0x0E, Concat({index}, events), packet);
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

// The dump's lines of the settings that are known.
std::vector<std::string> KnownSettings(const SimState& state)
{
    std::vector<std::string> out;
    for (const auto& line : Lines(SimStateText(state))) {
        if (line.rfind("factory-resets=", 0) == 0 || line.rfind("malformed", 0) == 0)
            continue;
        if (line.size() < 8 || line.compare(line.size() - 8, 8, "=unknown") != 0)
            out.push_back(line);
    }
    return out;
}

bool HasLine(const std::string& text, const std::string& line)
{
    for (const auto& l : Lines(text))
        if (l == line)
            return true;
    return false;
}

// The dump of the settings alone, for "nothing changed" checks.
std::string SettingsText(SimState state)
{
    state.malformedCount = 0;
    state.malformed.clear();
    state.factoryResets = 0;
    return SimStateText(state);
}

} // namespace

TEST(SimState, DecodesEachCommand)
{
    SimReport modeAbove10 = Command(0x08, {});
    modeAbove10[7] = 12;     // the mode and brightness/speed bytes still follow, L is 0
    modeAbove10[8] = 0x35;

    struct Case {
        const char* name;
        SimReport report;
        std::vector<std::string> known;
    } cases[] = {
        {"button", Command(0x04, {0x00, 0x10, 0x01, 0x00}), {"slot0=10 01 00"}},
        // Device slot 3 carries the profile's key slot 4; the mouse keeps device slots.
        {"device slot 3", Command(0x04, {0x03, 0x70, 0x03, 0x06}), {"slot3=70 03 06"}},
        {"macro key", Command(0x04, {0x05, 0x90, 0x21, 0x05}), {"slot5=90 21 05"}},
        {"dpi, mask 3F level 1",
         Command(0x05, Concat({0x26, 0x3F, 9, 0, 19, 0, 29, 0, 39, 0, 49, 0, 59, 0}, Zeros(4))),
         {"dpi.levels=6", "dpi.active=2", "dpi.mask=3F", "dpi.codes=9 19 29 39 49 59"}},
        {"dpi codes low byte first",
         Command(0x05, Concat({0x12, 0x81, 0x00, 0x01, 0xFF, 0x01}, Zeros(12))),
         {"dpi.levels=2", "dpi.active=1", "dpi.mask=81", "dpi.codes=256 511 0 0 0 0"}},
        {"colours",
         Command(0x06, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20,
                        21, 22, 23, 24}),
         {"colour1=01 02 03", "colour2=04 05 06", "colour3=07 08 09", "colour4=0A 0B 0C",
          "colour5=0D 0E 0F", "colour6=10 11 12", "colour7=13 14 15", "colour8=16 17 18"}},
        {"polling 125 Hz", Command(0x07, {8}), {"interval=8"}},
        {"polling 1000 Hz", Command(0x07, {1}), {"interval=1"}},
        {"lift-off", Command(0x09, {1, 0}), {"liftoff=1"}},
        {"debounce", Command(0x0A, {12}), {"debounce=12"}},
        {"power", Command(0x0B, {6, 1}), {"power.down=6", "power.lighting=1"}},
        {"wake-up", Command(0x0C, {0}), {"wakeup=0"}},
        {"lighting mode 0", Command(0x08, {0x00, 0x35}),
         {"lighting.mode=0", "lighting.bright-speed=35", "lighting.length=2",
          "lighting.data=00 35"}},
        {"lighting mode 1", Command(0x08, {0x01, 0x22, 0x01}),
         {"lighting.mode=1", "lighting.bright-speed=22", "lighting.length=3",
          "lighting.data=01 22 01"}},
        {"lighting mode 2, 3 colours",
         Command(0x08, {0x02, 0x35, 0x03, 0xFF, 0, 0, 0, 0xFF, 0, 0x12, 0x34, 0x56}),
         {"lighting.mode=2", "lighting.bright-speed=35", "lighting.length=12",
          "lighting.data=02 35 03 FF 00 00 00 FF 00 12 34 56"}},
        {"lighting mode 2, all 7 colours",
         Command(0x08, Concat({0x02, 0x35, 0x07}, std::vector<uint8_t>(21, 0xC0))),
         {"lighting.mode=2", "lighting.bright-speed=35", "lighting.length=24",
          "lighting.data=02 35 07 "
          "C0 C0 C0 C0 C0 C0 C0 C0 C0 C0 C0 C0 C0 C0 C0 C0 C0 C0 C0 C0 C0"}},
        {"lighting mode 2, no colour", Command(0x08, {0x02, 0x35, 0x00}),
         {"lighting.mode=2", "lighting.bright-speed=35", "lighting.length=3",
          "lighting.data=02 35 00"}},
        {"lighting mode 3", Command(0x08, {0x03, 0x11, 0xAA, 0xBB, 0xCC}),
         {"lighting.mode=3", "lighting.bright-speed=11", "lighting.length=5",
          "lighting.data=03 11 AA BB CC"}},
        {"lighting mode 6, nothing selected", Command(0x08, Concat({0x06, 0x35}, Zeros(21))),
         {"lighting.mode=6", "lighting.bright-speed=35", "lighting.length=23",
          "lighting.data=06 35 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"}},
        {"lighting mode 7", Command(0x08, {0x07, 0x35, 1, 2, 3, 0, 0, 0}),
         {"lighting.mode=7", "lighting.bright-speed=35", "lighting.length=8",
          "lighting.data=07 35 01 02 03 00 00 00"}},
        {"lighting mode 12", modeAbove10,
         {"lighting.mode=12", "lighting.bright-speed=35", "lighting.length=0", "lighting.data="}},
        {"macro, one chunk",
         Chunk(0x01, 2, {0x30, 0x00, 0x04, 0xB0, 0x00, 0x04, 0x30, 0x00, 0x05, 0xB0, 0x00, 0x05}),
         {"macro2.status=complete", "macro2.chunks=1", "macro2.order=0",
          "macro2.events=300004 B00004 300005 B00005", "macro2.abandoned=0"}},
        {"macro without events", Chunk(0x01, 6, {}),
         {"macro6.status=complete", "macro6.chunks=1", "macro6.order=0", "macro6.events=",
          "macro6.abandoned=0"}},
        {"identity query", Command(0x20, {}, 0x00), {}},
    };
    for (const auto& c : cases) {
        SimState state;
        EXPECT_TRUE(SimApplyCommand(state, c.report, 0)) << c.name;
        EXPECT_EQ(state.malformedCount, 0u) << c.name;
        EXPECT_EQ(KnownSettings(state), c.known) << c.name;
    }
}

TEST(SimState, KeepsDeviceSlotsAsSent)
{
    // A key write as the mouse receives it: device slots 0..5, device slot 3 holding key slot 4
    // and device slot 4 key slot 3.
    SimState state;
    const SimKeyValue keySlot[6] = {{0x10, 0x01, 0}, {0x10, 0x02, 0}, {0x10, 0x04, 0},
                                    {0x40, 0x01, 0}, {0x80, 0xE9, 0x00}, {0x50, 0x03, 0}};
    const int keySlotOfDevice[6] = {0, 1, 2, 4, 3, 5};
    for (uint8_t device = 0; device < 6; ++device) {
        const SimKeyValue& k = keySlot[keySlotOfDevice[device]];
        ASSERT_TRUE(SimApplyCommand(state, Command(0x04, {device, k.type, k.p1, k.p2}), 0));
    }
    EXPECT_EQ(state.deviceSlots[3], keySlot[4]);
    EXPECT_EQ(state.deviceSlots[4], keySlot[3]);
    EXPECT_EQ(state.deviceSlots[5], keySlot[5]);
    const std::string text = SimStateText(state);
    EXPECT_TRUE(HasLine(text, "slot3=80 E9 00")) << text;
    EXPECT_TRUE(HasLine(text, "slot4=40 01 00")) << text;

    // A later write of one slot changes that slot alone.
    ASSERT_TRUE(SimApplyCommand(state, Command(0x04, {3, 0x00, 0x00, 0x00}), 0));
    EXPECT_EQ(state.deviceSlots[3], SimKeyValue{});
    EXPECT_EQ(state.deviceSlots[4], keySlot[3]);
}

TEST(SimState, ReassemblesMacroOfThirtyActionsFromFourChunks)
{
    std::vector<uint8_t> events;
    for (int i = 0; i < 30; ++i) {
        events.push_back(uint8_t(0x30 | (i % 2 ? 0x80 : 0x00)));
        events.push_back(uint8_t(10 * i));
        events.push_back(uint8_t(4 + i / 2));
    }
    const uint8_t packets[] = {0x04, 0x14, 0x24, 0x34};
    const uint8_t lengths[] = {26, 26, 26, 16};
    SimState state;
    for (size_t c = 0; c < 4; ++c) {
        const size_t from = 25 * c;
        const size_t to = std::min(events.size(), from + 25);
        SimReport r = Chunk(packets[c], 3, std::vector<uint8_t>(events.begin() + long(from),
                                                                events.begin() + long(to)));
        ASSERT_EQ(r[6], lengths[c]);
        // What follows the last event is not part of the macro.
        for (size_t i = 7 + r[6]; i < r.size(); ++i)
            r[i] = 0xEE;
        ASSERT_TRUE(SimApplyCommand(state, r, 0));
        if (c == 1) {
            ASSERT_TRUE(state.Macro(3));
            EXPECT_EQ(state.Macro(3)->status, SimMacroState::Status::Partial);
            EXPECT_TRUE(state.Macro(3)->events.empty());
            EXPECT_TRUE(HasLine(SimStateText(state), "macro3.events=unknown"));
        }
    }
    ASSERT_TRUE(state.Macro(3));
    const SimMacroState& m = *state.Macro(3);
    EXPECT_EQ(m.status, SimMacroState::Status::Complete);
    EXPECT_EQ(m.chunkCount, 4);
    EXPECT_EQ(m.order, (std::vector<uint8_t>{0, 1, 2, 3}));
    EXPECT_EQ(m.events, events);
    for (int k : {1, 2, 4, 5, 6})
        EXPECT_FALSE(state.Macro(k)) << k;

    std::string eventsLine;
    for (const auto& line : Lines(SimStateText(state)))
        if (line.rfind("macro3.events=", 0) == 0)
            eventsLine = line;
    EXPECT_EQ(eventsLine.rfind("macro3.events=300004 B00A04 301405 B01E05 ", 0), 0u) << eventsLine;
    EXPECT_EQ(std::count(eventsLine.begin(), eventsLine.end(), ' '), 29);
}

TEST(SimState, RecordsBrokenMacroDownloadsAsSuch)
{
    using Status = SimMacroState::Status;
    struct Step {
        uint8_t packet;
        size_t eventBytes;
        uint8_t index = 1;
    };
    struct Case {
        const char* name;
        std::vector<Step> steps;
        int index;
        Status status;
        uint8_t chunks;
        std::vector<uint8_t> order;
        unsigned abandoned;
        size_t eventBytes;          // when complete
    } cases[] = {
        {"two chunks in order", {{0x02, 25}, {0x12, 5}}, 1, Status::Complete, 2, {0, 1}, 0, 30},
        {"swapped", {{0x04, 25}, {0x24, 25}, {0x14, 25}, {0x34, 15}}, 1, Status::OutOfOrder, 4,
         {0, 2, 1, 3}, 0, 0},
        {"middle one missing", {{0x04, 25}, {0x14, 25}, {0x34, 15}}, 1, Status::OutOfOrder, 4,
         {0, 1, 3}, 0, 0},
        {"last one missing", {{0x03, 25}, {0x13, 25}}, 1, Status::Partial, 3, {0, 1}, 0, 0},
        {"no first chunk", {{0x12, 5}}, 1, Status::OutOfOrder, 2, {1}, 0, 0},
        {"chunk repeated", {{0x03, 25}, {0x13, 25}, {0x13, 25}}, 1, Status::OutOfOrder, 3,
         {0, 1, 1}, 0, 0},
        {"count changes", {{0x04, 25}, {0x13, 25}, {0x23, 3}}, 1, Status::OutOfOrder, 4,
         {0, 1, 2}, 0, 0},
        {"short chunk before the last", {{0x02, 10}, {0x12, 5}}, 1, Status::ShortChunk, 2,
         {0, 1}, 0, 0},
        {"cut short, then a new download", {{0x03, 25}, {0x13, 25}, {0x01, 6}}, 1,
         Status::Complete, 1, {0}, 1, 6},
        {"stray chunk after a complete one", {{0x01, 6}, {0x12, 5}}, 1, Status::OutOfOrder, 2,
         {1}, 0, 0},
        {"two indexes interleaved", {{0x02, 25, 1}, {0x02, 25, 2}, {0x12, 3, 1}, {0x12, 3, 2}},
         2, Status::Complete, 2, {0, 1}, 0, 28},
    };
    for (const auto& c : cases) {
        SimState state;
        for (const auto& s : c.steps)
            ASSERT_TRUE(SimApplyCommand(state, Chunk(s.packet, s.index,
                                                     std::vector<uint8_t>(s.eventBytes, 0x11)),
                                        0))
                << c.name;
        ASSERT_TRUE(state.Macro(c.index)) << c.name;
        const SimMacroState& m = *state.Macro(c.index);
        EXPECT_EQ(m.status, c.status) << c.name;
        EXPECT_EQ(m.chunkCount, c.chunks) << c.name;
        EXPECT_EQ(m.order, c.order) << c.name;
        EXPECT_EQ(m.abandoned, c.abandoned) << c.name;
        EXPECT_EQ(m.events.size(), c.eventBytes) << c.name;
        const std::string status = std::string("macro") + std::to_string(c.index) + ".status=" +
                                   SimMacroStatusName(c.status);
        EXPECT_TRUE(HasLine(SimStateText(state), status)) << c.name;
        if (c.status != Status::Complete) {
            EXPECT_TRUE(HasLine(SimStateText(state),
                                "macro" + std::to_string(c.index) + ".events=unknown"))
                << c.name;
        }
    }
}

TEST(SimState, FactoryResetForgetsEverySetting)
{
    SimState state;
    const SimReport setup[] = {
        Command(0x04, {1, 0x10, 0x02, 0}),
        Command(0x05, Concat({0x26, 0x3F}, Zeros(16))),
        Command(0x06, Zeros(24)),
        Command(0x07, {4}),
        Command(0x08, {0x00, 0x35}),
        Command(0x09, {2, 0}),
        Command(0x0A, {12}),
        Command(0x0B, {6, 0}),
        Command(0x0C, {1}),
        Chunk(0x01, 1, {0x30, 0x00, 0x04}),
        Chunk(0x02, 2, std::vector<uint8_t>(25, 0x11)),
    };
    for (const auto& r : setup)
        ASSERT_TRUE(SimApplyCommand(state, r, 0));
    ASSERT_FALSE(SimApplyCommand(state, Command(0x33, {}), 0));
    // The partial macro's events are unknown.
    ASSERT_EQ(KnownSettings(state).size(), 1u + 4 + 8 + 1 + 4 + 1 + 1 + 2 + 1 + 5 + 4);

    ASSERT_TRUE(SimApplyCommand(state, Command(0x0F, {0xFF}), 0));
    EXPECT_EQ(KnownSettings(state), std::vector<std::string>{});
    EXPECT_EQ(state.factoryResets, 1u);
    EXPECT_EQ(state.malformedCount, 1u);
    EXPECT_EQ(state.malformed.size(), 1u);
    const std::string text = SimStateText(state);
    EXPECT_TRUE(HasLine(text, "factory-resets=1")) << text;
    EXPECT_TRUE(HasLine(text, "malformed=1")) << text;

    // The download cut by the reset does not go on.
    ASSERT_TRUE(SimApplyCommand(state, Chunk(0x12, 2, {0x30, 0x00, 0x04}), 0));
    EXPECT_EQ(state.Macro(2)->status, SimMacroState::Status::OutOfOrder);
    ASSERT_TRUE(SimApplyCommand(state, Command(0x0F, {0xFF}), 0));
    EXPECT_EQ(state.factoryResets, 2u);
    EXPECT_FALSE(state.Macro(2));
}

TEST(SimState, MalformedReportsAreCountedAndChangeNothing)
{
    SimState base;
    ASSERT_TRUE(SimApplyCommand(base, Command(0x07, {4}), 0));
    ASSERT_TRUE(SimApplyCommand(base, Command(0x08, {0x00, 0x35}), 0));
    ASSERT_TRUE(SimApplyCommand(base, Chunk(0x02, 1, std::vector<uint8_t>(25, 0x11)), 0));

    const SimReport interval = Command(0x07, {2});
    const SimReport chunk = Chunk(0x12, 1, {1, 2, 3});
    struct Case {
        const char* name;
        SimReport report;
        const char* reason;
    } cases[] = {
        {"unknown command", Command(0x33, {1}), "unknown command"},
        {"byte 1", Patched(interval, 1, 0x02), "byte 1 is 02, not 01"},
        {"byte 3", Patched(interval, 3, 0x01), "byte 3 is 01, not 00"},
        {"data length beyond 26", Patched(chunk, 6, 27), "data length 27 beyond 26"},
        {"length far beyond", Patched(Command(0x04, {0, 0x10, 1, 0}), 6, 0xFF),
         "data length 255 beyond 26"},
        {"wrong length", Command(0x07, {2, 0}), "data length 2, not 1"},
        {"short dpi block", Command(0x05, Zeros(17)), "data length 17, not 18"},
        {"no key data", Command(0x04, {}), "data length 0, not 4"},
        {"packet field", Patched(interval, 5, 0x11), "packet field 11, not 01"},
        {"device slot 6", Command(0x04, {6, 0x10, 1, 0}), "device slot 6 out of range"},
        {"interval 3", Command(0x07, {3}), "report interval 3 is not 8, 4, 2 or 1"},
        {"lighting mode 2 length", Command(0x08, {0x02, 0x35, 0x03, 1, 2, 3, 4, 5, 6}),
         "lighting mode 2 needs length 12, not 9"},
        {"lighting mode 2 with 8 colours", Command(0x08, Concat({0x02, 0x35, 0x08}, Zeros(21))),
         "lighting mode 2 with 8 colours"},
        {"lighting mode 6 length", Command(0x08, Concat({0x06, 0x35}, Zeros(20))),
         "lighting mode 6 needs length 23, not 22"},
        {"lighting mode 11 with data", Command(0x08, {11, 0x35}),
         "lighting mode 11 needs length 0, not 2"},
        {"lighting mode 0 without data", Patched(Command(0x08, {}), 8, 0x35),
         "lighting mode 0 needs length 2, not 0"},
        {"lift-off second byte", Command(0x09, {2, 1}), "lift-off second byte 01, not 00"},
        {"factory reset byte", Command(0x0F, {0xFE}), "factory reset byte FE, not FF"},
        {"chunk count 0", Chunk(0x00, 1, {1, 2, 3}), "macro chunk count 0"},
        {"chunk beyond count", Chunk(0x22, 1, {1, 2, 3}), "macro chunk 2 of 2"},
        {"chunk without index", Command(0x0E, {}, 0x12), "macro chunk without download index"},
        {"macro index 0", Chunk(0x01, 0, {1, 2, 3}), "macro download index 0 out of range"},
        {"macro index 7", Chunk(0x01, 7, {1, 2, 3}), "macro download index 7 out of range"},
        {"identity query with data", Command(0x20, {0}, 0x00), "data length 1, not 0"},
        {"identity query packet field", Command(0x20, {}, 0x01), "packet field 01, not 00"},
    };
    for (const auto& c : cases) {
        SimState state = base;
        EXPECT_FALSE(SimApplyCommand(state, c.report, 77)) << c.name;
        EXPECT_EQ(state.malformedCount, 1u) << c.name;
        ASSERT_EQ(state.malformed.size(), 1u) << c.name;
        EXPECT_EQ(state.malformed[0].reason, c.reason) << c.name;
        EXPECT_EQ(state.malformed[0].command, c.report[2]) << c.name;
        EXPECT_EQ(state.malformed[0].ms, 77u) << c.name;
        EXPECT_EQ(SettingsText(state), SettingsText(base)) << c.name;
    }

    // The count goes on; the list keeps the latest reasons.
    SimState state;
    for (int i = 0; i < 40; ++i)
        EXPECT_FALSE(SimApplyCommand(state, Command(uint8_t(0x30 + i % 2), {}), 1000 + i));
    EXPECT_EQ(state.malformedCount, 40u);
    ASSERT_EQ(state.malformed.size(), kSimMaxMalformedKept);
    EXPECT_EQ(state.malformed.front().serial, 9u);
    const std::string text = SimStateText(state);
    EXPECT_TRUE(HasLine(text, "malformed=40")) << text;
    EXPECT_TRUE(HasLine(text, "malformed.40=1039 31: unknown command")) << text;
    EXPECT_TRUE(HasLine(text, "malformed.9=1008 30: unknown command")) << text;
    EXPECT_FALSE(HasLine(text, "malformed.8=1007 31: unknown command")) << text;
}

TEST(SimState, TextAndJsonDumps)
{
    SimState state;
    const SimReport reports[] = {
        Command(0x04, {2, 0x10, 0x04, 0x00}),
        Command(0x05, Concat({0x26, 0x3F, 9, 0, 19, 0, 29, 0, 39, 0, 49, 0, 0x2C, 0x01}, Zeros(4))),
        Command(0x07, {1}),
        Command(0x0B, {6, 0}),
        Command(0x08, {0x02, 0x35, 0x01, 0xFF, 0x00, 0x00}),
        Chunk(0x01, 1, {0x30, 0x00, 0x04, 0xB0, 0x00, 0x04}),
        Chunk(0x03, 4, std::vector<uint8_t>(25, 0x11)),
    };
    for (const auto& r : reports)
        ASSERT_TRUE(SimApplyCommand(state, r, 0));
    ASSERT_FALSE(SimApplyCommand(state, Command(0x33, {}), 1234));

    EXPECT_EQ(SimStateText(state),
              "factory-resets=0\n"
              "malformed=1\n"
              "slot0=unknown\n"
              "slot1=unknown\n"
              "slot2=10 04 00\n"
              "slot3=unknown\n"
              "slot4=unknown\n"
              "slot5=unknown\n"
              "dpi.levels=6\n"
              "dpi.active=2\n"
              "dpi.mask=3F\n"
              "dpi.codes=9 19 29 39 49 300\n"
              "colour1=unknown\n"
              "colour2=unknown\n"
              "colour3=unknown\n"
              "colour4=unknown\n"
              "colour5=unknown\n"
              "colour6=unknown\n"
              "colour7=unknown\n"
              "colour8=unknown\n"
              "interval=1\n"
              "liftoff=unknown\n"
              "debounce=unknown\n"
              "power.down=6\n"
              "power.lighting=0\n"
              "wakeup=unknown\n"
              "lighting.mode=2\n"
              "lighting.bright-speed=35\n"
              "lighting.length=6\n"
              "lighting.data=02 35 01 FF 00 00\n"
              "macro1.status=complete\n"
              "macro1.chunks=1\n"
              "macro1.order=0\n"
              "macro1.events=300004 B00004\n"
              "macro1.abandoned=0\n"
              "macro2.status=unknown\n"
              "macro2.chunks=unknown\n"
              "macro2.order=unknown\n"
              "macro2.events=unknown\n"
              "macro2.abandoned=unknown\n"
              "macro3.status=unknown\n"
              "macro3.chunks=unknown\n"
              "macro3.order=unknown\n"
              "macro3.events=unknown\n"
              "macro3.abandoned=unknown\n"
              "macro4.status=partial\n"
              "macro4.chunks=3\n"
              "macro4.order=0\n"
              "macro4.events=unknown\n"
              "macro4.abandoned=0\n"
              "macro5.status=unknown\n"
              "macro5.chunks=unknown\n"
              "macro5.order=unknown\n"
              "macro5.events=unknown\n"
              "macro5.abandoned=unknown\n"
              "macro6.status=unknown\n"
              "macro6.chunks=unknown\n"
              "macro6.order=unknown\n"
              "macro6.events=unknown\n"
              "macro6.abandoned=unknown\n"
              "malformed.1=1234 33: unknown command\n");

    EXPECT_EQ(SimStateJson(state),
              "{\n"
              "  \"factoryResets\": 0,\n"
              "  \"slots\": [null, null, {\"type\": 16, \"p1\": 4, \"p2\": 0}, null, null, null],\n"
              "  \"dpi\": {\"levels\": 6, \"active\": 2, \"mask\": 63, "
              "\"codes\": [9, 19, 29, 39, 49, 300]},\n"
              "  \"colours\": null,\n"
              "  \"interval\": 1,\n"
              "  \"liftOff\": null,\n"
              "  \"debounce\": null,\n"
              "  \"power\": {\"powerDownTime\": 6, \"moveLightingOnOffMode\": 0},\n"
              "  \"wakeup\": null,\n"
              "  \"lighting\": {\"mode\": 2, \"brightSpeed\": 53, "
              "\"data\": [2, 53, 1, 255, 0, 0]},\n"
              "  \"macros\": {\n"
              "    \"1\": {\"status\": \"complete\", \"chunks\": 1, \"order\": [0], "
              "\"events\": [48, 0, 4, 176, 0, 4], \"abandoned\": 0},\n"
              "    \"2\": null,\n"
              "    \"3\": null,\n"
              "    \"4\": {\"status\": \"partial\", \"chunks\": 3, \"order\": [0], "
              "\"events\": null, \"abandoned\": 0},\n"
              "    \"5\": null,\n"
              "    \"6\": null\n"
              "  },\n"
              "  \"malformedCount\": 1,\n"
              "  \"malformed\": [\n"
              "    {\"serial\": 1, \"ms\": 1234, \"command\": 51, \"reason\": \"unknown command\"}\n"
              "  ]\n"
              "}\n");

    // Colours, and an empty list of malformed reports.
    SimState colours;
    ASSERT_TRUE(SimApplyCommand(colours, Command(0x06, Concat({0xFF, 0x80, 0x01}, Zeros(21))), 0));
    const std::string json = SimStateJson(colours);
    EXPECT_NE(json.find("  \"colours\": [[255, 128, 1], [0, 0, 0], [0, 0, 0], [0, 0, 0], "
                        "[0, 0, 0], [0, 0, 0], [0, 0, 0], [0, 0, 0]],\n"),
              std::string::npos)
        << json;
    EXPECT_NE(json.find("  \"malformed\": []\n}\n"), std::string::npos) << json;
    EXPECT_TRUE(HasLine(SimStateText(colours), "colour1=FF 80 01"));
}

TEST(SimState, MouseKeepsStateFromFeatureReportsAndButtons)
{
    SimMouse mouse;
    auto handle = mouse.Open("sim:cable/feature");
    ASSERT_NE(handle, 0u);
    auto send = [&](const SimReport& r) { return mouse.SetFeature(handle, r.data(), r.size()); };

    // An identity query with a stray data length is still answered, and counted.
    ASSERT_TRUE(send(Command(0x20, {0}, 0x00)));
    SimReport reply{};
    reply[0] = 0x0C;
    ASSERT_TRUE(mouse.GetFeature(handle, reply.data(), reply.size()));
    EXPECT_EQ(reply, mouse.IdentityReply());
    EXPECT_EQ(mouse.State().malformedCount, 1u);

    // The DPI button moves the kept active level once the DPI block is known.
    ASSERT_TRUE(mouse.PressDpiButton(3, 1));
    EXPECT_FALSE(mouse.State().dpi);
    ASSERT_TRUE(send(Command(0x05, Concat({0x26, 0x3F}, Zeros(16)))));
    ASSERT_TRUE(mouse.PressDpiButton(4, 1));
    ASSERT_TRUE(mouse.State().dpi);
    EXPECT_EQ(mouse.State().dpi->active, 4);

    EXPECT_EQ(mouse.ReportInterval(), 1);
    ASSERT_TRUE(send(Command(0x07, {8})));
    EXPECT_EQ(mouse.ReportInterval(), 8);
    ASSERT_TRUE(mouse.PressRateButton(2, 4));
    EXPECT_EQ(mouse.State().interval, 2);
    EXPECT_TRUE(HasLine(mouse.StateText(), "interval=2"));
    EXPECT_EQ(mouse.Status().reportInterval, 2);

    ASSERT_TRUE(send(Command(0x0F, {0xFF})));
    EXPECT_FALSE(mouse.State().interval);
    EXPECT_EQ(mouse.ReportInterval(), 1);
    EXPECT_TRUE(HasLine(mouse.StateText(), "factory-resets=1"));
    EXPECT_NE(mouse.StateJson().find("\"factoryResets\": 1,"), std::string::npos);

    // Every report taken is in the log, malformed ones too.
    EXPECT_EQ(mouse.Log().size(), 4u);

    mouse.ClearState();
    EXPECT_EQ(mouse.State().factoryResets, 0u);
    EXPECT_EQ(mouse.State().malformedCount, 0u);
    mouse.Close(handle);
}

TEST(SimState, ControlOverTheSocket)
{
    char dir[] = "/tmp/vexmo-simstate-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const std::string path = std::string(dir) + "/sim.sock";
    {
        SimMouse mouse;
        SimServer server(mouse, path);
        std::string error;
        ASSERT_TRUE(server.Start(&error)) << error;

        SimSocketBackend backend(path);
        auto feature = backend.Open("sim:cable/feature");
        ASSERT_NE(feature, nullptr);
        for (const SimReport& r : {Command(0x07, {2}), Command(0x04, {3, 0x70, 0x03, 0x06}),
                                   Command(0x33, {})})
            ASSERT_TRUE(feature->SetFeature(r.data(), r.size()));

        SimLineSocket conn;
        ASSERT_TRUE(conn.Connect(path, 3000));
        auto request = [&](const std::string& line) {
            std::string reply, all;
            EXPECT_TRUE(conn.Request(line, reply, 3000)) << line;
            auto words = SimSplitWords(reply);
            if (words.size() != 2 || words[0] != "ok")
                return reply;
            for (int n = std::stoi(words[1]); n > 0; --n) {
                std::string l;
                EXPECT_TRUE(conn.ReadLine(l, 3000)) << line;
                all += l + "\n";
            }
            return all;
        };

        std::string text = request("state");
        EXPECT_EQ(text, mouse.StateText());
        EXPECT_TRUE(HasLine(text, "interval=2")) << text;
        EXPECT_TRUE(HasLine(text, "slot3=70 03 06")) << text;
        EXPECT_TRUE(HasLine(text, "malformed=1")) << text;
        EXPECT_EQ(request("state --json"), mouse.StateJson());
        EXPECT_EQ(request("state json"),
                  "err usage: state [--json]         (the settings the mouse holds)");

        EXPECT_EQ(request("clear-state"), "ok");
        text = request("state");
        EXPECT_TRUE(HasLine(text, "interval=unknown")) << text;
        EXPECT_TRUE(HasLine(text, "slot3=unknown")) << text;
        EXPECT_TRUE(HasLine(text, "malformed=0")) << text;
        // The log is not the state.
        EXPECT_EQ(mouse.Log().size(), 3u);
    }
    std::filesystem::remove_all(dir);
}
