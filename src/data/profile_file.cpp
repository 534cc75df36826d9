#include "data/profile_file.h"

#include "data/stdio_file_ex.h"
#include "data/text_format.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string_view>

namespace vexmo {

namespace {

constexpr char16_t kHeader[] = u"[Setting]";
constexpr std::size_t kActionChars = 8;
constexpr std::size_t kAllActionChars = MacroKey::kMaxActions * kActionChars; // 2688

// ---- Writing ------------------------------------------------------------------------------------

void AppendName(std::u16string& out, const std::u16string& name)
{
    const std::size_t start = out.size();
    out += name;
    std::replace(out.begin() + static_cast<std::ptrdiff_t>(start), out.end(), u'\n', u' ');
}

void AppendHex2(std::u16string& out, std::uint32_t value)
{
    AppendHex(out, value & 0xFF, 2);
}

void AppendTriple(std::u16string& out, const ByteTriple& bytes)
{
    for (const std::uint8_t byte : bytes)
        AppendHex2(out, byte);
}

void AppendColour(std::u16string& out, Colour colour)
{
    AppendHex2(out, ColourRed(colour));
    AppendHex2(out, ColourGreen(colour));
    AppendHex2(out, ColourBlue(colour));
}

void AppendByteList(std::u16string& out, const std::array<std::uint8_t, kLightingEffectCount>& list)
{
    for (int i = 0; i < kLightingEffectCount; ++i) {
        AppendHex2(out, list[i]);
        if (i + 1 < kLightingEffectCount)
            out += u'|';
    }
}

// ---- Reading ------------------------------------------------------------------------------------

// Signed decimal into 32 bits the way a signed value lands in an unsigned field: "-1" gives
// 0xFFFFFFFF. Everything "%u" can write reads back unchanged; larger values saturate.
std::uint32_t ParseIdentity(std::u16string_view text)
{
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    constexpr long long kLimit = 0x100000000LL;
    long long magnitude = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        magnitude = std::min(magnitude * 10 + (text[i] - u'0'), kLimit);
    }
    if (negative)
        return static_cast<std::uint32_t>(-std::min(magnitude, 0x80000000LL));
    return static_cast<std::uint32_t>(std::min(magnitude, kLimit - 1));
}

// The lines of one file, each checked for its "=" as it is taken.
class LineSource {
public:
    explicit LineSource(CStdioFileEx& file) : file_(file) {}

    // The next line, or none at the end of the file.
    bool Next() { return file_.ReadString(line_); }
    const std::u16string& Line() const { return line_; }

    // The value after the first "=" of the next line, which must have one that is not its
    // first character.
    std::optional<std::u16string_view> Value()
    {
        if (!Next())
            return std::nullopt;
        const std::size_t equals = line_.find(u'=');
        if (equals == std::u16string::npos || equals == 0)
            return std::nullopt;
        return std::u16string_view(line_).substr(equals + 1);
    }
    // As Value, but "=" may be the first character.
    std::optional<std::u16string_view> ValueAnywhere()
    {
        if (!Next())
            return std::nullopt;
        const std::size_t equals = line_.find(u'=');
        if (equals == std::u16string::npos)
            return std::nullopt;
        return std::u16string_view(line_).substr(equals + 1);
    }

private:
    CStdioFileEx& file_;
    std::u16string line_;
};

// The fixed-width hexadecimal field at `offset` of a value; a short field parses as far as it
// goes, a missing one gives 0.
std::uint8_t Hex2At(std::u16string_view value, std::size_t offset)
{
    return static_cast<std::uint8_t>(ParseHex(FieldAt(value, offset, 2)));
}

ByteTriple TripleAt(std::u16string_view value, std::size_t offset)
{
    return {Hex2At(value, offset), Hex2At(value, offset + 2), Hex2At(value, offset + 4)};
}

Colour ColourAt(std::u16string_view value, std::size_t offset)
{
    const ByteTriple rgb = TripleAt(value, offset);
    return MakeColour(rgb[0], rgb[1], rgb[2]);
}

bool ReadByte(LineSource& lines, std::uint8_t& out)
{
    const auto value = lines.Value();
    if (!value)
        return false;
    out = Hex2At(*value, 0);
    return true;
}

bool ReadTriple(LineSource& lines, ByteTriple& out)
{
    const auto value = lines.Value();
    if (!value)
        return false;
    out = TripleAt(*value, 0);
    return true;
}

bool ReadColour(LineSource& lines, Colour& out)
{
    const auto value = lines.Value();
    if (!value)
        return false;
    out = ColourAt(*value, 0);
    return true;
}

bool ReadName(LineSource& lines, std::u16string& out)
{
    const auto value = lines.Value();
    if (!value)
        return false;
    out = *value;
    return true;
}

bool ReadByteList(LineSource& lines, std::array<std::uint8_t, kLightingEffectCount>& out)
{
    const auto value = lines.Value();
    if (!value)
        return false;
    for (std::size_t j = 0; j < out.size(); ++j)
        out[j] = Hex2At(*value, 3 * j);
    return true;
}

// A decimal line of a button macro: "=" anywhere, at least one character after it.
std::optional<std::u16string_view> MacroNumber(LineSource& lines)
{
    const auto value = lines.ValueAnywhere();
    if (!value || value->empty())
        return std::nullopt;
    return value;
}

bool ReadKeySlot(LineSource& lines, KeySlot& slot)
{
    if (!ReadName(lines, slot.KeyName) || !ReadTriple(lines, slot.KeyValue))
        return false;

    const auto index = MacroNumber(lines);
    if (!index)
        return false;
    slot.MacroKeyIndex = ParseIdentity(*index);

    const auto macroName = lines.ValueAnywhere();
    if (!macroName)
        return false;
    slot.Macro.name = *macroName;

    const auto count = MacroNumber(lines);
    if (!count)
        return false;
    // The count says how many actions the macro uses, of at most 336.
    slot.Macro.ActionCount = static_cast<std::uint32_t>(
        std::clamp(ParseDecimal(*count), 0, static_cast<int>(MacroKey::kMaxActions)));

    const auto actions = lines.ValueAnywhere();
    if (!actions || actions->size() != kAllActionChars)
        return false;
    for (unsigned i = 0; i < MacroKey::kMaxActions; ++i) {
        const std::size_t at = i * kActionChars;
        slot.Macro.Actions[i] = MacroAction::FromBytes(Hex2At(*actions, at), Hex2At(*actions, at + 2),
                                                       Hex2At(*actions, at + 4),
                                                       Hex2At(*actions, at + 6));
    }
    slot.Macro.MacroCommandActionNum = CountCommandActions(slot.Macro);
    return true;
}

bool ReadLighting(LineSource& lines, LightingZones& zones)
{
    if (!ReadName(lines, zones.Lighting1Name) || !ReadTriple(lines, zones.Lighting1ModeValue) ||
        !ReadByte(lines, zones.Lighting1OffOn) || !ReadByteList(lines, zones.Lighting1Speed) ||
        !ReadByteList(lines, zones.Lighting1Brightness))
        return false;

    const auto selected = lines.Value();
    if (!selected)
        return false;
    for (std::size_t n = 0; n < kLightingEffectCount * kLightingColourPositions; ++n)
        zones.Lighting1ColorSelected[n / kLightingColourPositions][n % kLightingColourPositions] =
            Hex2At(*selected, 3 * n);

    const auto colours = lines.Value();
    if (!colours)
        return false;
    for (std::size_t n = 0; n < kLightingEffectCount * kLightingColourPositions; ++n)
        zones.Lighting1FixedColor[n / kLightingColourPositions][n % kLightingColourPositions] =
            ColourAt(*colours, 7 * n);

    return ReadByteList(lines, zones.Lighting1Direction) && ReadName(lines, zones.Lighting2Name) &&
           ReadTriple(lines, zones.Lighting2ModeValue) && ReadByte(lines, zones.Lighting2OffOn) &&
           ReadByte(lines, zones.Lighting2Speed) && ReadByte(lines, zones.Lighting2Brightness) &&
           ReadColour(lines, zones.Lighting2FixedColor);
}

bool ParseProfile(LineSource& lines, ProfileRecord& record)
{
    if (!lines.Next() || lines.Line() != kHeader)
        return false;

    for (TextSetting& pair : record.TextSettings) {
        if (!lines.Next())
            return false;
        const std::u16string& line = lines.Line();
        const std::size_t equals = line.find(u'=');
        if (equals == std::u16string::npos || equals == 0)
            return false;
        pair.name = line.substr(0, equals);
        pair.value = line.substr(equals + 1);
    }

    if (!ReadByte(lines, record.DPIOffOnFlagValue))
        return false;
    for (std::uint16_t& step : record.XYSettingValue) {
        const auto value = lines.Value();
        if (!value)
            return false;
        step = static_cast<std::uint16_t>(ParseHex(FieldAt(*value, 0, 4)));
    }
    if (!ReadByte(lines, record.CurrentDPILevelValue))
        return false;
    for (Colour& colour : record.DPILevelIndicationValuer) {
        if (!ReadColour(lines, colour))
            return false;
    }
    if (!ReadByte(lines, record.AngleSnapValue) || !ReadByte(lines, record.LiftDetectionValue) ||
        !ReadName(lines, record.PollingRateName) || !ReadTriple(lines, record.PollingRateValue) ||
        !ReadLighting(lines, record.LightingSettings))
        return false;

    for (KeySlot& slot : record.KeySlots) {
        if (!ReadKeySlot(lines, slot))
            return false;
    }
    return true; // anything after the last slot is ignored
}

} // namespace

std::u16string FormatProfileFile(const ProfileRecord& record)
{
    std::u16string out;
    out.reserve(24 * 1024);
    out += kHeader;
    out += u'\n';
    for (const TextSetting& pair : record.TextSettings) {
        AppendName(out, pair.name);
        out += u'=';
        AppendName(out, pair.value);
        out += u'\n';
    }

    out += u"DPIOffOnFlagValue=";
    AppendHex2(out, record.DPIOffOnFlagValue);
    out += u'\n';
    for (int level = 0; level < kDpiLevelCount; ++level) {
        out += u"\tXYSetting";
        AppendDecimal(out, level + 1);
        out += u"Value=";
        AppendHex(out, record.XYSettingValue[level], 4);
        out += u'\n';
    }
    out += u"\tCurrentDPILevelValue=";
    AppendHex2(out, record.CurrentDPILevelValue);
    out += u'\n';
    for (int level = 0; level < kDpiLevelCount; ++level) {
        out += u"\tDPILevelIndication";
        AppendDecimal(out, level);
        out += u"Valuer=";
        AppendColour(out, record.DPILevelIndicationValuer[level]);
        out += u'\n';
    }
    out += u"\tAngleSnapValue=";
    AppendHex2(out, record.AngleSnapValue);
    out += u"\n\tLiftDetectionValue=";
    AppendHex2(out, record.LiftDetectionValue);
    out += u"\nPollingRateName=";
    AppendName(out, record.PollingRateName);
    out += u"\n\tPollingRateValue=";
    AppendTriple(out, record.PollingRateValue);
    out += u'\n';

    const LightingZones& zones = record.LightingSettings;
    out += u"Lighting1Name=";
    AppendName(out, zones.Lighting1Name);
    out += u"\n\tLighting1ModeValue=";
    AppendTriple(out, zones.Lighting1ModeValue);
    out += u"\n\tLighting1OffOn=";
    AppendHex2(out, zones.Lighting1OffOn);
    out += u"\n\tLighting1Speed=";
    AppendByteList(out, zones.Lighting1Speed);
    out += u"\n\tLighting1Brightness=";
    AppendByteList(out, zones.Lighting1Brightness);
    out += u"\n\tLighting1ColorSelected=";
    for (const auto& effect : zones.Lighting1ColorSelected) {
        for (int position = 0; position < kLightingColourPositions; ++position) {
            AppendHex2(out, effect[position]);
            out += position + 1 < kLightingColourPositions ? u'|' : u';';
        }
    }
    out += u"\n\tLighting1FixedColor=";
    for (const auto& effect : zones.Lighting1FixedColor) {
        for (int position = 0; position < kLightingColourPositions; ++position) {
            AppendColour(out, effect[position]);
            out += position + 1 < kLightingColourPositions ? u'|' : u';';
        }
    }
    out += u"\n\tLighting1Direction=";
    AppendByteList(out, zones.Lighting1Direction);
    out += u"\nLighting2Name=";
    AppendName(out, zones.Lighting2Name);
    out += u"\n\tLighting2ModeValue=";
    AppendTriple(out, zones.Lighting2ModeValue);
    out += u"\n\tLighting2OffOn=";
    AppendHex2(out, zones.Lighting2OffOn);
    out += u"\n\tLighting2Speed=";
    AppendHex2(out, zones.Lighting2Speed);
    out += u"\n\tLighting2Brightness=";
    AppendHex2(out, zones.Lighting2Brightness);
    out += u"\n\tLighting2FixedColor=";
    AppendColour(out, zones.Lighting2FixedColor);
    out += u'\n';

    for (int k = 0; k < kKeySlotCount; ++k) {
        const KeySlot& slot = record.KeySlots[k];
        out += u"Key";
        AppendUnsigned(out, static_cast<unsigned>(k));
        out += u"Name=";
        AppendName(out, slot.KeyName);
        out += u"\n\tKey";
        AppendUnsigned(out, static_cast<unsigned>(k));
        out += u"Value=";
        AppendTriple(out, slot.KeyValue);
        out += u"\n\tMacroKeyIndex=";
        AppendUnsigned(out, slot.MacroKeyIndex);
        out += u"\n\tMacroKey";
        AppendUnsigned(out, static_cast<unsigned>(k));
        out += u"Name=";
        AppendName(out, slot.Macro.name);
        out += u"\n\t\tMacroActionNum=";
        AppendUnsigned(out, slot.Macro.ActionCount);
        out += u"\n\t\tAllAction=";
        for (const MacroAction action : slot.Macro.Actions) {
            for (unsigned b = 0; b < 4; ++b)
                AppendHex2(out, action.Byte(b));
        }
        out += u'\n';
    }
    return out;
}

bool WriteProfileRecord(const ProfileRecord& record, const std::u16string& path)
{
    CStdioFileEx file;
    if (!file.Open(path, CStdioFileEx::Mode::Write))
        return false;
    file.WriteString(FormatProfileFile(record));
    return file.Close();
}

bool ReadProfileRecord(ProfileRecord& record, const std::u16string& path)
{
    CStdioFileEx file;
    if (!file.Open(path, CStdioFileEx::Mode::Read))
        return false;
    // Parsed into a copy, so that a file found bad halfway leaves the record untouched. The
    // copy starts from the record because the file does not carry everything (macro identity
    // and loop settings stay).
    ProfileRecord parsed = record;
    LineSource lines(file);
    if (!ParseProfile(lines, parsed))
        return false;
    record = std::move(parsed);
    return true;
}

bool WriteProfileFile(int index, const std::u16string& path)
{
    const ProfileRecord* record = ProfileAt(index);
    return record != nullptr && WriteProfileRecord(*record, path);
}

bool ReadProfileFile(int index, const std::u16string& path, const SettingsStore& settings)
{
    ProfileRecord* record = ProfileAt(index);
    if (record == nullptr)
        return false;
    if (ReadProfileRecord(*record, path))
        return true;
    FillDefaults(*record, index);
    WriteProfileRecord(*record, settings.GetProfileSlotPath(index));
    return false;
}

bool ReadProfileFile(int index, const std::u16string& path)
{
    return ReadProfileFile(index, path, AppSettings);
}

} // namespace vexmo
