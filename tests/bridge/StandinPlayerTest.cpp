// The player methods by name against players made by CreatePlayers over the stand-in libvlc.dll,
// which plays scripted events from its own threads: what the page sees while a media plays.
#include "BridgeTestSupport.h"

#include <chrono>
#include <mutex>
#include <thread>

#include "player/VideoWindows.h"

namespace vendrak::test {
namespace {

class StandinPlayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        window = CreateWindowExA(0, "STATIC", "standin main", WS_OVERLAPPEDWINDOW, 0, 0, 800, 450, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(window, nullptr);
        // libvlc's event threads hand their scripts over concurrently with the UI thread.
        players = CreatePlayers(
            window,
            [this](std::wstring script) {
                std::lock_guard guard(lock);
                scripts.push_back(std::move(script));
            },
            Win32VideoWindows());
        ASSERT_NE(players.mainPlayer, nullptr);
        ASSERT_NE(players.mainPlayer->mediaPlayer, nullptr) << "the stand-in libvlc made no media player";
        HostContext context;
        context.mainPlayer = players.mainPlayer.get();
        context.pipPlayer = players.pipPlayer.get();
        context.mainWindow = window;
        host = CreateHostObjectNodeJs(std::move(context));
        ASSERT_EQ(host.As(&dispatch), S_OK);
    }

    void TearDown() override {
        if (dispatch)
            Call(dispatch.Get(), L"stopVideo");
        dispatch.Reset();
        host.Reset();
        players = {};
        DestroyWindow(window);
        CoUninitialize();
    }

    // Pumps the UI thread's messages until `done` holds or 10 s pass.
    bool WaitFor(const std::function<bool()>& done) {
        for (int i = 0; i < 400; ++i) {
            if (done())
                return true;
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageA(&message);
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
        }
        return done();
    }

    LONG Number(const wchar_t* method) {
        CallResult call = Call(dispatch.Get(), method);
        EXPECT_EQ(call.hr, S_OK);
        EXPECT_EQ(call.result.vt, VT_I4);
        return call.result.lVal;
    }

    bool SawScript(const std::wstring& script) {
        std::lock_guard guard(lock);
        return std::find(scripts.begin(), scripts.end(), script) != scripts.end();
    }

    HWND window = nullptr;
    Players players;
    std::mutex lock;
    std::vector<std::wstring> scripts;
    ComPtr<IHostObjectNodeJs> host;
    ComPtr<IDispatch> dispatch;
};

TEST_F(StandinPlayerTest, PlayingMediaAnswersThePagesQueries) {
    ASSERT_EQ(Call(dispatch.Get(), L"openVideo", Args(Arg::Str(L"C:\\media\\clip.mkv"))).Text(), L"");
    EXPECT_EQ(Number(L"isPlaying"), 0) << "opening does not start playback";
    ASSERT_EQ(Call(dispatch.Get(), L"playVideo").hr, S_OK);
    EXPECT_TRUE(SawScript(L"vlc_bitrate(0);"));
    ASSERT_TRUE(WaitFor([&] { return Number(L"isPlaying") == 1; }));
    ASSERT_TRUE(WaitFor([&] { return Call(dispatch.Get(), L"getVideoSize").Text() == L"1920x1080"; }));
    EXPECT_EQ(Number(L"getDuration"), 10000);

    EXPECT_EQ(Call(dispatch.Get(), L"getAudioTracks").Text(), L"Disable:::::Track 1:::::Track 2");
    EXPECT_EQ(Call(dispatch.Get(), L"setAudioTrack", Args(Arg::I4(2))).hr, S_OK);
    EXPECT_EQ(Number(L"getAudioTrack"), 2);
    EXPECT_EQ(Call(dispatch.Get(), L"setAudioTrack", Args(Arg::I4(3))).hr, S_OK);
    EXPECT_EQ(Number(L"getAudioTrack"), -1) << "a position past the list switches the audio off";
    EXPECT_EQ(Call(dispatch.Get(), L"setSubtitleTrack", Args(Arg::Str(L"1"))).hr, S_OK);
    EXPECT_EQ(Number(L"getSubtitleTrack"), 1);

    EXPECT_EQ(Call(dispatch.Get(), L"setVolume", Args(Arg::I4(55))).hr, S_OK);
    EXPECT_EQ(Number(L"getVolume"), 55);

    const std::wstring version = Call(dispatch.Get(), L"getVersionInfo").Text();
    EXPECT_NE(version.find(L" , VLC lib v. 3.0.24 Vetinari )"), std::wstring::npos) << version.c_str();

    ASSERT_EQ(Call(dispatch.Get(), L"pauseVideo").hr, S_OK);
    EXPECT_EQ(players.mainPlayer->bitrateDue.load(), 0u);
    ASSERT_TRUE(WaitFor([&] { return Number(L"isPlaying") == 0; }));
    ASSERT_EQ(Call(dispatch.Get(), L"togglePause").hr, S_OK);
    ASSERT_TRUE(WaitFor([&] { return Number(L"isPlaying") == 1; }));
    EXPECT_EQ(players.mainPlayer->bitrateDue.load(), 0u) << "resuming leaves bit-rate reports off";
    ASSERT_EQ(Call(dispatch.Get(), L"stopVideo").hr, S_OK);
    ASSERT_TRUE(WaitFor([&] { return Number(L"isPlaying") == 0; }));
}

TEST_F(StandinPlayerTest, PictureInPictureShowsAndHidesItsWindow) {
    HWND pip = static_cast<HWND>(players.pipPlayer->videoWindow);
    ASSERT_NE(pip, nullptr);
    EXPECT_EQ(Call(dispatch.Get(), L"openPipVideo", Args(Arg::Str(L"C:\\media\\pip.mkv"))).hr, S_OK);
    EXPECT_EQ(Call(dispatch.Get(), L"playPipVideo").hr, S_OK);
    EXPECT_TRUE(GetWindowLongA(pip, GWL_STYLE) & WS_VISIBLE);
    EXPECT_EQ(Call(dispatch.Get(), L"stopPipVideo").hr, S_OK);
    EXPECT_FALSE(GetWindowLongA(pip, GWL_STYLE) & WS_VISIBLE);
    EXPECT_EQ(Number(L"isPlaying"), 0) << "the main player was never started";
}

// The last reference frees the host object; the players it was given stay as they are: the media
// plays on and the release makes no libvlc call at all (the stand-in logs every call it is given).
TEST_F(StandinPlayerTest, FinalReleaseLeavesThePlayersAlone) {
    ASSERT_EQ(Call(dispatch.Get(), L"openVideo", Args(Arg::Str(L"C:\\media\\clip.mkv"))).hr, S_OK);
    ASSERT_EQ(Call(dispatch.Get(), L"playVideo").hr, S_OK);
    ASSERT_TRUE(WaitFor([&] { return IsPlaying(*players.mainPlayer); }));
    using ControlFunction = void (*)(const char*, const char*);
    auto control = reinterpret_cast<ControlFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("libvlc.dll"), "libvlc_standin_control")));
    ASSERT_NE(control, nullptr);
    char folder[MAX_PATH] = {};
    ASSERT_NE(GetTempPathA(MAX_PATH, folder), 0u);
    const std::string log =
        std::string(folder) + "vendrak-bridge-release-" + std::to_string(GetCurrentProcessId());
    DeleteFileA(log.c_str());
    control("log", log.c_str());
    dispatch.Reset();
    EXPECT_EQ(host.Reset(), 0u);
    control("log", nullptr);
    EXPECT_EQ(GetFileAttributesA(log.c_str()), INVALID_FILE_ATTRIBUTES) << "the release called libvlc";
    DeleteFileA(log.c_str());
    EXPECT_TRUE(IsPlaying(*players.mainPlayer));
    EXPECT_NE(players.mainPlayer->media, nullptr);
}

} // namespace
} // namespace vendrak::test
