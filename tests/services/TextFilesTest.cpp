// Reading and writing the page's text files by the paths the page hands back (under Wine).
#include "platform/FailureLog.h"
#include "services/FileReplace.h"
#include "services/TextHelpers.h"

#include "tests/services/ScratchFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace vendrak {
namespace {

using namespace std::string_literals;
using testing::ReadBytes;
using testing::ScratchFolder;
using testing::Utf8;
using testing::WriteBytes;

// Wine chooses the ANSI code page from the Unix locale; tools/wine-run fixes LANG=en_US.UTF-8, which
// Wine maps to Windows-1252, so a file that is not UTF-8 reads as Windows-1252.
class TextFiles : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(GetACP(), 1252u) << "run through tools/wine-run (LANG=en_US.UTF-8)"; }

    // The page's form of a path to a file in the scratch folder: "/" followed by the full path.
    std::string PagePath(const std::wstring& name) const { return "/" + Utf8(folder_ / name); }

    // The names in the scratch folder, sorted: what a write left behind.
    std::vector<std::wstring> FolderEntries() const {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW found{};
        HANDLE search = FindFirstFileW((folder_ / L"*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            return names;
        do {
            if (std::wstring_view(found.cFileName) != L"." && std::wstring_view(found.cFileName) != L"..")
                names.emplace_back(found.cFileName);
        } while (FindNextFileW(search, &found));
        FindClose(search);
        std::sort(names.begin(), names.end());
        return names;
    }

    ScratchFolder folder_;
};

constexpr char kMixedScripts[] = "\xD0\x9F\xD0\xB5\xD1\x80\xD0\xB2\xD1\x8B\xD0\xB9 \xCE\x95\xCE\xBB\xCE\xBB "
                                 "\xE4\xB8\xAD\xE6\x96\x87\xE5\x8F\xB0 \xF0\x9F\x93\xBA";
constexpr wchar_t kMixedScriptsWide[] = L"\u041F\u0435\u0440\u0432\u044B\u0439 \u0395\u03BB\u03BB "
                                        L"\u4E2D\u6587\u53F0 \U0001F4FA";

TEST_F(TextFiles, ReadGivesUtf8OrCodePageLinesEachEndedByALineFeed) {
    const std::string longLine(64 * 1024 - 1, 'x'); // its CR ends one 64 KiB piece, its LF starts the next
    const std::wstring longWide(longLine.begin(), longLine.end());
    struct Case {
        const char* name;
        std::string bytes;
        std::wstring want;
    } cases[] = {
        {"CR LF lines", "a\r\nb\r\n", L"a\nb\n"},
        {"no final line feed", "a\nb", L"a\nb\n"},
        {"empty file", "", L""},
        {"single line feed", "\n", L"\n"},
        {"blank lines kept", "\r\n\r\nz", L"\n\nz\n"},
        {"UTF-8 lines",
         "Gr\xC3\xBC\xC3\x9F"
         "e\r\n\xC3\xA9",
         L"Gr\u00FC\u00DFe\n\u00E9\n"},
        {"scripts outside the code page", kMixedScripts + "\r\n"s, kMixedScriptsWide + L"\n"s},
        {"byte order mark dropped", "\xEF\xBB\xBF"s + kMixedScripts, kMixedScriptsWide + L"\n"s},
        {"not UTF-8: the code page", "caf\xE9 \x80\r\n\x93x\x94", L"caf\u00E9 \u20AC\n\u201Cx\u201D\n"},
        {"one bad byte makes it all the code page", "\xC3\xA9\n\xFFok", L"\u00C3\u00A9\n\u00FFok\n"},
        {"a byte order mark in a code-page file is text", "\xEF\xBB\xBF\xE9", L"\u00EF\u00BB\u00BF\u00E9\n"},
        {"zero byte ends its line only", "ab\0cd\nx"s, L"ab\nx\n"},
        {"lone CR kept", "a\rb", L"a\rb\n"},
        {"CR LF split across pieces", longLine + "\r\nz", longWide + L"\nz\n"},
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

// What the page writes it reads back, whatever the script; only a final line feed is added.
TEST_F(TextFiles, WrittenTextReadsBack) {
    const std::wstring texts[] = {
        L"Gr\u00FC\u00DFe\nzwei\n\ndrei",
        kMixedScriptsWide,
        L"a\r\n\U0010FFFF\r\rb\n",
    };
    for (const std::wstring& text : texts) {
        WriteTextFile(PagePath(L"both.txt"), WideToUtf8(text));
        EXPECT_EQ(ReadTextFile(PagePath(L"both.txt")), text.ends_with(L'\n') ? text : text + L"\n");
    }
}

TEST_F(TextFiles, PathFormsTheFileIsNamedBy) {
    ASSERT_TRUE(WriteBytes(folder_ / L"p.txt", "p"));
    // Dialog form and plain form name the same file.
    EXPECT_EQ(ReadTextFile(PagePath(L"p.txt")), L"p\n");
    EXPECT_EQ(ReadTextFile(Utf8(folder_ / L"p.txt")), L"p\n");
    // Names outside the ANSI code page reach the right file.
    const std::wstring wideName = L"\u00E9\u4E2D\u0416.txt";
    WriteTextFile(PagePath(wideName), "wide");
    EXPECT_EQ(ReadBytes(folder_ / wideName), "wide");
    EXPECT_EQ(ReadTextFile(PagePath(wideName)), L"wide\n");
}

TEST_F(TextFiles, DriveThenSlashNamesAFileRelativeToTheCurrentFolder) {
    wchar_t saved[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, saved);
    ASSERT_TRUE(SetCurrentDirectoryW(folder_.Path().c_str()));
    ASSERT_TRUE(CreateDirectoryW((folder_ / L"x").c_str(), nullptr));
    WriteTextFile("C:/x/a.txt", "rel\n");
    const std::wstring read = ReadTextFile("C:/x/a.txt");
    // A cut path beginning with ".m" is read like any other.
    ASSERT_TRUE(WriteBytes(folder_ / L".m.txt", "\xC3\xA9"));
    const std::wstring dotM = ReadTextFile("/.m.txt");
    SetCurrentDirectoryW(saved);
    EXPECT_EQ(ReadBytes(folder_ / L"x\\a.txt"), "rel\r\n");
    EXPECT_EQ(read, L"rel\n");
    EXPECT_EQ(dotM, L"\u00E9\n");
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
    // An empty path and bare slashes name nothing; a device is never written.
    for (const char* path : {"", "/", "a/", "NUL", "/CON"})
        WriteTextFile(path, "new");
    EXPECT_EQ(FolderEntries(), (std::vector<std::wstring>{L"locked.txt", L"sub"}));
}

// A write that fails halfway (a full disk, a pulled stick: here the second piece) keeps the old file
// byte for byte, leaves no temporary file and says so once in the failure log.
int writes = 0;
BOOL WINAPI SecondWriteFails(HANDLE file, LPCVOID bytes, DWORD size, LPDWORD written, LPOVERLAPPED) {
    return ++writes < 2 && WriteFile(file, bytes, size, written, nullptr);
}

TEST_F(TextFiles, FailedReplacementKeepsTheOldFile) {
    const std::wstring logFolder = folder_ / L"log";
    ASSERT_TRUE(CreateDirectoryW(logFolder.c_str(), nullptr));
    SetFailureLogFolder(logFolder);
    const std::string old = "old\r\n" + std::string(1000, 'o');
    ASSERT_TRUE(WriteBytes(folder_ / L"list.txt", old));
    EXPECT_FALSE(ReplaceFileContent(folder_ / L"list.txt", std::string(200000, 'n'), SecondWriteFails));
    SetFailureLogFolder(L"");
    EXPECT_EQ(ReadBytes(folder_ / L"list.txt"), old);
    EXPECT_EQ(FolderEntries(), (std::vector<std::wstring>{L"list.txt", L"log"}));
    const std::string log = ReadBytes(logFolder + L"\\vendrak.log");
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
    EXPECT_NE(log.find(Utf8(folder_ / L"list.txt")), std::string::npos) << log;
}

TEST_F(TextFiles, WriteKeepsAHiddenFileWritableAndHidden) {
    ASSERT_TRUE(WriteBytes(folder_ / L"hidden.txt", "old"));
    SetFileAttributesW((folder_ / L"hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    WriteTextFile(PagePath(L"hidden.txt"), "new");
    EXPECT_EQ(ReadBytes(folder_ / L"hidden.txt"), "new");
    EXPECT_NE(GetFileAttributesW((folder_ / L"hidden.txt").c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_EQ(FolderEntries(), std::vector<std::wstring>{L"hidden.txt"});
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
        EXPECT_EQ(ReadTextFile(c.path), L"");
    }
    CloseHandle(busy);
}

TEST_F(TextFiles, SixteenMegabyteFileReadsWhole) {
    std::string line(99, 'l');
    std::string bytes;
    for (int i = 0; i < (16 << 20) / 101; ++i)
        bytes += line + "\r\n";
    ASSERT_TRUE(WriteBytes(folder_ / L"big.txt", bytes));
    const std::wstring text = ReadTextFile(PagePath(L"big.txt"));
    EXPECT_EQ(text.size(), bytes.size() / 101 * 100);
    EXPECT_EQ(text.substr(text.size() - 101), L"\n" + std::wstring(line.begin(), line.end()) + L"\n");
}

} // namespace
} // namespace vendrak
