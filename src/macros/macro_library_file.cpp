#include "macros/macro_library_file.h"

#include "app/core/process_values.h"
#include "data/stdio_file_ex.h"
#include "data/text_format.h"
#include "macros/macro_model.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>

namespace vexmo {

namespace {

constexpr int N = MacroLibrary::kListSize;
constexpr std::u16string_view kHeader = u"[MacroLibrary]";
constexpr std::size_t kDigitsPerAction = 8;
constexpr std::size_t kAllActionDigits = MacroKey::kMaxActions * kDigitsPerAction; // 2688

// ---- reading helpers ----------------------------------------------------------------------------

// The text after the first "=", or nothing when there is no "=" or it ends the line.
std::optional<std::u16string_view> ValueOf(std::u16string_view line)
{
    const auto equals = line.find(u'=');
    if (equals == std::u16string_view::npos || equals + 1 == line.size())
        return std::nullopt;
    return line.substr(equals + 1);
}

bool IsBlank(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
}

// Leading blanks, one sign, then digits up to the first other character; no digits give 0.
// Magnitudes stop growing at 0xFFFFFFFF, so every value the writer produces (%d or %u of a
// 32-bit field) comes back exactly and the narrowing below only cuts what was too large.
int64_t ReadDecimal(std::u16string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    int64_t magnitude = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        magnitude = magnitude * 10 + (text[i] - u'0');
        if (magnitude > 0xFFFFFFFF)
            magnitude = 0xFFFFFFFF;
    }
    return negative ? -magnitude : magnitude;
}

uint32_t Low32(int64_t value)
{
    return static_cast<uint32_t>(value);
}

uint8_t Low8(int64_t value)
{
    return static_cast<uint8_t>(value);
}

// The n-th value of a location line runs from just after the n-th "=" to the n-th ";". A
// missing ";" (or one that comes before its "=") gives 0. The line needs four "=", none of them
// its last character.
std::optional<MacroLocation> ParseLocation(std::u16string_view line)
{
    int32_t values[4];
    std::size_t equalsFrom = 0;
    std::size_t semicolonFrom = 0;
    for (int32_t& value : values) {
        const auto equals = line.find(u'=', equalsFrom);
        if (equals == std::u16string_view::npos || equals + 1 == line.size())
            return std::nullopt;
        equalsFrom = equals + 1;
        const auto semicolon = line.find(u';', semicolonFrom);
        semicolonFrom = semicolon == std::u16string_view::npos ? line.size() : semicolon + 1;
        std::u16string_view text;
        if (semicolon != std::u16string_view::npos && semicolon > equals)
            text = line.substr(equals + 1, semicolon - equals - 1);
        value = static_cast<int32_t>(Low32(ReadDecimal(text)));
    }
    return MacroLocation{values[0], values[1], values[2], values[3]};
}

// Decodes the 336 actions of an "AllAction" value; false, with `key` partly written, unless the
// value is exactly 2688 hexadecimal digits.
bool ReadAllActions(std::u16string_view value, MacroKey& key)
{
    if (value.size() != kAllActionDigits)
        return false;
    for (unsigned i = 0; i < MacroKey::kMaxActions; ++i) {
        uint8_t bytes[4];
        for (std::size_t b = 0; b < 4; ++b) {
            const std::size_t at = i * kDigitsPerAction + 2 * b;
            const int high = HexDigitValue(value[at]);
            const int low = HexDigitValue(value[at + 1]);
            if (high < 0 || low < 0)
                return false;
            bytes[b] = static_cast<uint8_t>(high << 4 | low);
        }
        key.SetAction(i, MacroAction::FromBytes(bytes[0], bytes[1], bytes[2], bytes[3]));
    }
    return true;
}

enum class Record {
    Placed,
    Skipped, // well-formed, but outside the library
    Broken,  // the line structure ends here
};

class RecordReader {
public:
    RecordReader(CStdioFileEx& file, MacroLibrary& target) : file_(file), target_(target) {}

    // Reads the record whose name line is `nameLine`, up to and including its last line.
    Record Read(const std::u16string& nameLine)
    {
        const auto nameValue = ValueOf(nameLine);
        if (!nameValue)
            return Record::Broken;
        const std::u16string name(*nameValue);
        if (!Next())
            return Record::Broken;
        const auto location = ParseLocation(line_);
        if (!location)
            return Record::Broken;
        int64_t isFolder, isOpen;
        if (!NextValue(isFolder) || !NextValue(isOpen))
            return Record::Broken;

        if (isFolder != 0) {
            // Folders exist at the first two levels only.
            if (!location->AddressesSlot() || location->stage == 2)
                return Record::Skipped;
            return target_.SetFolderItemAt(*location, name, static_cast<int32_t>(Low32(isOpen)))
                       ? Record::Placed
                       : Record::Skipped;
        }

        auto key = std::make_unique<MacroKey>(name);
        int64_t keyIndex, loopType, loopNum, actionCount, commandCount;
        if (!NextValue(keyIndex) || !NextValue(loopType) || !NextValue(loopNum) ||
            !NextValue(actionCount) || !NextValue(commandCount) || !Next())
            return Record::Broken;
        const auto actions = ValueOf(line_);
        if (!actions || !ReadAllActions(*actions, *key))
            return Record::Broken;

        if (!location->AddressesSlot() || actionCount < 0 ||
            actionCount > int64_t(MacroKey::kMaxActions) || commandCount < 0 ||
            commandCount > int64_t(MacroKey::kMaxCommandActions))
            return Record::Skipped;
        key->MacroKeyIndex = Low32(keyIndex);
        key->MacroKeyLoopType = Low8(loopType);
        key->MacroKeyLoopNum = Low8(loopNum);
        key->ActionCount = Low32(actionCount);
        key->MacroCommandActionNum = Low8(commandCount);
        return target_.SetMacroItemAt(*location, name, std::move(key)) ? Record::Placed
                                                                       : Record::Skipped;
    }

private:
    bool Next() { return file_.ReadString(line_); }

    // The next line's value read as a decimal number.
    bool NextValue(int64_t& number)
    {
        if (!Next())
            return false;
        const auto value = ValueOf(line_);
        if (!value)
            return false;
        number = ReadDecimal(*value);
        return true;
    }

    CStdioFileEx& file_;
    MacroLibrary& target_;
    std::u16string line_;
};

// ---- writing helpers ----------------------------------------------------------------------------

class RecordWriter {
public:
    explicit RecordWriter(CStdioFileEx& file) : file_(file)
    {
        line_.reserve(16 + kAllActionDigits);
    }

    void Header(uint32_t nextMacroKeyIndex, const MacroLocation& storedSelection)
    {
        line_ = kHeader;
        Put();
        line_ = u"MacroKeyIndex=";
        AppendDecimal(line_, static_cast<int32_t>(nextMacroKeyIndex));
        Put();
        line_ = u"Select Locaton:";
        AppendLocation(storedSelection);
        Put();
    }

    void Record(const MacroLocation& location, const MacroItem& item)
    {
        const std::u16string_view tabs = std::u16string_view(u"\t\t").substr(0, location.stage);
        Start(tabs, u"++++++++MacroItemName=");
        line_ += item.MacroItemName;
        Put();
        Start(tabs, u"MacroItemLocation:");
        AppendLocation(location);
        Put();
        Decimal(tabs, u"MacroItemIsFolder=", item.MacroItemIsFolder);
        Decimal(tabs, u"MacroItemFolderIsOpen=", item.MacroItemFolderIsOpen);
        if (item.MacroItemIsFolder != 0)
            return;

        // A macro item always owns its key; should one have lost it, the item is still written
        // as the empty macro it stands for rather than dropped.
        const MacroKey fallback(item.MacroItemName);
        const MacroKey& key = item.key ? *item.key : fallback;
        Unsigned(tabs, u"MacroKeyIndex=", key.MacroKeyIndex);
        Unsigned(tabs, u"MacroKeyLoopType=", key.MacroKeyLoopType);
        Unsigned(tabs, u"MacroKeyLoopNum=", key.MacroKeyLoopNum);
        Unsigned(tabs, u"MacroActionNum=", key.ActionCount);
        Unsigned(tabs, u"MacroCommandActionNum=", key.MacroCommandActionNum);
        Start(tabs, u"AllAction=");
        for (const MacroAction action : key.Actions)
            for (unsigned b = 0; b < 4; ++b)
                AppendHex(line_, action.Byte(b), 2);
        Put();
    }

private:
    void Start(std::u16string_view tabs, std::u16string_view word)
    {
        line_.assign(tabs);
        line_ += word;
    }
    void Decimal(std::u16string_view tabs, std::u16string_view word, int32_t value)
    {
        Start(tabs, word);
        AppendDecimal(line_, value);
        Put();
    }
    void Unsigned(std::u16string_view tabs, std::u16string_view word, uint32_t value)
    {
        Start(tabs, word);
        AppendUnsigned(line_, value);
        Put();
    }
    void AppendLocation(const MacroLocation& location)
    {
        line_ += u"stage=";
        AppendDecimal(line_, location.stage);
        line_ += u";stage0Index=";
        AppendDecimal(line_, location.stage0Index);
        line_ += u";stage1Index=";
        AppendDecimal(line_, location.stage1Index);
        line_ += u";stage2Index=";
        AppendDecimal(line_, location.stage2Index);
        line_ += u';';
    }
    // A failed write is remembered by the file and reported by its Close.
    void Put()
    {
        line_ += u'\n';
        file_.WriteString(line_);
    }

    CStdioFileEx& file_;
    std::u16string line_;
};

} // namespace

std::u16string MacroLibraryFilePath(const std::u16string& dataFolder)
{
    return dataFolder + u"config/MacroLibraryFile.mlf";
}

bool WriteMacroLibraryFile(const std::u16string& path, const MacroLibrary& library,
                           const MacroLocation& storedSelection)
{
    CStdioFileEx file;
    if (!file.Open(path, CStdioFileEx::Mode::Write))
        return false;
    RecordWriter writer(file);
    writer.Header(library.NextMacroKeyIndex, storedSelection);

    // Every slot, not only each list up to its first gap: whatever a damaged file put into the
    // library is written back as it is, never silently dropped. The 60 slots of a list lie side
    // by side, so one look-up per list finds them all.
    auto writeList = [&](MacroLocation location, int32_t MacroLocation::*index) {
        const MacroItem* list = library.ItemAt(location);
        for (int n = 0; n < N; ++n) {
            if (list[n].IsFree())
                continue;
            location.*index = n;
            writer.Record(location, list[n]);
        }
    };
    writeList(MacroLocation::Level0(0), &MacroLocation::stage0Index);
    for (int i = 0; i < N; ++i)
        writeList(MacroLocation::Level1(i, 0), &MacroLocation::stage1Index);
    for (int i = 0; i < N; ++i)
        for (int j = 0; j < N; ++j)
            writeList(MacroLocation::Level2(i, j, 0), &MacroLocation::stage2Index);
    return file.Close();
}

bool ReadMacroLibraryFile(const std::u16string& path, MacroLibrary& target,
                          MacroLocation* storedSelection)
{
    CStdioFileEx file;
    if (!file.Open(path, CStdioFileEx::Mode::Read))
        return false;
    target.ClearLibrary();
    if (storedSelection)
        *storedSelection = MacroLocation::None();

    std::u16string line;
    if (!file.ReadString(line) || line != kHeader)
        return false;
    if (!file.ReadString(line))
        return false;
    const auto counter = ValueOf(line);
    if (!counter)
        return false;
    target.NextMacroKeyIndex = Low32(ReadDecimal(*counter));
    if (!file.ReadString(line))
        return false;
    const auto selection = ParseLocation(line);
    if (!selection)
        return false;
    if (storedSelection)
        *storedSelection = *selection;

    RecordReader records(file, target);
    bool everyRecordPlaced = true;
    while (file.ReadString(line)) {
        switch (records.Read(line)) {
        case Record::Placed:
            break;
        case Record::Skipped:
            everyRecordPlaced = false;
            break;
        case Record::Broken:
            return false;
        }
    }
    return everyRecordPlaced;
}

bool SaveMainMacroLibrary()
{
    return WriteMacroLibraryFile(MacroLibraryFilePath(DataFolder), MainMacroLibrary,
                                 MacroLocation::None());
}

std::u16string UnreadableCopyPath(const std::u16string& libraryPath)
{
    return libraryPath + u".unreadable";
}

bool LoadMainMacroLibrary()
{
    const std::u16string path = MacroLibraryFilePath(DataFolder);
    if (ReadMacroLibraryFile(path, MainMacroLibrary))
        return true;
    // Only what was read survives the next save of the library, so a file that could not be
    // read whole is kept aside as it was, for the user to recover the rest.
    std::error_code error;
    const std::filesystem::path from(Utf16ToUtf8(path));
    if (std::filesystem::is_regular_file(from, error))
        std::filesystem::copy_file(from, Utf16ToUtf8(UnreadableCopyPath(path)),
                                   std::filesystem::copy_options::overwrite_existing, error);
    return false;
}

} // namespace vexmo
