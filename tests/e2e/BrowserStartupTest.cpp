// The real program configures the browser exactly, in order, and sizes it to its client area.
#include "tests/e2e/ProgramRun.h"

#include "services/TextHelpers.h"

#include <gtest/gtest.h>

#include <optional>

namespace e2e {
namespace {

constexpr char kBridgeScript[] = "document.addEventListener('keydown', function(event) "
                                 "{chrome.webview.hostObjects.sync.nodeJs.presKey(0,event.keyCode);});"
                                 "document.addEventListener('keyup', function(event) "
                                 "{chrome.webview.hostObjects.sync.nodeJs.presKey(1,event.keyCode);});";

// A default user agent with blanks at both ends and non-ASCII letters: the suffix is appended as is.
constexpr char kRuntimeAgent[] = " Mozilla/5.0 St\xC3\xA4nd-in Edg/122.0.2365.46 ";

struct Expected {
    const char* call;
    std::optional<std::vector<std::string>> args; // nullopt: any arguments
};

std::string StartAddressOf(const std::wstring& folder) {
    std::string address = "file:///" + vendrak::WideToUtf8(folder) + "web/index.html";
    for (char& c : address) {
        if (c == '\\')
            c = '/';
    }
    return address;
}

TEST(BrowserStartup, ConfiguresTheBrowserInOrderWithExactValues) {
    ProgramRun run(std::string("user-agent\t") + kRuntimeAgent + "\nwait\t1500\nclose\n");
    ASSERT_TRUE(run.Start());
    ASSERT_FALSE(run.WaitForLog("WebView.ExecuteScript", 20000).call.empty());
    ASSERT_EQ(0u, run.WaitForExit(20000));

    const std::string start = StartAddressOf(run.Folder());
    const std::string settingsFolder = vendrak::WideToUtf8(run.SettingsFolder());
    const std::vector<Expected> expected = {
        {"CreateCoreWebView2EnvironmentWithOptions",
         {{"(null)", settingsFolder, "options", "apartment=STA"}}},
        {"Options.AdditionalBrowserArguments",
         {{"0x00000000", "--disable-web-security --allow-running-insecure-content"}}},
        {"Options.Language", {{"0x00000000", "(null)"}}},
        {"Options.TargetCompatibleBrowserVersion", {{"0x00000000", "122.0.2365.46"}}},
        {"Options.AllowSingleSignOnUsingOSPrimaryAccount", {{"0x00000000", "0"}}},
        {"Options.QueryInterface(EnvironmentOptions2)", {{"0x80004002"}}},
        {"deliver-environment", std::nullopt},
        {"Environment.CreateCoreWebView2Controller", {{"DesktopApp", "handler"}}},
        {"Environment.get_BrowserVersionString", {{}}},
        {"deliver-controller", std::nullopt},
        {"Controller.get_CoreWebView2", {{}}},
        {"WebView.CallDevToolsProtocolMethod", {{"Network.clearBrowserCache", "{}", "no-handler"}}},
        {"WebView.CallDevToolsProtocolMethod",
         {{"Network.setCacheDisabled", "{\"cacheDisabled\":true}", "no-handler"}}},
        {"WebView.get_Settings", {{}}},
        {"Settings.put_IsScriptEnabled", {{"1"}}},
        {"Settings.put_AreDefaultScriptDialogsEnabled", {{"1"}}},
        {"Settings.put_IsWebMessageEnabled", {{"0"}}},
        {"Settings.get_UserAgent", {{}}},
        {"Settings.put_UserAgent", {{std::string(kRuntimeAgent) + " vendrak/1.0.0 "}}},
        {"Settings.put_AreDefaultContextMenusEnabled", {{"0"}}},
        {"Settings.put_AreBrowserAcceleratorKeysEnabled", {{"0"}}},
        {"Controller.put_Bounds", std::nullopt},
        {"Controller.put_BoundsMode", {{"1"}}},
        {"WebView.add_NavigationCompleted", {{}}},
        {"WebView.add_ProcessFailed", {{}}},
        {"WebView.Navigate", {{start}}},
        {"WebView.add_NavigationStarting", {{}}},
        {"NavigationStarting", {{start}}},
        {"NavigationStartingArgs.get_Uri", {{}}},
        {"WebView.AddHostObjectToScript", {{"nodeJs", "dispatch"}}},
        {"Controller.put_DefaultBackgroundColor", {{"0", "255", "255", "255"}}},
        {"NavigationStarting.Invoke", {{"0x00000000"}}},
        {"NavigationCompleted", {{start, "success"}}},
        {"WebView.ExecuteScript", {{kBridgeScript, "no-handler"}}},
    };
    // The window may hand the browser the focus at any time; that is checked elsewhere.
    std::vector<LogLine> log;
    for (const LogLine& line : run.Log()) {
        if (line.call != "Controller.MoveFocus")
            log.push_back(line);
    }
    ASSERT_GE(log.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(std::to_string(i) + ": " + expected[i].call);
        EXPECT_EQ(expected[i].call, log[i].call);
        if (expected[i].args) {
            EXPECT_EQ(*expected[i].args, log[i].args);
        }
    }
}

TEST(BrowserStartup, BoundsFollowTheClientAreaAndTheBrowserGetsTheFocus) {
    ProgramRun run("wait\t3000\nclose\n");
    ASSERT_TRUE(run.Start());
    ASSERT_FALSE(run.WaitForLog("WebView.ExecuteScript", 20000).call.empty());
    HWND window = run.FindTopWindow("DesktopApp", 5000);
    ASSERT_NE(nullptr, window);
    // A resize reaches the browser as new bounds. The runs share the prefix's settings file, so the
    // window may already have the size an earlier run left: pick one it does not have.
    RECT before{};
    GetWindowRect(window, &before);
    const int width = before.right - before.left == 640 ? 660 : 640;
    SetWindowPos(window, nullptr, 0, 0, width, 480, SWP_NOMOVE | SWP_NOZORDER);
    Sleep(300);
    RECT client{};
    GetClientRect(window, &client);
    const std::vector<LogLine> bounds = Select(run.Log(), "Controller.put_Bounds");
    ASSERT_GE(bounds.size(), 2u);
    const std::vector<std::string> want = {"0", "0", std::to_string(client.right),
                                           std::to_string(client.bottom)};
    EXPECT_EQ(want, bounds.back().args);
    EXPECT_LT(client.right, width);
    const std::vector<LogLine> focus = Select(run.Log(), "Controller.MoveFocus");
    ASSERT_FALSE(focus.empty());
    for (const LogLine& line : focus)
        EXPECT_EQ(std::vector<std::string>{"0"}, line.args);
    // Nothing plays: the focus the window gets (a dialog closing, Alt+Tab) still goes into the page, once.
    SendMessageA(window, WM_SETFOCUS, 0, 0);
    Sleep(300);
    EXPECT_EQ(Select(run.Log(), "Controller.MoveFocus").size(), focus.size() + 1);
    EXPECT_EQ(0u, run.WaitForExit(20000));
}

} // namespace
} // namespace e2e
