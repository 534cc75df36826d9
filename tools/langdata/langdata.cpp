// Turns a language data source (UTF-8, readable in review) into the file the program reads:
// UTF-16 little-endian with the mark FF FE and LF line ends.
//
//   vexmo-langdata [--indexed] <source> <output>
//
// Source format: the lines of the output file in order. Lines starting with '#' and empty lines
// are notes for translators and are left out. The first kept line is the section header
// ("[Setting]", "[ChangeLanguage]"); every further line is "key=text". White space is kept as it
// is, including at the end of a text (some texts are joined with a number when shown).
//
// The program stops reading a language file at the first line without "=" or with "=" as its
// first or last character, so such a line would silently cut off every text after it; the tool
// refuses it instead. With --indexed the header must be "[Setting]" and every key a decimal
// index 0..499 that no earlier line used. Errors name the source line; nothing is written then.

#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int kIndexCount = 500;

struct Failure {
    std::size_t line;
    std::string message;
};

// Decodes one UTF-8 line into UTF-16 code units; false on malformed input.
bool AppendUtf16(std::string_view utf8, std::u16string& out)
{
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        std::size_t length;
        char32_t cp;
        if (lead < 0x80) {
            length = 1;
            cp = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2;
            cp = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            cp = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            cp = lead & 0x07;
        } else {
            return false;
        }
        if (i + length > utf8.size())
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (next & 0x3F);
        }
        constexpr char32_t kMinimum[] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < kMinimum[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (cp >> 10));
            out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
        i += length;
    }
    return true;
}

bool CheckEntry(std::string_view line, bool indexed, std::set<int>& seen, std::string& message)
{
    const auto equals = line.find('=');
    if (equals == std::string_view::npos || equals == 0 || equals + 1 == line.size()) {
        message = "expected key=text with a non-empty key and text";
        return false;
    }
    if (!indexed)
        return true;
    const std::string_view key = line.substr(0, equals);
    if (key.size() > 3 || key.find_first_not_of("0123456789") != std::string_view::npos) {
        message = "index must be a decimal number 0.." + std::to_string(kIndexCount - 1);
        return false;
    }
    const int index = std::stoi(std::string(key));
    if (index >= kIndexCount) {
        message = "index " + std::to_string(index) + " is outside 0.." + std::to_string(kIndexCount - 1);
        return false;
    }
    if (!seen.insert(index).second) {
        message = "index " + std::to_string(index) + " is given twice";
        return false;
    }
    return true;
}

// The UTF-16 text of the output, or the first fault of the source.
bool Convert(const std::string& source, bool indexed, std::u16string& out, Failure& failure)
{
    std::string_view rest = source;
    if (rest.substr(0, 3) == "\xEF\xBB\xBF")
        rest.remove_prefix(3);
    std::set<int> seen;
    bool headerSeen = false;
    std::size_t number = 0;
    while (!rest.empty()) {
        ++number;
        const auto end = rest.find('\n');
        const std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);

        if (line.find('\r') != std::string_view::npos) {
            failure = {number, "carriage return: the files use LF line ends only"};
            return false;
        }
        if (line.find('\0') != std::string_view::npos) {
            failure = {number, "NUL character"};
            return false;
        }
        if (line.empty() || line.front() == '#')
            continue;
        if (!headerSeen) {
            if (indexed ? line != "[Setting]" : (line.size() < 3 || line.front() != '[' || line.back() != ']')) {
                failure = {number, indexed ? "the first line must be [Setting]"
                                           : "the first line must be a section header such as [ChangeLanguage]"};
                return false;
            }
            headerSeen = true;
        } else if (std::string message; !CheckEntry(line, indexed, seen, message)) {
            failure = {number, message};
            return false;
        }
        if (!AppendUtf16(line, out)) {
            failure = {number, "malformed UTF-8"};
            return false;
        }
        out += u'\n';
    }
    if (!headerSeen) {
        failure = {number, "no section header"};
        return false;
    }
    return true;
}

bool WriteUtf16File(const std::string& path, const std::u16string& text)
{
    std::string bytes = "\xFF\xFE";
    for (const char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    // Written beside the target and renamed, so an interrupted build leaves no half file that
    // looks up to date.
    const std::string temp = path + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush())
            return false;
    }
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    bool indexed = false;
    if (!args.empty() && args.front() == "--indexed") {
        indexed = true;
        args.erase(args.begin());
    }
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: vexmo-langdata [--indexed] <source> <output>\n");
        return 2;
    }
    const std::string& sourcePath = args[0];
    const std::string& outputPath = args[1];

    std::ifstream in(sourcePath, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "%s: cannot be read\n", sourcePath.c_str());
        return 1;
    }
    const std::string source((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

    std::u16string text;
    Failure failure;
    if (!Convert(source, indexed, text, failure)) {
        std::fprintf(stderr, "%s:%zu: %s\n", sourcePath.c_str(), failure.line, failure.message.c_str());
        return 1;
    }
    if (!WriteUtf16File(outputPath, text)) {
        std::fprintf(stderr, "%s: cannot be written\n", outputPath.c_str());
        return 1;
    }
    return 0;
}
