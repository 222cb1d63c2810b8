// closeApp from the page closes the shell's real main window: its placement is saved and the message
// loop ends with exit code 0.
#include "app/MessageLoop.h"
#include "bridge/HostObjectNodeJs.h"
#include "tests/app/WindowTestSupport.h"

#include <gtest/gtest.h>

#include <utility>

namespace vendrak {
namespace {

TEST(CloseAppTest, ClosesTheMainWindowAndEndsTheLoopWithZero) {
    CreateDirectoryW(TestSettingsFolder().c_str(), nullptr);
    const std::wstring settings = TestSettingsFolder() + L"\\vendrak.ini";
    DeleteFileW(settings.c_str());
    const HWND window = CreateTestMainWindow();
    ASSERT_NE(window, nullptr);
    // Without players the page's close names the main window the shell handed over.
    HostContext context;
    context.mainWindow = window;
    const auto host = CreateHostObjectNodeJs(std::move(context));
    ASSERT_NE(host, nullptr);

    EXPECT_EQ(host->closeApp(), S_OK);
    EXPECT_TRUE(IsWindow(window)) << "closed inside the page's call";
    EXPECT_EQ(RunMessageLoop(window), 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_NE(GetFileAttributesW(settings.c_str()), INVALID_FILE_ATTRIBUTES) << "placement not saved";
    DestroyMainWindow(window);
    RemoveTree(TestSettingsFolder());
}

} // namespace
} // namespace vendrak
