// closeApp from the page closes the shell's real main window: its placement is saved and the message
// loop ends with exit code 0.
#include "BridgeTestSupport.h"

#include "app/AppState.h"
#include "app/MainWindow.h"
#include "app/MessageLoop.h"
#include "services/SettingsFile.h"

namespace vendrak::test {
namespace {

using CloseAppTest = HostFixture;

TEST_F(CloseAppTest, ClosesTheMainWindowAndEndsTheLoopWithZero) {
    const std::wstring folder = GetSettingsFolder();
    ASSERT_FALSE(folder.empty());
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring settings = folder + L"\\vendrak.ini";
    DeleteFileW(settings.c_str());

    HINSTANCE instance = GetModuleHandleA(nullptr);
    ASSERT_NE(RegisterMainWindowClass(instance), 0);
    HWND window = CreateMainWindow(instance);
    ASSERT_NE(window, nullptr);
    App().mainWindow = window;
    mainPlayer->videoWindow = window;

    EXPECT_EQ(Call(dispatch.Get(), L"closeApp").hr, S_OK);
    EXPECT_TRUE(IsWindow(window)) << "closed inside the page's call";
    EXPECT_EQ(RunMessageLoop(window), 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_NE(GetFileAttributesW(settings.c_str()), INVALID_FILE_ATTRIBUTES) << "placement not saved";
    App().mainWindow = mainWindow;
    mainPlayer->videoWindow = mainWindow;
}

} // namespace
} // namespace vendrak::test
