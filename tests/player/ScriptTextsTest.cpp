// The script calls and number texts that cross to the page, byte for byte.
#include "player/ScriptTexts.h"

#include <gtest/gtest.h>

#include <limits>

namespace vendrak {
namespace {

TEST(ScriptTexts, CutTextDropsTheDecimalsOfTheSixDigitRendering) {
    struct Case {
        const char* name;
        double input;
        std::wstring want;
    };
    const Case cases[] = {
        {"half", 45.5, L"45"},
        {"quarter", 7.25, L"7"},
        {"float just below three rounds up", static_cast<double>(2.9999997f), L"3"},
        {"zero", 0.0, L"0"},
        {"just below one", 0.9999999, L"1"},
        {"negative", -3.75, L"-3"},
        {"hundred", 100.0, L"100"},
        {"large", 123456789.0, L"123456789"},
        {"not a number keeps its text", std::numeric_limits<double>::quiet_NaN(), L"nan"},
        {"infinity keeps its text", std::numeric_limits<double>::infinity(), L"inf"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CutText(c.input), c.want);
    }
}

TEST(ScriptTexts, FrameRateKeepsDecimalsOnlyForOneDigitRates) {
    struct Case {
        const char* name;
        float input;
        std::wstring want;
    };
    const Case cases[] = {
        {"unknown", 0.0f, L"0.000000"},
        {"one digit", 5.0f, L"5.000000"},
        {"one digit fraction", 9.5f, L"9.500000"},
        {"pal", 25.0f, L"25"},
        {"ntsc", 29.97f, L"29"},
        {"ntsc film", 23.976f, L"23"},
        {"three digits", 120.0f, L"120"},
        {"negative one digit", -1.0f, L"-1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FrameRateText(c.input), c.want);
    }
}

TEST(ScriptTexts, CallsAreExact) {
    struct Case {
        const char* name;
        std::wstring got;
        std::wstring want;
    };
    const Case cases[] = {
        {"opening", StateChangeScript(kStateOpening, L"", L""), L"StateChange('opening', '');"},
        {"buffering detail", StateChangeScript(kStateBuffering, L"", L"45"),
         L"StateChange('buffering', '45');"},
        {"pip suffix", StateChangeScript(kStatePlaying, L"_pip", L""), L"StateChange('playing_pip', '');"},
        {"paused spelling", StateChangeScript(kStatePaused, L"", L""), L"StateChange('plaused', '');"},
        {"stopped", StateChangeScript(kStateStopped, L"_pip", L""), L"StateChange('stopped_pip', '');"},
        {"bit rate times eight", BitrateScript(1.5f), L"vlc_bitrate(12);"},
        {"bit rate zero", BitrateScript(0.0f), L"vlc_bitrate(0);"},
        {"bit rate cut", BitrateScript(0.33f), L"vlc_bitrate(2);"},
        {"play and pause send what a measured zero sends", std::wstring(kBitrateZeroScript),
         BitrateScript(0.0f)},
        {"full hd", VideoResolutionScript(1920, 1080, 25.0f), L"vlc_video_res(1920,1080,25);"},
        {"hd ntsc", VideoResolutionScript(1280, 720, 29.97f), L"vlc_video_res(1280,720,29);"},
        {"unknown", VideoResolutionScript(0, 0, 0.0f), L"vlc_video_res(0,0,0.000000);"},
        {"largest size", VideoResolutionScript(4294967295u, 1, 5.0f),
         L"vlc_video_res(4294967295,1,5.000000);"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.got, c.want);
    }
}

} // namespace
} // namespace vendrak
