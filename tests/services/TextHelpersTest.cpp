// The text conversions between page UTF-16, UTF-8 and the ANSI code page, byte for byte (under Wine).
#include "services/TextHelpers.h"

#include "platform/Bstr.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace vendrak {
namespace {

using namespace std::string_literals;

// Wine chooses the ANSI code page from the Unix locale, and tools/wine-run fixes LANG=en_US.UTF-8, which
// Wine maps to Windows-1252. The expected bytes below are those of Windows-1252.
class AnsiCodePage : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(GetACP(), 1252u) << "run through tools/wine-run (LANG=en_US.UTF-8)"; }
};

// The whole zero-terminated result: the bytes before the terminator.
std::string Utf8Of(std::wstring_view text) {
    const Bstr bstr(text);
    const auto utf8 = BstrToUtf8(bstr.Get());
    return utf8.get();
}

TEST(BstrToUtf8, BytesForEachKindOfText) {
    struct Case {
        const char* name;
        std::wstring input;
        std::string want;
    } cases[] = {
        {"Gruesse", L"Gr\u00FC\u00DFe", "\x47\x72\xC3\xBC\xC3\x9F\x65"},
        {"empty", L"", ""},
        {"ASCII", L"http://x/a.ts?b=1", "http://x/a.ts?b=1"},
        {"two-byte edges", L"\u0080\u07FF", "\xC2\x80\xDF\xBF"},
        {"three-byte edges", L"\u0800\uFFFF", "\xE0\xA0\x80\xEF\xBF\xBF"},
        {"surrogate pair", L"\xD83D\xDE00", "\xF0\x9F\x98\x80"},
        {"lone high surrogate", L"a\xD800z", "a\xEF\xBF\xBDz"},
        {"lone low surrogate", L"\xDC00", "\xEF\xBF\xBD"},
        {"reversed pair", L"\xDC00\xD800", "\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"high surrogate at the end", L"a\xD83D", "a\xEF\xBF\xBD"},
        {"embedded zero ends the text", L"ab\0cd"s, "ab"},
        {"leading zero gives empty", L"\0ab"s, ""},
        {"no byte order mark", L"\uFEFFx", "\xEF\xBB\xBFx"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Utf8Of(c.input), c.want);
    }
}

TEST(BstrToUtf8, GruesseIsSevenBytesAndATerminator) {
    const Bstr text(L"Gr\u00FC\u00DFe");
    const auto utf8 = BstrToUtf8(text.Get());
    const unsigned char want[] = {0x47, 0x72, 0xC3, 0xBC, 0xC3, 0x9F, 0x65, 0x00};
    EXPECT_EQ(std::memcmp(utf8.get(), want, sizeof want), 0);
}

TEST(BstrToUtf8, NullAndEmptyGiveOnlyTheTerminator) {
    const auto fromNull = BstrToUtf8(nullptr);
    ASSERT_NE(fromNull, nullptr);
    EXPECT_EQ(fromNull[0], '\0');
    const Bstr empty(L"");
    const auto fromEmpty = BstrToUtf8(empty.Get());
    ASSERT_NE(fromEmpty, nullptr);
    EXPECT_EQ(fromEmpty[0], '\0');
}

TEST(BstrToUtf8, SixteenMegabyteTexts) {
    const size_t units = 16u << 20;
    const std::string ascii = Utf8Of(std::wstring(units, L'x'));
    EXPECT_EQ(ascii.size(), units);
    EXPECT_EQ(ascii.find_first_not_of('x'), std::string::npos);
    const std::string twoByte = Utf8Of(std::wstring(units, L'\u00E9'));
    ASSERT_EQ(twoByte.size(), 2 * units);
    EXPECT_EQ(twoByte.substr(twoByte.size() - 4), "\xC3\xA9\xC3\xA9");
}

TEST_F(AnsiCodePage, AnsiToBstrReadsEveryByteInTheCodePage) {
    struct Case {
        const char* name;
        std::string input;
        std::wstring want;
    } cases[] = {
        {"UTF-8 bytes are read as two characters", "\xC3\xA9", L"\u00C3\u00A9"},
        {"ASCII", "Unknown", L"Unknown"},
        {"euro sign", "\x80", L"\u20AC"},
        {"Latin-1 upper half", "\xE9\xFF", L"\u00E9\u00FF"},
        {"line feed kept", "Windows 10 64-bit \n", L"Windows 10 64-bit \n"},
        {"zero ends the text", "ab\0cd"s, L"ab"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Bstr result = Bstr::Adopt(AnsiToBstr(c.input.c_str()));
        ASSERT_NE(result.Get(), nullptr);
        EXPECT_EQ(result.View(), c.want);
    }
}

TEST(AnsiToBstr, EmptyAndNullGiveAnEmptyNonNullBstr) {
    for (const char* input : {"", static_cast<const char*>(nullptr)}) {
        SCOPED_TRACE(input == nullptr ? "null" : "empty");
        const Bstr result = Bstr::Adopt(AnsiToBstr(input));
        ASSERT_NE(result.Get(), nullptr);
        EXPECT_EQ(result.Length(), 0u);
        EXPECT_EQ(result.Get()[0], L'\0');
    }
}

TEST(AnsiToBstr, SixteenMegabyteText) {
    const std::string text(16u << 20, 'v');
    const Bstr result = Bstr::Adopt(AnsiToBstr(text.c_str()));
    ASSERT_EQ(result.Length(), text.size());
    EXPECT_EQ(result.Get()[text.size()], L'\0');
    EXPECT_EQ(result.View().find_first_not_of(L'v'), std::wstring_view::npos);
}

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

TEST_F(AnsiCodePage, EveryCodePageByteSurvivesThePageRoundTrip) {
    // Shell text -> page (AnsiToBstr) -> back as page text (BstrToUtf8) -> shell text (Utf8ToAnsi).
    // Windows-1252 leaves 81 8D 8F 90 9D undefined; every other byte must come back unchanged.
    for (int byte = 1; byte < 256; ++byte) {
        if (byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D)
            continue;
        SCOPED_TRACE(byte);
        const std::string ansi(1, static_cast<char>(byte));
        const Bstr page = Bstr::Adopt(AnsiToBstr(ansi.c_str()));
        EXPECT_EQ(Utf8ToAnsi(BstrToUtf8(page.Get()).get()), ansi);
    }
}

TEST_F(AnsiCodePage, ConversionsOnManyThreadsAtOnce) {
    // The host object runs on the UI thread while libvlc's threads may convert too: no shared state.
    std::vector<std::thread> threads;
    std::vector<int> failures(4, 0);
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t, &failures] {
            const std::wstring text = L"thread " + std::to_wstring(t) + L" Gr\u00FC\u00DFe";
            const std::string want = "thread " + std::to_string(t) +
                                     " Gr\xFC\xDF"
                                     "e";
            for (int i = 0; i < 2000; ++i) {
                const Bstr page(text);
                if (Utf8ToAnsi(BstrToUtf8(page.Get()).get()) != want)
                    ++failures[t];
                const Bstr back = Bstr::Adopt(AnsiToBstr(want.c_str()));
                if (back.View() != text)
                    ++failures[t];
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(failures, std::vector<int>(4, 0));
}

} // namespace
} // namespace vendrak
