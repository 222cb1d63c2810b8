// The line-feed handling of text files: splitting as a text-mode read does, CR LF on write.
#include "services/TextLines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vendrak {
namespace {

// Feeds the bytes in pieces of the given size and gathers the lines.
std::vector<std::string> Split(std::string_view bytes, size_t pieceSize) {
    std::vector<std::string> lines;
    const LineSink sink = [&lines](const std::string& line) { lines.push_back(line); };
    TextLineSplitter splitter;
    for (size_t at = 0; at < bytes.size(); at += pieceSize)
        splitter.Feed(bytes.substr(at, pieceSize), sink);
    splitter.Finish(sink);
    return lines;
}

TEST(TextLineSplitter, LinesAsATextModeReadSeesThem) {
    using Lines = std::vector<std::string>;
    struct Case {
        const char* name;
        std::string_view bytes;
        Lines want;
    } cases[] = {
        {"empty file", "", {}},
        {"one line feed", "\n", {""}},
        {"no final line feed", "a\nb", {"a", "b"}},
        {"final line feed", "a\nb\n", {"a", "b"}},
        {"CR LF", "a\r\nb\r\n", {"a", "b"}},
        {"CR LF without final", "a\r\nb", {"a", "b"}},
        {"lone CR kept", "a\rb\n", {"a\rb"}},
        {"CR at the end kept", "a\r", {"a\r"}},
        {"CR CR LF drops one", "a\r\r\nb", {"a\r", "b"}},
        {"empty lines", "\n\n\r\n", {"", "", ""}},
        {"zero bytes pass through", std::string_view("a\0b\n", 4), {std::string("a\0b", 3)}},
        {"UTF-8 bytes untouched",
         "Gr\xC3\xBC\xC3\x9F"
         "e\r\n",
         {"Gr\xC3\xBC\xC3\x9F"
          "e"}},
        {"LF CR is not a pair", "a\n\rb", {"a", "\rb"}},
    };
    for (const Case& c : cases) {
        // Every piece size, so CR and LF land in different pieces as well.
        for (size_t pieceSize : {1u, 2u, 3u, 64u}) {
            SCOPED_TRACE(std::string(c.name) + ", pieces of " + std::to_string(pieceSize));
            EXPECT_EQ(Split(c.bytes, pieceSize), c.want);
        }
    }
}

TEST(TextLineSplitter, LongLineAcrossManyPieces) {
    const std::string line(1 << 20, 'x');
    const auto lines = Split(line + "\r\n" + line, 4096);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], line);
    EXPECT_EQ(lines[1], line);
}

TEST(TextLineSplitter, FinishTwiceGivesTheLastLineOnce) {
    std::vector<std::string> lines;
    const LineSink sink = [&lines](const std::string& line) { lines.push_back(line); };
    TextLineSplitter splitter;
    splitter.Feed("a\nb", sink);
    splitter.Finish(sink);
    splitter.Finish(sink);
    EXPECT_EQ(lines, (std::vector<std::string>{"a", "b"}));
}

TEST(ToCrLf, EveryLineFeedBecomesCarriageReturnLineFeed) {
    struct Case {
        const char* name;
        std::string_view text;
        std::string_view want;
    } cases[] = {
        {"a LF b", "a\nb", "a\r\nb"},
        {"empty", "", ""},
        {"only LF", "\n", "\r\n"},
        {"existing CR LF gains a CR", "a\r\n", "a\r\r\n"},
        {"lone CR kept", "a\rb", "a\rb"},
        {"zero bytes kept", std::string_view("a\0\n", 3), std::string_view("a\0\r\n", 4)},
        {"UTF-8 untouched", "\xC3\xA9\n", "\xC3\xA9\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ToCrLf(c.text), c.want);
    }
}

TEST(ToCrLf, WrittenTextReadsBackAsItsLines) {
    const std::string text = "one\ntwo\r\n\nthree";
    EXPECT_EQ(Split(ToCrLf(text), 5), (std::vector<std::string>{"one", "two\r", "", "three"}));
}

} // namespace
} // namespace vendrak
