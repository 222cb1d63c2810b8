// Every slot called by name through IDispatch with script-like arguments, as the browser calls it:
// the right body is reached with the right arguments and the page receives the right result.
#include "BridgeTestSupport.h"

#include <climits>
#include <cmath>
#include <functional>

#include "player/PlayerMethods.h"
#include "services/SystemInfo.h"

namespace vendrak::test {
namespace {

using DispatchTest = HostFixture;

struct Case {
    const char* name;
    std::wstring member;
    WORD flags;
    std::function<std::vector<Arg>()> args;
    HRESULT want;
    std::function<void(const CallResult&)> check; // may be empty
};

void ExpectText(const CallResult& call, const std::wstring& want) {
    ASSERT_EQ(call.result.vt, VT_BSTR);
    EXPECT_NE(call.result.bstrVal, nullptr);
    EXPECT_EQ(call.Text(), want);
}

void ExpectNumber(const CallResult& call, LONG want) {
    ASSERT_EQ(call.result.vt, VT_I4);
    EXPECT_EQ(call.result.lVal, want);
}

void ExpectNothing(const CallResult& call) {
    EXPECT_EQ(call.result.vt, VT_EMPTY);
}

RECT ChildRect(HWND child) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void RunCases(IDispatch* dispatch, const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CallResult call = CallByName(dispatch, c.member, c.flags, c.args ? c.args() : std::vector<Arg>{});
        EXPECT_EQ(call.hr, c.want) << std::hex << call.hr;
        if (c.check && call.hr == c.want)
            c.check(call);
    }
}

TEST_F(DispatchTest, GreetingConvertsScriptNumbersOrRejectsThem) {
    const std::wstring prefix = L"MethodWithParametersAndReturnValue(";
    RunCases(dispatch.Get(),
             {
                 {"text and negative number", L"MethodWithParametersAndReturnValue", DISPATCH_METHOD,
                  [] { return Args(Arg::Str(L"abc"), Arg::I4(-5)); }, S_OK,
                  [&](const CallResult& r) { ExpectText(r, prefix + L"abc, -5) called."); }},
                 {"empty text and zero", L"MethodWithParametersAndReturnValue", DISPATCH_METHOD,
                  [] { return Args(Arg::Str(L""), Arg::I4(0)); }, S_OK,
                  [&](const CallResult& r) { ExpectText(r, prefix + L", 0) called."); }},
                 {"number as double", L"MethodWithParametersAndReturnValue", DISPATCH_METHOD,
                  [] { return Args(Arg::Str(L"d"), Arg::R8(42.0)); }, S_OK,
                  [&](const CallResult& r) { ExpectText(r, prefix + L"d, 42) called."); }},
                 {"number as numeric text", L"MethodWithParametersAndReturnValue", DISPATCH_METHOD,
                  [] { return Args(Arg::Str(L"s"), Arg::Str(L"17")); }, S_OK,
                  [&](const CallResult& r) { ExpectText(r, prefix + L"s, 17) called."); }},
                 {"text given as number", L"MethodWithParametersAndReturnValue", DISPATCH_METHOD,
                  [] { return Args(Arg::I4(9), Arg::I4(1)); }, S_OK,
                  [&](const CallResult& r) { ExpectText(r, prefix + L"9, 1) called."); }},
                 {"number as words", L"MethodWithParametersAndReturnValue", DISPATCH_METHOD,
                  [] { return Args(Arg::Str(L"s"), Arg::Str(L"seven")); }, DISP_E_TYPEMISMATCH, nullptr},
                 {"number too large", L"MethodWithParametersAndReturnValue", DISPATCH_METHOD,
                  [] { return Args(Arg::Str(L"s"), Arg::R8(1e12)); }, DISP_E_OVERFLOW, nullptr},
                 {"missing argument", L"MethodWithParametersAndReturnValue", DISPATCH_METHOD,
                  [] { return Args(Arg::Str(L"s")); }, DISP_E_BADPARAMCOUNT, nullptr},
                 {"unknown name", L"methodWithParametersAndReturnValues", DISPATCH_METHOD, nullptr,
                  DISP_E_UNKNOWNNAME, nullptr},
                 {"name in another letter case", L"METHODWITHPARAMETERSANDRETURNVALUE", DISPATCH_METHOD,
                  [] { return Args(Arg::Str(L"c"), Arg::I4(3)); }, S_OK,
                  [&](const CallResult& r) { ExpectText(r, prefix + L"c, 3) called."); }},
             });
}

TEST_F(DispatchTest, SettingsAndOpeningReachThePlayers) {
    pipPlayer->options.networkCaching = 77;
    RunCases(
        dispatch.Get(),
        {
            {"hardware decoding 2 is off", L"setHardwareDecoding", DISPATCH_METHOD,
             [] { return Args(Arg::I4(2)); }, S_OK,
             [&](const CallResult& r) {
                 ExpectNothing(r);
                 EXPECT_FALSE(mainPlayer->options.hardwareDecoding);
                 EXPECT_FALSE(pipPlayer->options.hardwareDecoding);
             }},
            {"hardware decoding 1 is on", L"setHardwareDecoding", DISPATCH_METHOD,
             [] { return Args(Arg::R8(1.0)); }, S_OK,
             [&](const CallResult&) {
                 EXPECT_TRUE(mainPlayer->options.hardwareDecoding);
                 EXPECT_TRUE(pipPlayer->options.hardwareDecoding);
             }},
            {"network caching taken as unsigned", L"setNetworkCaching", DISPATCH_METHOD,
             [] { return Args(Arg::I4(-1)); }, S_OK,
             [&](const CallResult&) {
                 EXPECT_EQ(mainPlayer->options.networkCaching, 4294967295u);
                 EXPECT_EQ(pipPlayer->options.networkCaching, 77u);
             }},
            {"network caching from text", L"setNetworkCaching", DISPATCH_METHOD,
             [] { return Args(Arg::Str(L"2500")); }, S_OK,
             [&](const CallResult&) { EXPECT_EQ(mainPlayer->options.networkCaching, 2500u); }},
            {"open returns an empty text", L"openVideo", DISPATCH_METHOD,
             [] { return Args(Arg::Str(L"C:\\nowhere\\clip.mkv")); }, S_OK,
             [&](const CallResult& r) { ExpectText(r, L""); }},
            {"open without address", L"openVideo", DISPATCH_METHOD, nullptr, DISP_E_BADPARAMCOUNT, nullptr},
        });
}

TEST_F(DispatchTest, PresKeyHandsTheKeyToTheShell) {
    // The shell decides what a key does (Alt, F11, F12); the host object tells it press or release: an
    // up flag of 0 is a press, any other is a release.
    auto handed = [&](bool down, int key) {
        return [&, down, key](const CallResult&) {
            ASSERT_FALSE(pageKeys.empty());
            EXPECT_EQ(pageKeys.back(), std::make_pair(down, key));
        };
    };
    RunCases(dispatch.Get(), {
                                 {"Alt release", L"presKey", DISPATCH_METHOD,
                                  [] { return Args(Arg::I4(1), Arg::I4(18)); }, S_OK, handed(false, 18)},
                                 {"Alt press", L"presKey", DISPATCH_METHOD,
                                  [] { return Args(Arg::I4(0), Arg::I4(18)); }, S_OK, handed(true, 18)},
                                 {"F11 press", L"presKey", DISPATCH_METHOD,
                                  [] { return Args(Arg::I4(0), Arg::I4(122)); }, S_OK, handed(true, 122)},
                                 {"other flag is a release", L"presKey", DISPATCH_METHOD,
                                  [] { return Args(Arg::I4(2), Arg::I4(122)); }, S_OK, handed(false, 122)},
                                 {"F12 press", L"presKey", DISPATCH_METHOD,
                                  [] { return Args(Arg::I4(0), Arg::I4(123)); }, S_OK, handed(true, 123)},
                             });
    EXPECT_EQ(pageKeys.size(), 5u);
    // A shell that handles no page keys: presKey still answers S_OK.
    HostContext keyless = context;
    keyless.handlePageKey = nullptr;
    ComPtr<IDispatch> other;
    ASSERT_EQ(CreateHostObjectNodeJs(keyless).As(&other), S_OK);
    EXPECT_EQ(Call(other.Get(), L"presKey", Args(Arg::I4(0), Arg::I4(122))).hr, S_OK);
}

TEST_F(DispatchTest, PlayerMethodsOnInertPlayersAnswerTheNeutralValues) {
    std::vector<Case> cases = {
        {"playVideo", L"playVideo", DISPATCH_METHOD, nullptr, S_OK, ExpectNothing},
        {"stopVideo", L"stopVideo", DISPATCH_METHOD, nullptr, S_OK, ExpectNothing},
        {"togglePause", L"togglePause", DISPATCH_METHOD, nullptr, S_OK, ExpectNothing},
        {"openPipVideo", L"openPipVideo", DISPATCH_METHOD, [] { return Args(Arg::Str(L"C:\\a.mkv")); }, S_OK,
         ExpectNothing},
        {"isPlaying", L"isPlaying", DISPATCH_METHOD, nullptr, S_OK,
         [](const CallResult& r) { ExpectNumber(r, 0); }},
        {"getVolume", L"getVolume", DISPATCH_METHOD, nullptr, S_OK,
         [](const CallResult& r) { ExpectNumber(r, 0); }},
        {"setVolume", L"setVolume", DISPATCH_METHOD, [] { return Args(Arg::I4(80)); }, S_OK, ExpectNothing},
        {"getDuration", L"getDuration", DISPATCH_METHOD, nullptr, S_OK,
         [](const CallResult& r) { ExpectNumber(r, 0); }},
        {"getTime", L"getTime", DISPATCH_METHOD, nullptr, S_OK,
         [](const CallResult& r) { ExpectNumber(r, 0); }},
        {"setTime", L"setTime", DISPATCH_METHOD, [] { return Args(Arg::I4(-1)); }, S_OK, ExpectNothing},
        {"getVideoSize", L"getVideoSize", DISPATCH_METHOD, nullptr, S_OK,
         [](const CallResult& r) { ExpectText(r, L"0x0"); }},
        {"setScaleMode", L"setScaleMode", DISPATCH_METHOD, [] { return Args(Arg::I4(1)); }, S_OK,
         ExpectNothing},
        {"setAudioTrack", L"setAudioTrack", DISPATCH_METHOD, [] { return Args(Arg::I4(2)); }, S_OK,
         ExpectNothing},
        {"getAudioTrack", L"getAudioTrack", DISPATCH_METHOD, nullptr, S_OK,
         [](const CallResult& r) { ExpectNumber(r, -1); }},
        {"getAudioTracks", L"getAudioTracks", DISPATCH_METHOD, nullptr, S_OK,
         [](const CallResult& r) { ExpectText(r, L""); }},
        {"setSubtitleTrack", L"setSubtitleTrack", DISPATCH_METHOD, [] { return Args(Arg::I4(0)); }, S_OK,
         ExpectNothing},
        {"getSubtitleTrack", L"getSubtitleTrack", DISPATCH_METHOD, nullptr, S_OK,
         [](const CallResult& r) { ExpectNumber(r, -1); }},
        {"getSubtitleTracks", L"getSubtitleTracks", DISPATCH_METHOD, nullptr, S_OK,
         [](const CallResult& r) { ExpectText(r, L""); }},
        {"fitVideo", L"fitVideo", DISPATCH_METHOD, nullptr, S_OK, ExpectNothing},
        {"setVideoRect", L"setVideoRect", DISPATCH_METHOD,
         [] { return Args(Arg::I4(0), Arg::I4(0), Arg::I4(320), Arg::I4(200)); }, S_OK, ExpectNothing},
        {"getStatistics", L"getStatistics", DISPATCH_METHOD, nullptr, S_OK,
         [](const CallResult& r) { ExpectText(r, L""); }},
        {"getTrackInfo", L"getTrackInfo", DISPATCH_METHOD, nullptr, S_OK,
         [](const CallResult& r) { ExpectText(r, L""); }},
    };
    RunCases(dispatch.Get(), cases);
    EXPECT_TRUE(scripts.empty()) << "an inert main player reports nothing on play";
}

TEST_F(DispatchTest, PauseReportsBitrateZeroEvenWithoutMediaPlayer) {
    mainPlayer->bitrateDue = 12345;
    EXPECT_EQ(Call(dispatch.Get(), L"pauseVideo").hr, S_OK);
    EXPECT_EQ(mainPlayer->bitrateDue.load(), 0u);
    ASSERT_EQ(scripts.size(), 1u);
    EXPECT_EQ(scripts[0], L"vlc_bitrate(0);");
}

TEST_F(DispatchTest, PictureInPictureWindowFollowsThePage) {
    ASSERT_FALSE(IsWindowVisible(pipWindow));
    EXPECT_EQ(Call(dispatch.Get(), L"setPipRect", Args(Arg::I4(5), Arg::I4(6), Arg::I4(70), Arg::I4(80))).hr,
              S_OK);
    RECT rect = ChildRect(pipWindow);
    EXPECT_EQ(rect.left, 5);
    EXPECT_EQ(rect.top, 6);
    EXPECT_EQ(rect.right, 75);
    EXPECT_EQ(rect.bottom, 86);
    EXPECT_EQ(Call(dispatch.Get(), L"playPipVideo").hr, S_OK);
    EXPECT_TRUE(GetWindowLongA(pipWindow, GWL_STYLE) & WS_VISIBLE);
    EXPECT_EQ(Call(dispatch.Get(), L"stopPipVideo").hr, S_OK);
    EXPECT_FALSE(GetWindowLongA(pipWindow, GWL_STYLE) & WS_VISIBLE);
    // Numbers as the page may send them: a double and a numeric text.
    EXPECT_EQ(
        Call(dispatch.Get(), L"setPipRect", Args(Arg::R8(1.0), Arg::Str(L"2"), Arg::I4(30), Arg::I4(40))).hr,
        S_OK);
    rect = ChildRect(pipWindow);
    EXPECT_EQ(rect.left, 1);
    EXPECT_EQ(rect.top, 2);
    EXPECT_EQ(rect.right, 31);
    EXPECT_EQ(rect.bottom, 42);
}

TEST_F(DispatchTest, SystemTextsCrossUnchanged) {
    HostContext versioned = context;
    versioned.browserVersion = L"122.0.2365.46";
    ComPtr<IDispatch> withVersion;
    ASSERT_EQ(CreateHostObjectNodeJs(versioned).As(&withVersion), S_OK);
    const std::string app = GetAppVersionText();
    const std::string vlc = LibvlcVersion();
    const std::wstring wantVersion = std::wstring(app.begin(), app.end()) +
                                     L" (WebView2 v.122.0.2365.46 , VLC lib v. " +
                                     std::wstring(vlc.begin(), vlc.end()) + L" )";
    CallResult version = Call(withVersion.Get(), L"getVersionInfo");
    ASSERT_EQ(version.hr, S_OK);
    EXPECT_EQ(version.Text(), wantVersion);

    // The fixture's host was made before the browser told its version.
    const std::wstring unknownBrowser = Call(dispatch.Get(), L"getVersionInfo").Text();
    EXPECT_NE(unknownBrowser.find(L" (WebView2 v. , VLC lib v. "), std::wstring::npos)
        << unknownBrowser.c_str();

    const std::string windows = GetWindowsVersionText();
    CallResult windowsText = Call(dispatch.Get(), L"getWindowsVersion");
    ASSERT_EQ(windowsText.hr, S_OK);
    EXPECT_EQ(windowsText.Text(), std::wstring(windows.begin(), windows.end()));
    EXPECT_EQ(windowsText.Text().back(), L'\n');

    const std::string mac = GetMacAddressText();
    EXPECT_EQ(Call(dispatch.Get(), L"getMacAddress").Text(), std::wstring(mac.begin(), mac.end()));
}

TEST_F(DispatchTest, ExamplePropertiesKeepWhatThePageWrites) {
    auto read = [&](LONG index) {
        return CallByName(dispatch.Get(), L"ExampleStringAt", DISPATCH_PROPERTYGET, Args(Arg::I4(index)))
            .Text();
    };
    EXPECT_EQ(read(7), L"[7] is .");
    EXPECT_EQ(read(-3), L"[-3] is .");
    EXPECT_EQ(CallByName(dispatch.Get(), L"ExampleStringAt", DISPATCH_PROPERTYPUT,
                         Args(Arg::I4(7), Arg::Str(L"seven")))
                  .hr,
              S_OK);
    EXPECT_EQ(read(7), L"[7] is seven.");
    EXPECT_EQ(read(-3), L"[-3] is .");

    EXPECT_EQ(
        CallByName(dispatch.Get(), L"ExampleString", DISPATCH_PROPERTYPUT, Args(Arg::Str(L"new value"))).hr,
        S_OK);
    EXPECT_EQ(CallByName(dispatch.Get(), L"ExampleString", DISPATCH_PROPERTYGET).Text(), L"new value");
    // A property read as a method call: the type information decides, as it does for the browser.
    EXPECT_NE(CallByName(dispatch.Get(), L"ExampleString", DISPATCH_METHOD | DISPATCH_PROPERTYGET).hr,
              DISP_E_MEMBERNOTFOUND);

    const DATE christmas = 46014.5; // 2025-12-25 12:00
    EXPECT_EQ(CallByName(dispatch.Get(), L"ExampleDate", DISPATCH_PROPERTYPUT, Args(Arg::Date(christmas))).hr,
              S_OK);
    CallResult date = CallByName(dispatch.Get(), L"ExampleDate", DISPATCH_PROPERTYGET);
    ASSERT_EQ(date.result.vt, VT_DATE);
    EXPECT_EQ(date.result.date, christmas);
    // A script number where a date is expected is converted by the type information.
    EXPECT_EQ(CallByName(dispatch.Get(), L"ExampleDate", DISPATCH_PROPERTYPUT, Args(Arg::R8(2.25))).hr, S_OK);
    EXPECT_EQ(CallByName(dispatch.Get(), L"ExampleDate", DISPATCH_PROPERTYGET).result.date, 2.25);
}

TEST_F(DispatchTest, SetExampleDateToNowGivesTheCurrentUtcTime) {
    SYSTEMTIME before{};
    GetSystemTime(&before);
    DATE low = 0;
    ASSERT_TRUE(SystemTimeToVariantTime(&before, &low));
    ASSERT_EQ(Call(dispatch.Get(), L"SetExampleDateToNow").hr, S_OK);
    SYSTEMTIME after{};
    GetSystemTime(&after);
    DATE high = 0;
    ASSERT_TRUE(SystemTimeToVariantTime(&after, &high));
    const DATE now = CallByName(dispatch.Get(), L"ExampleDate", DISPATCH_PROPERTYGET).result.date;
    const double oneSecond = 1.0 / 86400.0;
    EXPECT_GE(now, low - oneSecond);
    EXPECT_LE(now, high + oneSecond);
}

TEST_F(DispatchTest, FilesWrittenByThePageAreReadBackThroughThePagePath) {
    char temp[MAX_PATH] = {};
    ASSERT_NE(GetTempPathA(MAX_PATH, temp), 0u);
    const std::string path = std::string(temp) + "bridge-dispatch-file.txt";
    const std::wstring pagePath = L"/" + std::wstring(path.begin(), path.end());
    DeleteFileA(path.c_str());
    EXPECT_EQ(Call(dispatch.Get(), L"readFile", Args(Arg::Str(pagePath))).Text(), L"");
    EXPECT_EQ(Call(dispatch.Get(), L"writeFile", Args(Arg::Str(pagePath), Arg::Str(L"first\nsecond"))).hr,
              S_OK);
    CallResult read = Call(dispatch.Get(), L"readFile", Args(Arg::Str(pagePath)));
    ASSERT_EQ(read.hr, S_OK);
    EXPECT_EQ(read.Text(), L"first\nsecond\n");
    // Writing to a folder that does not exist fails silently.
    EXPECT_EQ(
        Call(dispatch.Get(), L"writeFile", Args(Arg::Str(L"/C:\\no\\such\\folder\\x.txt"), Arg::Str(L"x")))
            .hr,
        S_OK);
    DeleteFileA(path.c_str());
}

} // namespace
} // namespace vendrak::test
