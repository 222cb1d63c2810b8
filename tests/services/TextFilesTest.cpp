// Reading and writing the page's text files by the paths the page hands back (under Wine).
#include "services/TextHelpers.h"

#include "tests/services/ScratchFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace vendrak {
namespace {

using namespace std::string_literals;
using testing::ReadBytes;
using testing::ScratchFolder;
using testing::Utf8;
using testing::WriteBytes;

// Wine chooses the ANSI code page from the Unix locale; tools/wine-run fixes LANG=en_US.UTF-8, which
// Wine maps to Windows-1252, so the lines read back are Windows-1252 bytes.
class TextFiles : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(GetACP(), 1252u) << "run through tools/wine-run (LANG=en_US.UTF-8)"; }

    // The page's form of a path to a file in the scratch folder: "/" followed by the full path.
    std::string PagePath(const std::wstring& name) const { return "/" + Utf8(folder_ / name); }

    ScratchFolder folder_;
};

TEST_F(TextFiles, ReadGivesLinesInTheCodePageEachEndedByALineFeed) {
    const std::string longLine(64 * 1024 - 1, 'x'); // its CR ends one 64 KiB piece, its LF starts the next
    struct Case {
        const char* name;
        std::string bytes;
        std::string want;
    } cases[] = {
        {"CR LF lines", "a\r\nb\r\n", "a\nb\n"},
        {"no final line feed", "a\nb", "a\nb\n"},
        {"empty file", "", ""},
        {"single line feed", "\n", "\n"},
        {"blank lines kept", "\r\n\r\nz", "\n\nz\n"},
        {"UTF-8 lines",
         "Gr\xC3\xBC\xC3\x9F"
         "e\r\n\xC3\xA9",
         "Gr\xFC\xDF"
         "e\n\xE9\n"},
        {"invalid UTF-8", "\xFFok\n", "?ok\n"},
        {"zero byte ends its line only", "ab\0cd\nx"s, "ab\nx\n"},
        {"lone CR kept", "a\rb", "a\rb\n"},
        {"CR LF split across pieces", longLine + "\r\nz", longLine + "\nz\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(WriteBytes(folder_ / L"in.txt", c.bytes));
        EXPECT_EQ(ReadTextFile(PagePath(L"in.txt")), c.want);
    }
}

TEST_F(TextFiles, WriteTurnsEachLineFeedIntoCarriageReturnLineFeed) {
    struct Case {
        const char* name;
        std::string content;
        std::string want;
    } cases[] = {
        {"a LF b", "a\nb", "\x61\x0D\x0A\x62"},
        {"empty content gives an empty file", "", ""},
        {"existing CR gains another", "a\r\n", "a\r\r\n"},
        {"UTF-8 bytes unchanged, no byte order mark",
         "Gr\xC3\xBC\xC3\x9F"
         "e\n",
         "Gr\xC3\xBC\xC3\x9F"
         "e\r\n"},
        {"zero bytes written too", "a\0b"s, "a\0b"s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteTextFile(PagePath(L"out.txt"), c.content);
        EXPECT_EQ(ReadBytes(folder_ / L"out.txt"), c.want);
    }
}

TEST_F(TextFiles, WriteTruncatesALongerFile) {
    ASSERT_TRUE(WriteBytes(folder_ / L"out.txt", std::string(100000, 'o')));
    WriteTextFile(PagePath(L"out.txt"), "new\n");
    EXPECT_EQ(ReadBytes(folder_ / L"out.txt"), "new\r\n");
}

TEST_F(TextFiles, WrittenTextReadsBack) {
    WriteTextFile(PagePath(L"both.txt"), "Gr\xC3\xBC\xC3\x9F"
                                         "e\nzwei\n\ndrei");
    EXPECT_EQ(ReadTextFile(PagePath(L"both.txt")), "Gr\xFC\xDF"
                                                   "e\nzwei\n\ndrei\n");
}

TEST_F(TextFiles, PathFormsTheFileIsNamedBy) {
    ASSERT_TRUE(WriteBytes(folder_ / L"p.txt", "p"));
    // Dialog form and plain form name the same file.
    EXPECT_EQ(ReadTextFile(PagePath(L"p.txt")), "p\n");
    EXPECT_EQ(ReadTextFile(Utf8(folder_ / L"p.txt")), "p\n");
    // Names outside the ANSI code page reach the right file.
    const std::wstring wideName = L"\u00E9\u4E2D\u0416.txt";
    WriteTextFile(PagePath(wideName), "wide");
    EXPECT_EQ(ReadBytes(folder_ / wideName), "wide");
    EXPECT_EQ(ReadTextFile(PagePath(wideName)), "wide\n");
}

TEST_F(TextFiles, DriveThenSlashNamesAFileRelativeToTheCurrentFolder) {
    wchar_t saved[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, saved);
    ASSERT_TRUE(SetCurrentDirectoryW(folder_.Path().c_str()));
    ASSERT_TRUE(CreateDirectoryW((folder_ / L"x").c_str(), nullptr));
    WriteTextFile("C:/x/a.txt", "rel\n");
    const std::string read = ReadTextFile("C:/x/a.txt");
    // A cut path beginning with ".m" is read like any other: its lines go through the code page too.
    ASSERT_TRUE(WriteBytes(folder_ / L".m.txt", "\xC3\xA9"));
    const std::string dotM = ReadTextFile("/.m.txt");
    SetCurrentDirectoryW(saved);
    EXPECT_EQ(ReadBytes(folder_ / L"x\\a.txt"), "rel\r\n");
    EXPECT_EQ(read, "rel\n");
    EXPECT_EQ(dotM, "\xE9\n");
}

TEST_F(TextFiles, WriteThatCannotOpenLeavesEverythingAsItWas) {
    ASSERT_TRUE(CreateDirectoryW((folder_ / L"sub").c_str(), nullptr));
    ASSERT_TRUE(WriteBytes(folder_ / L"locked.txt", "old"));
    ASSERT_TRUE(SetFileAttributesW((folder_ / L"locked.txt").c_str(), FILE_ATTRIBUTE_READONLY));

    WriteTextFile(PagePath(L"missing\\a.txt"), "new");
    EXPECT_EQ(GetFileAttributesW((folder_ / L"missing").c_str()), INVALID_FILE_ATTRIBUTES);
    WriteTextFile(PagePath(L"sub"), "new");
    EXPECT_NE(GetFileAttributesW((folder_ / L"sub").c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
    WriteTextFile(PagePath(L"locked.txt"), "new");
    EXPECT_EQ(ReadBytes(folder_ / L"locked.txt"), "old");
    // An empty path and bare slashes name nothing.
    for (const char* path : {"", "/", "a/"})
        WriteTextFile(path, "new");
}

TEST_F(TextFiles, WriteKeepsAHiddenFileWritable) {
    ASSERT_TRUE(WriteBytes(folder_ / L"hidden.txt", "old"));
    SetFileAttributesW((folder_ / L"hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    WriteTextFile(PagePath(L"hidden.txt"), "new");
    EXPECT_EQ(ReadBytes(folder_ / L"hidden.txt"), "new");
}

TEST_F(TextFiles, ReadThatCannotOpenGivesEmptyText) {
    ASSERT_TRUE(CreateDirectoryW((folder_ / L"sub").c_str(), nullptr));
    ASSERT_TRUE(WriteBytes(folder_ / L"busy.txt", "secret"));
    // Held open without sharing: the file cannot be read, as one without read permission.
    HANDLE busy = CreateFileW((folder_ / L"busy.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(busy, INVALID_HANDLE_VALUE);
    struct Case {
        const char* name;
        std::string path;
    } cases[] = {
        {"missing file", PagePath(L"none.txt")},
        {"folder", PagePath(L"sub")},
        {"file held without sharing", PagePath(L"busy.txt")},
        {"empty path", ""},
        {"slash only", "/"},
        {"device NUL", "NUL"},
        {"console device", "/CON"},
        {"zero right after the slash", "/\0tail"s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ReadTextFile(c.path), "");
    }
    CloseHandle(busy);
}

TEST_F(TextFiles, SixteenMegabyteFileReadsWhole) {
    std::string line(99, 'l');
    std::string bytes;
    for (int i = 0; i < (16 << 20) / 101; ++i)
        bytes += line + "\r\n";
    ASSERT_TRUE(WriteBytes(folder_ / L"big.txt", bytes));
    const std::string text = ReadTextFile(PagePath(L"big.txt"));
    EXPECT_EQ(text.size(), bytes.size() / 101 * 100);
    EXPECT_EQ(text.substr(text.size() - 101), "\n" + line + "\n");
}

} // namespace
} // namespace vendrak
