// The text conversions between UTF-16, UTF-8 and the ANSI code page, byte for byte (under Wine).
#include "services/TextHelpers.h"
#include "tests/services/AnsiCodePage.h"

#include <gtest/gtest.h>

#include <string>

namespace vendrak {
namespace {

using namespace std::string_literals;

TEST(Utf8AndWide, ConvertTheWholeViewBothWays) {
    struct Case {
        const char* name;
        std::string utf8;
        std::wstring wide;
    } cases[] = {
        {"empty", "", L""},
        {"Gruesse", "\x47\x72\xC3\xBC\xC3\x9F\x65", L"Gr\u00FC\u00DFe"},
        {"supplementary plane", "\xF0\x9F\x98\x80", L"\xD83D\xDE00"},
        {"zeros inside are kept", "a\0b"s, L"a\0b"s},
        {"path with spaces", "C:\\Vendrak T\xC3\xA9st\\web", L"C:\\Vendrak T\u00E9st\\web"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Utf8ToWide(c.utf8), c.wide);
        EXPECT_EQ(WideToUtf8(c.wide), c.utf8);
    }
}

TEST(Utf8AndWide, BadInputBecomesReplacementCharacters) {
    EXPECT_EQ(Utf8ToWide("a\xFFz"), L"a\uFFFDz");
    EXPECT_EQ(Utf8ToWide("\xC3"), L"\uFFFD");
    EXPECT_EQ(WideToUtf8(L"a\xD800z"), "a\xEF\xBF\xBDz");
    EXPECT_EQ(WideToUtf8(L"\xDC00"), "\xEF\xBF\xBD");
}

TEST_F(AnsiCodePage, Utf8ToAnsiBytes) {
    struct Case {
        const char* name;
        std::string input;
        std::string want;
    } cases[] = {
        {"e acute", "\xC3\xA9", "\xE9"},
        {"Gruesse",
         "Gr\xC3\xBC\xC3\x9F"
         "e",
         "Gr\xFC\xDF"
         "e"},
        {"euro sign", "\xE2\x82\xAC", "\x80"},
        {"empty", "", ""},
        {"ASCII unchanged", "a/b c\t\r\n", "a/b c\t\r\n"},
        {"zero ends the text", "ab\0\xC3\xA9"s, "ab"},
        {"stray continuation byte", "a\x80z", "a?z"},
        {"byte FF", "\xFF", "?"},
        {"cut sequence at the end", "a\xC3", "a?"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Utf8ToAnsi(c.input), c.want);
    }
}

TEST_F(AnsiCodePage, CharactersOutsideTheCodePageBecomeOneByte) {
    // U+0101 (a macron, best fit to a), U+4E2D (no best fit: the default character), U+0416.
    for (const char* character : {"\xC4\x81", "\xE4\xB8\xAD", "\xD0\x96"}) {
        SCOPED_TRACE(character);
        const std::string got = Utf8ToAnsi("x"s + character + "y");
        ASSERT_EQ(got.size(), 3u);
        EXPECT_EQ(got.front(), 'x');
        EXPECT_EQ(got.back(), 'y');
        EXPECT_NE(got[1], '\0');
    }
}

TEST_F(AnsiCodePage, InvalidFormsBecomeReplacementsNeverTheirMeaning) {
    // Overlong forms of "/" and "\\", an encoded surrogate, five-byte and beyond-U+10FFFF forms: each
    // becomes one or more U+FFFD, which Windows-1252 writes as "?". An overlong slash that came through as
    // "/" would sneak a path separator past a check made on the UTF-8 text.
    for (const std::string& input : {"\xC0\xAF"s, "\xE0\x80\xAF"s, "\xC1\x9C"s, "\xED\xA0\x80"s,
                                     "\xF8\x88\x80\x80\x80"s, "\xF4\x90\x80\x80"s}) {
        SCOPED_TRACE(::testing::PrintToString(input));
        const std::string got = Utf8ToAnsi(input);
        EXPECT_FALSE(got.empty());
        EXPECT_EQ(got.find_first_not_of('?'), std::string::npos) << got;
    }
}

TEST_F(AnsiCodePage, SixteenMegabyteUtf8Text) {
    std::string text;
    for (size_t i = 0; i < (8u << 20); ++i)
        text += "\xC3\xA9";
    const std::string got = Utf8ToAnsi(text);
    ASSERT_EQ(got.size(), 8u << 20);
    EXPECT_EQ(got.find_first_not_of('\xE9'), std::string::npos);
}

} // namespace
} // namespace vendrak
