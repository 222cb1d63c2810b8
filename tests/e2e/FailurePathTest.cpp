// Failure paths of the real program: no browser at all, a browser that does not deliver, a refused
// DevTools call, a missing type library, the installed runtime found through the registry, and libvlc
// beside the program, only in an installed VLC, nowhere, or of another version.
#include "tests/e2e/ProgramRun.h"

#include "services/TextHelpers.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace e2e {
namespace {

struct Case {
    const char* name;
    const char* scenario;
    bool withLoader;
    const wchar_t* messageHas;
    const char* lastBrowserCall; // the set-up stops after this call; "" when the browser never answered
};

constexpr Case kCases[] = {
    {"no loader and no installed runtime", "", false, L"WebView2Loader.dll", ""},
    {"environment creation refused at once", "create-fail\t0x80070005\n", true, L"did not start",
     "Options.QueryInterface(EnvironmentOptions2)"},
    {"environment not delivered", "environment\tfail\t0x80004005\n", true, L"did not start",
     "deliver-environment"},
    {"environment delivered as null", "environment\tnull\n", true, L"did not start", "deliver-environment"},
    {"controller not delivered", "controller\tfail\t0x8007000E\n", true, L"did not start",
     "deliver-controller"},
    {"controller delivered as null", "controller\tnull\n", true, L"did not start", "deliver-controller"},
};

TEST(FailurePath, NoBrowserTellsTheUserOnceAndTheWindowStillClosesCleanly) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        ProgramRun run(c.scenario, RunOptions{c.withLoader, true, {}});
        // Only now: the run waits for its turn, and a run before it saves on its way out.
        DeleteFileW(SettingsFile().c_str());
        ASSERT_TRUE(run.Start());
        std::wstring message;
        EXPECT_EQ(0u, DismissAndClose(run, message));
        EXPECT_NE(std::wstring::npos, message.find(L"WebView2 Runtime")) << vendrak::WideToUtf8(message);
        EXPECT_NE(std::wstring::npos,
                  message.find(L"https://developer.microsoft.com/microsoft-edge/webview2/"));
        EXPECT_NE(std::wstring::npos, message.find(c.messageHas)) << vendrak::WideToUtf8(message);
        // The placement was saved on the way out.
        EXPECT_FALSE(ReadFileText(SettingsFile()).empty());
        const std::vector<LogLine> log = run.Log();
        if (*c.lastBrowserCall == '\0') {
            EXPECT_TRUE(log.empty());
        } else {
            ASSERT_FALSE(log.empty());
            EXPECT_EQ(c.lastBrowserCall, log.back().call);
        }
    }
}

TEST(FailurePath, RefusedDevToolsCallEndsTheProcessAtOnceSavingNothing) {
    for (const char* method : {"Network.clearBrowserCache", "Network.setCacheDisabled"}) {
        SCOPED_TRACE(method);
        ProgramRun run(std::string("devtools-fail\t") + method + "\t0x80004005\nwait\t5000\nclose\n");
        // Only now: the run waits for its turn, and a run before it saves on its way out.
        DeleteFileW(SettingsFile().c_str());
        ASSERT_TRUE(run.Start());
        const DWORD code = run.WaitForExit(20000);
        EXPECT_NE(STILL_ACTIVE, code);
        EXPECT_NE(0u, code);
        EXPECT_TRUE(ReadFileText(SettingsFile()).empty());
        const std::vector<LogLine> log = run.Log();
        ASSERT_FALSE(log.empty());
        EXPECT_EQ("WebView.CallDevToolsProtocolMethod", log.back().call);
        EXPECT_EQ(method, log.back().args.at(0));
    }
}

// Browser calls whose result changes nothing the shell does: a failure is written to the failure log.
TEST(FailurePath, IgnoredBrowserCallsThatFailAreLogged) {
    struct IgnoredCase {
        const char* name;
        std::string scenario;
        const char* lastCall; // the stand-in's log line after which every call was made
        std::vector<std::string> logged;
    };
    const IgnoredCase cases[] = {
        {"set-up",
         "call-fail\tWebView.Navigate\t0x80004005\ncall-fail\tWebView.add_NavigationStarting\t0x80070057\n"
         "call-fail\tController.put_Bounds\t0x8007000E\ncall-fail\tController.put_BoundsMode\t0x80004001\n",
         "WebView.add_NavigationStarting",
         {": Navigate (0x80004005)", ": add_NavigationStarting (0x80070057)", ": put_Bounds (0x8007000E)",
          ": put_BoundsMode (0x80004001)"}},
        {"navigation start",
         "call-fail\tController.put_DefaultBackgroundColor\t0x80004005\n",
         "Controller.put_DefaultBackgroundColor",
         {": put_DefaultBackgroundColor (0x80004005)"}},
    };
    for (const IgnoredCase& c : cases) {
        SCOPED_TRACE(c.name);
        ProgramRun run(c.scenario);
        const std::wstring log = FailureLogFile();
        DeleteFileW(log.c_str()); // only now: the run waits for its turn
        ASSERT_TRUE(run.Start());
        ASSERT_FALSE(run.WaitForLog(c.lastCall, 20000).call.empty());
        HWND window = run.FindTopWindow("DesktopApp", 5000);
        ASSERT_NE(nullptr, window);
        PostMessageW(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(0u, run.WaitForExit(20000));
        const std::string text = ReadFileText(log);
        EXPECT_NE(std::string::npos, text.find("BrowserHost(")) << text;
        for (const std::string& line : c.logged)
            EXPECT_NE(std::string::npos, text.find(line)) << line << "\n" << text;
    }
}

TEST(FailurePath, MissingTypeLibraryFailsPageCallsButTheShellLivesOn) {
    ProgramRun run("call\tnodeJs\tisPlaying\ncall\tnodeJs\tgetVolume\nwait\t500\n",
                   RunOptions{true, false, {}});
    ASSERT_TRUE(run.Start());
    ASSERT_FALSE(run.WaitForLog("HostCall", 20000).call.empty());
    Sleep(800);
    EXPECT_TRUE(run.IsRunning());
    const std::vector<LogLine> calls = Select(run.Log(), "HostCall");
    ASSERT_EQ(2u, calls.size());
    for (const LogLine& call : calls) {
        SCOPED_TRACE(call.args.at(1));
        EXPECT_NE("0x00000000", call.args.at(2)); // the name cannot be resolved or invoked
    }
    HWND window = run.FindTopWindow("DesktopApp", 5000);
    ASSERT_NE(nullptr, window);
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, run.WaitForExit(20000));
}

TEST(FailurePath, WithoutTheLoaderTheInstalledRuntimeIsFoundThroughTheRegistry) {
    ProgramRun run("wait\t300\nclose\n", RunOptions{false, true, L"122.0.2365.46"});
    const std::wstring key =
        L"Software\\Microsoft\\EdgeUpdate\\ClientState\\{F3017226-FE2A-4295-8BDF-00C3A9A7E4C5}";
    HKEY opened = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0,
                                             KEY_WRITE | KEY_WOW64_32KEY, nullptr, &opened, nullptr));
    const std::wstring folder = run.Folder() + L"122.0.2365.46";
    RegSetValueExW(opened, L"EBWebView", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                   static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(opened);
    ASSERT_TRUE(run.Start());
    const DWORD code = run.WaitForExit(20000);
    RegDeleteKeyExW(HKEY_CURRENT_USER, key.c_str(), KEY_WOW64_32KEY, 0);
    EXPECT_EQ(0u, code);
    const std::vector<LogLine> log = run.Log();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ("CreateWebViewEnvironmentWithOptionsInternal(installed)", log.front().call);
    EXPECT_GE(IndexOf(log, "WebView.AddHostObjectToScript"), 0);
}

TEST(FailurePath, LibvlcIsFoundBesideOrThroughTheRegistryElseTheUserIsToldOnceAndThePageRuns) {
    struct LibvlcCase {
        const char* name;
        LibvlcPlace place;
        bool told;
        const char* playing; // isPlaying's answer after openVideo and playVideo
        const char* version; // the stand-in's libvlc_get_version, or null for its own 3.0 text
        const char* logged;  // in the one failure-log line naming libvlc, when the user is told
    };
    constexpr LibvlcCase kLibvlcCases[] = {
        {"beside the program", LibvlcPlace::BesideProgram, false, "i:1", nullptr, ""},
        {"only in an installed VLC", LibvlcPlace::InstalledVlc, false, "i:1", nullptr, ""},
        {"nowhere", LibvlcPlace::Nowhere, true, "i:0", nullptr, "libvlc could not be loaded"},
        {"beside the program but libvlc 2", LibvlcPlace::BesideProgram, true, "i:0", "2.2.8 Weatherwax",
         "libvlc 2.2.8 Weatherwax at "},
    };
    for (const LibvlcCase& c : kLibvlcCases) {
        SCOPED_TRACE(c.name);
        ProgramRun run("call\tnodeJs\topenVideo\ts:C:\\media\\clip.mkv\ncall\tnodeJs\tplayVideo\nwait\t1500\n"
                       "call\tnodeJs\tisPlaying\ncall\tnodeJs\tgetVersionInfo\n",
                       RunOptions{true, true, {}, L"vendrak.exe", c.place});
        const std::wstring failureLog = FailureLogFile();
        DeleteFileW(failureLog.c_str()); // only now: the run waits for its turn
        const std::string standinSettings = vendrak::WideToUtf8(run.Folder()) + "libvlc-standin.txt";
        if (c.version != nullptr) {
            std::FILE* file = std::fopen(standinSettings.c_str(), "wb");
            ASSERT_NE(nullptr, file);
            std::fprintf(file, "version=%s\n", c.version);
            std::fclose(file);
            SetEnvironmentVariableA("VENDRAK_LIBVLC_STANDIN", standinSettings.c_str());
        }
        const bool started = run.Start(); // the program takes this environment with it
        SetEnvironmentVariableA("VENDRAK_LIBVLC_STANDIN", nullptr);
        ASSERT_TRUE(started);
        // The page runs while the message box is up.
        ASSERT_FALSE(run.WaitForLog("Step", 20000).call.empty());
        const ULONGLONG end = GetTickCount64() + 20000;
        while (Select(run.Log(), "HostCall").size() < 4 && GetTickCount64() < end)
            Sleep(20);
        const std::vector<LogLine> calls = Select(run.Log(), "HostCall");
        ASSERT_EQ(4u, calls.size());
        for (const LogLine& call : calls)
            EXPECT_EQ("0x00000000", call.args.at(2)) << call.args.at(1);
        EXPECT_EQ(c.playing, calls[2].args.at(3));
        std::wstring message;
        if (c.told) {
            EXPECT_EQ(0u, DismissAndClose(run, message));
            EXPECT_NE(std::wstring::npos, message.find(L"VLC media player 3.0, 32-bit"))
                << vendrak::WideToUtf8(message);
            EXPECT_NE(std::wstring::npos, message.find(L"https://www.videolan.org/vlc/"));
        } else {
            EXPECT_EQ(nullptr, run.FindTopWindow("#32770", 500));
            HWND window = run.FindTopWindow("DesktopApp", 5000);
            ASSERT_NE(nullptr, window);
            PostMessageW(window, WM_CLOSE, 0, 0);
            EXPECT_EQ(0u, run.WaitForExit(20000));
        }
        const std::string text = ReadFileText(failureLog);
        EXPECT_NE(std::string::npos, text.find(c.logged)) << text;
        size_t lines = 0;
        for (size_t at = text.find("libvlc"); at != std::string::npos;
             at = text.find("libvlc", text.find('\n', at)))
            ++lines;
        EXPECT_EQ(c.told ? 1u : 0u, lines) << text;
    }
}

} // namespace
} // namespace e2e
