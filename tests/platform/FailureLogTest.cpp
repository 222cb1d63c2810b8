// The failure log file: its line form, its size cap, concurrent writers, and a missing folder.
#include "platform/FailureLog.h"
#include "tests/services/ScratchFolder.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <thread>
#include <vector>

namespace vendrak {
namespace {

using testing::ReadBytes;

class FailureLogTest : public ::testing::Test {
protected:
    // The log's folder lies inside the scratch folder and does not exist until a test makes it.
    void SetUp() override { SetFailureLogFolder(SettingsFolder()); }
    void TearDown() override { SetFailureLogFolder(L""); }
    std::wstring SettingsFolder() const { return scratch_ / L"settings"; }
    std::wstring LogFile() const { return SettingsFolder() + L"\\vendrak.log"; }

private:
    testing::ScratchFolder scratch_;
};

TEST_F(FailureLogTest, NothingIsWrittenWithoutTheSettingsFolder) {
    VENDRAK_LOG_FAILURE("HostObjectNodeJsImpl", E_FAIL, "no folder yet");
    EXPECT_EQ(GetFileAttributesW(SettingsFolder().c_str()), INVALID_FILE_ATTRIBUTES) << "never created";
    // Nor into a folder that exists while the shell has named none.
    CreateDirectoryW(SettingsFolder().c_str(), nullptr);
    SetFailureLogFolder(L"");
    VENDRAK_LOG_FAILURE("HostObjectNodeJsImpl", E_FAIL, "no folder named");
    EXPECT_EQ(GetFileAttributesW(LogFile().c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(FailureLogTest, LinesCarrySourceLineTextAndCode) {
    CreateDirectoryW(SettingsFolder().c_str(), nullptr);
    struct Case {
        const char* source;
        int line;
        long code;
        std::string what;
        std::string want;
    };
    const Case cases[] = {
        {"HostObjectNodeJsImpl", 42, static_cast<long>(0x80004005), "Invoke failed",
         "HostObjectNodeJsImpl(42): Invoke failed (0x80004005)\r\n"},
        {"UiThread", 7, 0, "", "UiThread(7):  (0x00000000)\r\n"},
        {nullptr, 1, 1, "no source", "?(1): no source (0x00000001)\r\n"},
        {"Long", 3, 2, std::string(1000, 'w'), "Long(3): " + std::string(400, 'w') + " (0x00000002)\r\n"},
        // A zero inside the text ends it there: the line is cut, never over-read.
        {"Zero", 4, 3, std::string("a\0b", 3), "Zero(4): a (0x00000003)\r\n"},
    };
    std::string want;
    for (const Case& c : cases) {
        LogFailure(c.source, c.line, c.code, c.what);
        want += c.want;
    }
    EXPECT_EQ(ReadBytes(LogFile()), want);
}

TEST_F(FailureLogTest, FileNeverPassesItsCap) {
    CreateDirectoryW(SettingsFolder().c_str(), nullptr);
    const std::string what(300, 'x');
    for (int i = 0; i < 1000; ++i) {
        LogFailure("Cap", i, 0, what);
        ASSERT_LE(ReadBytes(LogFile()).size(), kFailureLogCap) << i;
    }
    const std::string got = ReadBytes(LogFile());
    EXPECT_NE(got.find("Cap(999): "), std::string::npos) << "the newest failure is kept";
}

TEST_F(FailureLogTest, ConcurrentWritersKeepWholeLines) {
    CreateDirectoryW(SettingsFolder().c_str(), nullptr);
    std::vector<std::thread> writers;
    for (int t = 0; t < 8; ++t) {
        writers.emplace_back([t] {
            for (int i = 0; i < 50; ++i)
                LogFailure("Writer", 1000 + t * 100 + i, t, std::string(60, static_cast<char>('a' + t)));
        });
    }
    for (std::thread& writer : writers)
        writer.join();
    const std::string content = ReadBytes(LogFile());
    const std::regex form(R"(Writer\(1(\d)(\d\d)\): ([a-h])\3{59} \(0x0000000\1\)\r)");
    int count = 0;
    for (size_t start = 0, end = 0; start < content.size(); start = end + 1) {
        end = content.find('\n', start);
        if (end == std::string::npos)
            end = content.size();
        const std::string line = content.substr(start, end - start);
        SCOPED_TRACE(line);
        EXPECT_TRUE(std::regex_match(line, form));
        ++count;
    }
    EXPECT_EQ(count, 400);
}

} // namespace
} // namespace vendrak
