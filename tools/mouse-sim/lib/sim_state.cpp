#include "sim_state.h"

#include <cstdio>
#include <map>

namespace vexmo {

namespace {

constexpr size_t kDataStart = 7;
constexpr uint8_t kMaxDataLength = 26;
constexpr size_t kChunkEventBytes = 25;

enum : uint8_t {
    kKeyAssignment = 0x04,
    kDpiLevels = 0x05,
    kDpiColours = 0x06,
    kPollingRate = 0x07,
    kLighting = 0x08,
    kLiftOff = 0x09,
    kDebounce = 0x0A,
    kPowerSaving = 0x0B,
    kMotionWakeup = 0x0C,
    kMacroChunk = 0x0E,
    kFactoryReset = 0x0F,
    kIdentityQuery = 0x20,
};

// Packet field and data length each command must carry; -1 where they vary.
struct Shape {
    int packetField;
    int length;
};

const std::map<uint8_t, Shape>& Shapes()
{
    static const std::map<uint8_t, Shape> table = {
        {kKeyAssignment, {0x01, 4}}, {kDpiLevels, {0x01, 18}},   {kDpiColours, {0x01, 24}},
        {kPollingRate, {0x01, 1}},   {kLighting, {0x01, -1}},    {kLiftOff, {0x01, 2}},
        {kDebounce, {0x01, 1}},      {kPowerSaving, {0x01, 2}},  {kMotionWakeup, {0x01, 1}},
        {kMacroChunk, {-1, -1}},     {kFactoryReset, {0x01, 1}}, {kIdentityQuery, {0x00, 0}},
    };
    return table;
}

std::string Format(const char* format, int a, int b = 0, int c = 0)
{
    char text[120];
    std::snprintf(text, sizeof text, format, a, b, c);
    return text;
}

// The length the lighting data must have for its mode; -1 when none fits.
int LightingLength(uint8_t mode, uint8_t colourCount)
{
    switch (mode) {
    case 0: case 4: case 5: case 8: case 9:
        return 2;
    case 1:
        return 3;
    case 2:
        return colourCount <= 7 ? 3 + 3 * colourCount : -1;
    case 3:
        return 5;
    case 6:
        return 23;
    case 7:
        return 8;
    default:
        return 0;
    }
}

// Empty when the command's data decode; otherwise why not.
std::string CheckData(std::span<const uint8_t, kSimCommandLength> r)
{
    const uint8_t length = r[6];
    const uint8_t* d = r.data() + kDataStart;
    switch (r[2]) {
    case kKeyAssignment:
        if (d[0] >= kSimDeviceSlots)
            return Format("device slot %d out of range", d[0]);
        break;
    case kPollingRate:
        if (d[0] != 8 && d[0] != 4 && d[0] != 2 && d[0] != 1)
            return Format("report interval %d is not 8, 4, 2 or 1", d[0]);
        break;
    case kLighting: {
        const int expected = LightingLength(d[0], d[2]);
        if (expected < 0)
            return Format("lighting mode 2 with %d colours", d[2]);
        if (length != expected)
            return Format("lighting mode %d needs length %d, not %d", d[0], expected, length);
        break;
    }
    case kLiftOff:
        if (d[1] != 0)
            return Format("lift-off second byte %02X, not 00", d[1]);
        break;
    case kFactoryReset:
        if (d[0] != 0xFF)
            return Format("factory reset byte %02X, not FF", d[0]);
        break;
    case kMacroChunk: {
        const int index = r[5] >> 4;
        const int count = r[5] & 0x0F;
        if (count == 0)
            return "macro chunk count 0";
        if (index >= count)
            return Format("macro chunk %d of %d", index, count);
        if (length == 0)
            return "macro chunk without download index";
        if (d[0] < 1 || d[0] > kSimMacroIndexes)
            return Format("macro download index %d out of range", d[0]);
        break;
    }
    default:
        break;
    }
    return {};
}

// Empty when the report decodes; otherwise why not.
std::string Check(std::span<const uint8_t, kSimCommandLength> r)
{
    auto shape = Shapes().find(r[2]);
    if (shape == Shapes().end())
        return "unknown command";
    if (r[1] != 0x01)
        return Format("byte 1 is %02X, not 01", r[1]);
    if (r[3] != 0x00)
        return Format("byte 3 is %02X, not 00", r[3]);
    if (r[6] > kMaxDataLength)
        return Format("data length %d beyond %d", r[6], kMaxDataLength);
    const Shape& s = shape->second;
    if (s.packetField >= 0 && r[5] != s.packetField)
        return Format("packet field %02X, not %02X", r[5], s.packetField);
    if (s.length >= 0 && r[6] != s.length)
        return Format("data length %d, not %d", r[6], s.length);
    return CheckData(r);
}

void TakeMacroChunk(SimState& state, std::span<const uint8_t, kSimCommandLength> r)
{
    using Status = SimMacroState::Status;
    const uint8_t chunk = r[5] >> 4;
    const uint8_t count = r[5] & 0x0F;
    const size_t eventBytes = size_t(r[6]) - 1;
    const uint8_t* events = r.data() + kDataStart + 1;
    auto& slot = state.macros[size_t(r[kDataStart] - 1)];

    if (chunk == 0 || !slot || slot->status == Status::Complete) {
        // A new download. One that had not finished is recorded as cut short.
        unsigned abandoned = 0;
        if (slot)
            abandoned = slot->abandoned + (chunk == 0 && slot->status != Status::Complete);
        slot = SimMacroState{};
        slot->abandoned = abandoned;
        slot->chunkCount = count;
        slot->status = chunk == 0 ? Status::Partial : Status::OutOfOrder;
    } else if (slot->status == Status::Partial &&
               (count != slot->chunkCount || chunk != slot->order.size())) {
        slot->status = Status::OutOfOrder;
    }
    if (slot->order.size() < kSimMaxChunkOrder)
        slot->order.push_back(chunk);
    if (slot->status != Status::Partial) {
        slot->received.clear();
        return;
    }
    const bool last = chunk + 1 == count;
    if (!last && eventBytes != kChunkEventBytes) {
        slot->status = Status::ShortChunk;
        slot->received.clear();
        return;
    }
    slot->received.insert(slot->received.end(), events, events + eventBytes);
    if (last) {
        slot->status = Status::Complete;
        slot->events = std::move(slot->received);
        slot->received.clear();
    }
}

void Apply(SimState& state, std::span<const uint8_t, kSimCommandLength> r)
{
    const uint8_t* d = r.data() + kDataStart;
    switch (r[2]) {
    case kKeyAssignment:
        state.deviceSlots[d[0]] = SimKeyValue{d[1], d[2], d[3]};
        break;
    case kDpiLevels: {
        SimDpiState dpi;
        dpi.levels = d[0] & 0x0F;
        dpi.active = d[0] >> 4;
        dpi.mask = d[1];
        for (int i = 0; i < kSimDpiCodes; ++i)
            dpi.codes[size_t(i)] = uint16_t(d[2 + 2 * i] | (d[3 + 2 * i] << 8));
        state.dpi = dpi;
        break;
    }
    case kDpiColours: {
        std::array<SimColour, kSimColours> colours;
        for (int i = 0; i < kSimColours; ++i)
            colours[size_t(i)] = {d[3 * i], d[3 * i + 1], d[3 * i + 2]};
        state.colours = colours;
        break;
    }
    case kPollingRate:
        state.interval = d[0];
        break;
    case kLighting: {
        SimLightingState lighting;
        lighting.mode = d[0];
        lighting.brightSpeed = d[1];
        lighting.data.assign(d, d + r[6]);
        state.lighting = std::move(lighting);
        break;
    }
    case kLiftOff:
        state.liftOff = d[0];
        break;
    case kDebounce:
        state.debounce = d[0];
        break;
    case kPowerSaving:
        state.power = SimPowerState{d[0], d[1]};
        break;
    case kMotionWakeup:
        state.wakeup = d[0];
        break;
    case kMacroChunk:
        TakeMacroChunk(state, r);
        break;
    case kFactoryReset:
        SimForgetSettings(state);
        ++state.factoryResets;
        break;
    default:
        break;
    }
}

// Appends the parts in turn (GCC 12 misreads "literal" + std::string&& as overlapping copies).
template <typename... Parts>
std::string Cat(const Parts&... parts)
{
    std::string out;
    ((out += parts), ...);
    return out;
}

std::string Hex(uint8_t b)
{
    static const char digits[] = "0123456789ABCDEF";
    return {digits[b >> 4], digits[b & 0x0F]};
}

std::string HexBytes(const uint8_t* bytes, size_t count)
{
    std::string out;
    for (size_t i = 0; i < count; ++i) {
        if (i)
            out += ' ';
        out += Hex(bytes[i]);
    }
    return out;
}

// Three bytes to a group: "300004 B00004".
std::string EventGroups(const std::vector<uint8_t>& bytes)
{
    std::string out;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i && i % 3 == 0)
            out += ' ';
        out += Hex(bytes[i]);
    }
    return out;
}

template <typename Container>
std::string Decimals(const Container& values, const char* separator)
{
    std::string out;
    for (const auto& v : values) {
        if (!out.empty())
            out += separator;
        out += std::to_string(v);
    }
    return out;
}

std::string JsonString(const std::string& text)
{
    std::string out = "\"";
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += ch;
        } else if (c < 0x20) {
            char esc[8];
            std::snprintf(esc, sizeof esc, "\\u%04x", c);
            out += esc;
        } else {
            out += ch;
        }
    }
    return out + "\"";
}

template <typename Container>
std::string JsonNumbers(const Container& values)
{
    return Cat("[", Decimals(values, ", "), "]");
}

} // namespace

bool SimApplyCommand(SimState& state, std::span<const uint8_t, kSimCommandLength> report,
                     uint64_t ms)
{
    std::string reason = Check(report);
    if (!reason.empty()) {
        ++state.malformedCount;
        if (state.malformed.size() >= kSimMaxMalformedKept)
            state.malformed.pop_front();
        state.malformed.push_back({state.malformedCount, ms, report[2], std::move(reason)});
        return false;
    }
    Apply(state, report);
    return true;
}

void SimForgetSettings(SimState& state)
{
    SimState cleared;
    cleared.factoryResets = state.factoryResets;
    cleared.malformedCount = state.malformedCount;
    cleared.malformed = std::move(state.malformed);
    state = std::move(cleared);
}

const char* SimMacroStatusName(SimMacroState::Status status)
{
    switch (status) {
    case SimMacroState::Status::Partial:
        return "partial";
    case SimMacroState::Status::Complete:
        return "complete";
    case SimMacroState::Status::OutOfOrder:
        return "out-of-order";
    case SimMacroState::Status::ShortChunk:
        return "short-chunk";
    }
    return "?";
}

std::string SimStateText(const SimState& s)
{
    std::string out;
    auto line = [&](const std::string& key, const std::string& value) {
        out += key + "=" + value + "\n";
    };
    auto known = [](const auto& field, auto show) -> std::string {
        return field ? show(*field) : std::string("unknown");
    };
    line("factory-resets", std::to_string(s.factoryResets));
    line("malformed", std::to_string(s.malformedCount));
    for (size_t i = 0; i < s.deviceSlots.size(); ++i)
        line("slot" + std::to_string(i), known(s.deviceSlots[i], [](const SimKeyValue& k) {
                 const uint8_t bytes[] = {k.type, k.p1, k.p2};
                 return HexBytes(bytes, 3);
             }));
    line("dpi.levels", known(s.dpi, [](const SimDpiState& d) { return std::to_string(d.levels); }));
    line("dpi.active", known(s.dpi, [](const SimDpiState& d) { return std::to_string(d.active); }));
    line("dpi.mask", known(s.dpi, [](const SimDpiState& d) { return Hex(d.mask); }));
    line("dpi.codes", known(s.dpi, [](const SimDpiState& d) { return Decimals(d.codes, " "); }));
    for (int i = 0; i < kSimColours; ++i)
        line("colour" + std::to_string(i + 1), known(s.colours, [i](const auto& c) {
                 return HexBytes(c[size_t(i)].data(), 3);
             }));
    auto number = [](uint8_t v) { return std::to_string(v); };
    line("interval", known(s.interval, number));
    line("liftoff", known(s.liftOff, number));
    line("debounce", known(s.debounce, number));
    line("power.down",
         known(s.power, [](const SimPowerState& p) { return std::to_string(p.powerDownTime); }));
    line("power.lighting", known(s.power, [](const SimPowerState& p) {
             return std::to_string(p.moveLightingOnOffMode);
         }));
    line("wakeup", known(s.wakeup, number));
    line("lighting.mode",
         known(s.lighting, [](const SimLightingState& l) { return std::to_string(l.mode); }));
    line("lighting.bright-speed",
         known(s.lighting, [](const SimLightingState& l) { return Hex(l.brightSpeed); }));
    line("lighting.length", known(s.lighting, [](const SimLightingState& l) {
             return std::to_string(l.data.size());
         }));
    line("lighting.data", known(s.lighting, [](const SimLightingState& l) {
             return HexBytes(l.data.data(), l.data.size());
         }));
    for (int k = 1; k <= kSimMacroIndexes; ++k) {
        const auto& m = s.Macro(k);
        const std::string key = "macro" + std::to_string(k) + ".";
        line(key + "status", known(m, [](const SimMacroState& x) {
                 return std::string(SimMacroStatusName(x.status));
             }));
        line(key + "chunks",
             known(m, [](const SimMacroState& x) { return std::to_string(x.chunkCount); }));
        line(key + "order", known(m, [](const SimMacroState& x) { return Decimals(x.order, " "); }));
        const bool complete = m && m->status == SimMacroState::Status::Complete;
        line(key + "events", complete ? EventGroups(m->events) : "unknown");
        line(key + "abandoned",
             known(m, [](const SimMacroState& x) { return std::to_string(x.abandoned); }));
    }
    for (const auto& bad : s.malformed)
        line("malformed." + std::to_string(bad.serial),
             std::to_string(bad.ms) + " " + Hex(bad.command) + ": " + bad.reason);
    return out;
}

std::string SimStateJson(const SimState& s)
{
    std::string out = "{\n";
    auto member = [&](const std::string& key, const std::string& value, bool last = false) {
        out += Cat("  ", JsonString(key), ": ", value, last ? "\n" : ",\n");
    };
    auto orNull = [](const auto& field, auto show) -> std::string {
        return field ? show(*field) : std::string("null");
    };
    auto number = [](uint8_t v) { return std::to_string(v); };

    member("factoryResets", std::to_string(s.factoryResets));
    std::string slotList = "[";
    for (size_t i = 0; i < s.deviceSlots.size(); ++i)
        slotList += Cat(i ? ", " : "", orNull(s.deviceSlots[i], [](const SimKeyValue& k) {
                         return Cat("{\"type\": ", std::to_string(k.type), ", \"p1\": ",
                                    std::to_string(k.p1), ", \"p2\": ", std::to_string(k.p2), "}");
                     }));
    member("slots", slotList + "]");
    member("dpi", orNull(s.dpi, [](const SimDpiState& d) {
               return Cat("{\"levels\": ", std::to_string(d.levels), ", \"active\": ",
                          std::to_string(d.active), ", \"mask\": ", std::to_string(d.mask),
                          ", \"codes\": ", JsonNumbers(d.codes), "}");
           }));
    member("colours", orNull(s.colours, [](const auto& colours) {
               std::string list = "[";
               for (size_t i = 0; i < colours.size(); ++i)
                   list += Cat(i ? ", " : "", JsonNumbers(colours[i]));
               return list + "]";
           }));
    member("interval", orNull(s.interval, number));
    member("liftOff", orNull(s.liftOff, number));
    member("debounce", orNull(s.debounce, number));
    member("power", orNull(s.power, [](const SimPowerState& p) {
               return Cat("{\"powerDownTime\": ", std::to_string(p.powerDownTime),
                          ", \"moveLightingOnOffMode\": ", std::to_string(p.moveLightingOnOffMode),
                          "}");
           }));
    member("wakeup", orNull(s.wakeup, number));
    member("lighting", orNull(s.lighting, [](const SimLightingState& l) {
               return Cat("{\"mode\": ", std::to_string(l.mode), ", \"brightSpeed\": ",
                          std::to_string(l.brightSpeed), ", \"data\": ", JsonNumbers(l.data), "}");
           }));
    std::string macros = "{\n";
    for (int k = 1; k <= kSimMacroIndexes; ++k) {
        macros += Cat("    \"", std::to_string(k), "\": ",
                      orNull(s.Macro(k), [](const SimMacroState& m) {
                          const bool complete = m.status == SimMacroState::Status::Complete;
                          return Cat("{\"status\": ", JsonString(SimMacroStatusName(m.status)),
                                     ", \"chunks\": ", std::to_string(m.chunkCount),
                                     ", \"order\": ", JsonNumbers(m.order), ", \"events\": ",
                                     complete ? JsonNumbers(m.events) : std::string("null"),
                                     ", \"abandoned\": ", std::to_string(m.abandoned), "}");
                      }),
                      k < kSimMacroIndexes ? ",\n" : "\n");
    }
    member("macros", macros + "  }");
    member("malformedCount", std::to_string(s.malformedCount));
    std::string malformed = "[";
    for (const auto& bad : s.malformed)
        malformed += Cat(malformed.size() > 1 ? ",\n" : "\n", "    {\"serial\": ",
                         std::to_string(bad.serial), ", \"ms\": ", std::to_string(bad.ms),
                         ", \"command\": ", std::to_string(bad.command),
                         ", \"reason\": ", JsonString(bad.reason), "}");
    member("malformed", malformed + (s.malformed.empty() ? "]" : "\n  ]"), true);
    return out + "}\n";
}

} // namespace vexmo
