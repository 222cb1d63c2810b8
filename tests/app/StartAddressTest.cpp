// The start address the browser host navigates to and the rule that compares navigations with it, and
// the texts the host hands to the browser, byte for byte.
#include "app/BrowserHostTexts.h"
#include "app/StartAddress.h"
#include "platform/ModulePath.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace vendrak {
namespace {

TEST(StartAddress, OnlyAsciiLetterCaseIsIgnored) {
    const std::wstring start = L"https://tv.example.com/App/Index.html";
    struct Case {
        const char* name;
        std::wstring uri;
        bool want;
    };
    const Case cases[] = {
        {"same", start, true},
        {"upper case", L"HTTPS://TV.EXAMPLE.COM/APP/INDEX.HTML", true},
        {"lower case", L"https://tv.example.com/app/index.html", true},
        {"trailing slash", start + L"/", false},
        {"query", start + L"?a=1", false},
        {"fragment", start + L"#x", false},
        {"empty query", start + L"?", false},
        {"leading blank", L" " + start, false},
        {"one shorter", start.substr(0, start.size() - 1), false},
        {"empty", L"", false},
        {"percent-encoded letter", L"https://tv.example.com/%41pp/Index.html", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.want, IsStartAddress(c.uri, start));
    }
    // Letters beyond ASCII are compared exactly.
    EXPECT_TRUE(IsStartAddress(L"file:///C:/tv/\u00e4.html", L"FILE:///c:/TV/\u00e4.html"));
    EXPECT_FALSE(IsStartAddress(L"file:///C:/tv/\u00c4.html", L"file:///C:/tv/\u00e4.html"));
    // Only letters fold: '@' (0x40) and '`' (0x60), '[' (0x5B) and '{' (0x7B) differ by the case bit.
    EXPECT_FALSE(IsStartAddress(L"a@", L"a`"));
    EXPECT_FALSE(IsStartAddress(L"a[", L"a{"));
    EXPECT_TRUE(IsStartAddress(L"", L""));
}

TEST(StartAddress, DefaultIsTheDemoPageBesideTheProgram) {
    const std::wstring folder = ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(L'\\', folder.back());
    // Written out by hand, so that a fault in the address rules shows here too.
    if (folder.find_first_not_of(L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789:\\_.-") !=
        std::wstring::npos)
        GTEST_SKIP() << "the build folder holds characters an address escapes";
    std::wstring want = L"file:///" + folder + L"/web/index.html";
    std::replace(want.begin(), want.end(), L'\\', L'/');
    EXPECT_EQ(AssembleStartAddress(), want);
}

TEST(BrowserHostTexts, ExactTextsHandedToTheBrowser) {
    EXPECT_EQ(55u, kBrowserArguments.size());
    EXPECT_EQ(L"--disable-web-security --allow-running-insecure-content", kBrowserArguments);
    EXPECT_EQ(15u, kUserAgentSuffix.size());
    EXPECT_EQ(L" vendrak/1.0.0 ", kUserAgentSuffix);
    EXPECT_EQ(std::wstring(L"nodeJs"), kHostObjectName);
    EXPECT_EQ(std::wstring(L"{\"cacheDisabled\":true}"), kDisableCacheParameters);
    EXPECT_EQ(22u, std::wstring(kDisableCacheParameters).size());
    ASSERT_EQ(240u, kKeyboardBridgeScript.size());
    EXPECT_EQ(
        L"document.addEventListener('keydown', function(event) {chrome.webview.hostObjects.sync.nodeJs."
        L"presKey(0,event.keyCode);});document.addEventListener('keyup', function(event) {chrome.webview."
        L"hostObjects.sync.nodeJs.presKey(1,event.keyCode);});",
        kKeyboardBridgeScript);
}

} // namespace
} // namespace vendrak
