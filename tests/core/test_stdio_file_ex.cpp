#include "data/stdio_file_ex.h"

#include "core/file_test_util.h"

#include <gtest/gtest.h>

#include <csignal>
#include <stdexcept>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace vexmo;
using namespace vexmo::test;

namespace {

std::vector<std::u16string> ReadAllLines(const std::string& path)
{
    std::vector<std::u16string> lines;
    CStdioFileEx file;
    if (!file.Open(U16(path), CStdioFileEx::Mode::Read)) {
        ADD_FAILURE() << "cannot open " << path;
        return lines;
    }
    std::u16string line;
    while (file.ReadString(line))
        lines.push_back(line);
    EXPECT_TRUE(line.empty());
    EXPECT_FALSE(file.ReadString(line)) << "end of file is sticky";
    return lines;
}

bool WriteText(const std::string& path, std::u16string_view text)
{
    CStdioFileEx file;
    if (!file.Open(U16(path), CStdioFileEx::Mode::Write))
        return false;
    file.WriteString(text);
    return file.Close();
}

} // namespace

TEST(StdioFileEx, WritesMarkOnceThenCodeUnitsUnchanged)
{
    TempFolder dir;
    CStdioFileEx file;
    ASSERT_TRUE(file.Open(U16(dir / "a.txt"), CStdioFileEx::Mode::Write));
    EXPECT_TRUE(file.WriteString(u"A=\u00E9\n"));
    EXPECT_TRUE(file.WriteString(u"\U0001F600\r\n"));
    ASSERT_TRUE(file.Close());
    EXPECT_EQ(ReadBytes(dir / "a.txt"),
              (Bytes{0xFF, 0xFE, 'A', 0, '=', 0, 0xE9, 0, '\n', 0,
                     0x3D, 0xD8, 0x00, 0xDE, '\r', 0, '\n', 0}));
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"a.txt"}) << "no temporary file left";
}

TEST(StdioFileEx, ReadsLinesByTheLineRules)
{
    const std::u16string long300(300, u'x');
    struct Case {
        const char* name;
        Bytes bytes;
        std::vector<std::u16string> lines;
    } cases[] = {
        {"plain", Utf16Bytes(u"[Setting]\nA=1\n"), {u"[Setting]", u"A=1"}},
        {"no final LF", Utf16Bytes(u"a\nbc"), {u"a", u"bc"}},
        {"lone LF line", Utf16Bytes(u"a\n\nb\n"), {u"a", u"\n", u"b"}},
        {"file of one LF", Utf16Bytes(u"\n"), {u"\n"}},
        {"CR stays", Utf16Bytes(u"a\r\nb\r\n"), {u"a\r", u"b\r"}},
        {"mark not examined", Utf16Bytes(u"\uFEFF[Setting]\n", false), {u"[Setting]"}},
        {"missing mark loses first character", Utf16Bytes(u"[Setting]\nA=1\n", false),
         {u"Setting]", u"A=1"}},
        {"odd trailing byte ignored", [] { auto b = Utf16Bytes(u"ab\ncd"); b.push_back('e'); return b; }(),
         {u"ab", u"cd"}},
        {"mark only", Utf16Bytes(u""), {}},
        {"empty file", Bytes{}, {}},
        {"one byte", Bytes{0xFF}, {}},
        {"embedded NUL kept", Utf16Bytes(std::u16string(u"a\0b\n", 4)), {std::u16string(u"a\0b", 3)}},
        {"long lines", Utf16Bytes(std::u16string(127, u'a') + u"\n" + std::u16string(128, u'b') + u"\n"
                                  + std::u16string(129, u'c') + u"\n" + long300),
         {std::u16string(127, u'a'), std::u16string(128, u'b'), std::u16string(129, u'c'), long300}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder dir;
        WriteBytes(dir / "f.txt", c.bytes);
        EXPECT_EQ(ReadAllLines(dir / "f.txt"), c.lines);
    }
}

TEST(StdioFileEx, LargeFileRoundTripsAcrossBufferBoundaries)
{
    // Line lengths vary so that line ends fall on every position relative to the read buffer.
    TempFolder dir;
    std::vector<std::u16string> lines;
    std::u16string text;
    std::size_t total = 0;
    for (int i = 0; total < 5'000'000; ++i) {
        std::u16string line(static_cast<std::size_t>(1 + (i * 37) % 700), static_cast<char16_t>(u'A' + i % 26));
        line[0] = static_cast<char16_t>(0x4E00 + i % 1000); // a non-ASCII unit on each line
        text += line;
        text += u'\n';
        total += line.size() + 1;
        lines.push_back(std::move(line));
    }
    ASSERT_TRUE(WriteText(dir / "big.txt", text));
    EXPECT_EQ(ReadBytes(dir / "big.txt").size(), 2 + 2 * text.size());
    EXPECT_EQ(ReadAllLines(dir / "big.txt"), lines);
}

TEST(StdioFileEx, OpenForReadNeedsAWritableRegularFile)
{
    TempFolder dir;
    CStdioFileEx file;
    EXPECT_FALSE(file.Open(U16(dir / "missing.txt"), CStdioFileEx::Mode::Read));
    EXPECT_FALSE(file.Open(U16(dir.Path()), CStdioFileEx::Mode::Read)) << "a folder";
    EXPECT_FALSE(file.Open(u"", CStdioFileEx::Mode::Read));

    WriteBytes(dir / "ro.txt", Utf16Bytes(u"x\n"));
    ASSERT_EQ(::chmod((dir / "ro.txt").c_str(), 0444), 0);
    EXPECT_FALSE(file.Open(U16(dir / "ro.txt"), CStdioFileEx::Mode::Read)) << "read-only counts as missing";
    ASSERT_EQ(::chmod((dir / "ro.txt").c_str(), 0644), 0);
    EXPECT_TRUE(file.Open(U16(dir / "ro.txt"), CStdioFileEx::Mode::Read));
}

TEST(StdioFileEx, ReadOnlyTargetIsNotWritten)
{
    TempFolder dir;
    const Bytes old = Utf16Bytes(u"old\n");
    WriteBytes(dir / "ro.txt", old);
    ASSERT_EQ(::chmod((dir / "ro.txt").c_str(), 0444), 0);
    CStdioFileEx file;
    EXPECT_FALSE(file.Open(U16(dir / "ro.txt"), CStdioFileEx::Mode::Write));
    EXPECT_FALSE(file.WriteString(u"new\n"));
    EXPECT_EQ(ReadBytes(dir / "ro.txt"), old);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"ro.txt"});

    EXPECT_FALSE(file.Open(U16(dir / "no-such-folder/x.txt"), CStdioFileEx::Mode::Write));
    EXPECT_FALSE(file.Open(U16(dir.Path()), CStdioFileEx::Mode::Write)) << "a folder";
}

TEST(StdioFileEx, TargetKeepsOldContentUntilCloseCommits)
{
    TempFolder dir;
    const std::string path = dir / "t.txt";
    const Bytes old = Utf16Bytes(u"old content\n");
    WriteBytes(path, old);
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);

    {   // Interrupted before Close: the target is never truncated.
        CStdioFileEx file;
        ASSERT_TRUE(file.Open(U16(path), CStdioFileEx::Mode::Write));
        file.WriteString(std::u16string(100'000, u'n'));
        EXPECT_EQ(ReadBytes(path), old);
        file.Abort();
    }
    EXPECT_EQ(ReadBytes(path), old);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"t.txt"});

    // An exception unwinding through the writer discards the half-written file.
    try {
        CStdioFileEx file;
        ASSERT_TRUE(file.Open(U16(path), CStdioFileEx::Mode::Write));
        file.WriteString(u"half");
        throw std::runtime_error("interrupted");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(ReadBytes(path), old);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"t.txt"});

    {   // Going out of scope normally commits like Close.
        CStdioFileEx file;
        ASSERT_TRUE(file.Open(U16(path), CStdioFileEx::Mode::Write));
        file.WriteString(u"new\n");
    }
    EXPECT_EQ(ReadBytes(path), Utf16Bytes(u"new\n"));
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u) << "permissions of the replaced file are kept";
}

TEST(StdioFileEx, FailedWriteDoesNotReplaceTarget)
{
    // A file size limit makes write() fail part-way, as a full disk would.
    TempFolder dir;
    const std::string path = dir / "t.txt";
    const Bytes old = Utf16Bytes(u"old content\n");
    WriteBytes(path, old);

    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto savedSignal = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limited = saved;
    limited.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);

    // Nothing may print while the limit holds: test output may go to a file as well.
    CStdioFileEx file;
    const bool opened = file.Open(U16(path), CStdioFileEx::Mode::Write);
    bool closed = false;
    if (opened) {
        file.WriteString(std::u16string(200'000, u'n'));
        closed = file.Close();
    }
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, savedSignal);

    ASSERT_TRUE(opened);
    EXPECT_FALSE(closed) << "the failure is reported";
    EXPECT_EQ(ReadBytes(path), old);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"t.txt"}) << "temporary file removed";
}

TEST(StdioFileEx, WritingThroughALinkReplacesTheLinkedFile)
{
    TempFolder dir;
    ::mkdir((dir / "real").c_str(), 0755);
    WriteBytes(dir / "real/t.txt", Utf16Bytes(u"old\n"));
    ASSERT_EQ(::symlink("real/t.txt", (dir / "link.txt").c_str()), 0);

    ASSERT_TRUE(WriteText(dir / "link.txt", u"new\n"));
    struct stat st {};
    ASSERT_EQ(::lstat((dir / "link.txt").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(ReadBytes(dir / "real/t.txt"), Utf16Bytes(u"new\n"));
    EXPECT_EQ(dir.Entries("real"), std::vector<std::string>{"t.txt"});
}

TEST(StdioFileEx, PathIsMissingOnlyWhenNothingIsThere)
{
    TempFolder dir;
    EXPECT_TRUE(PathIsMissing(U16(dir / "none")));
    EXPECT_TRUE(PathIsMissing(U16(dir / "none/deeper")));
    WriteBytes(dir / "empty", {});
    EXPECT_FALSE(PathIsMissing(U16(dir / "empty")));
    ASSERT_EQ(::symlink("none", (dir / "dangling").c_str()), 0);
    EXPECT_FALSE(PathIsMissing(U16(dir / "dangling")));
}
