// Start-up on a real window: class, title, style, menu, placement, the order of the steps, failures.
#include "app/AppState.h"
#include "app/MainWindow.h"
#include "app/Startup.h"
#include "resources/ResourceIds.h"
#include "tests/app/WindowTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

namespace vendrak {
namespace {

struct StarterSeen {
    HWND window = nullptr;
    bool visible = true;
    RECT rect{};
    int calls = 0;
};
StarterSeen g_starter;

void RecordingStarter(HWND window) {
    ++g_starter.calls;
    g_starter.window = window;
    g_starter.visible = IsWindowVisible(window) != FALSE;
    g_starter.rect = OuterRect(window);
}

class StartupTest : public testing::Test {
protected:
    void SetUp() override {
        // Other tests of this program registered the class already; start-up registers it itself.
        UnregisterClassA(kWindowClassName, GetModuleHandleA(nullptr));
        g_starter = StarterSeen{};
    }
    void TearDown() override {
        if (window != nullptr)
            DestroyMainWindow(window);
        RemoveTree(TestSettingsFolder());
        UnregisterClassA(kWindowClassName, GetModuleHandleA(nullptr));
    }
    HWND Open() {
        window = OpenMainWindow(GetModuleHandleA(nullptr), SW_SHOWNORMAL, RecordingStarter);
        return window;
    }

    HWND window = nullptr;
};

std::string MenuText(HMENU menu, UINT position) {
    char text[128] = {};
    GetMenuStringA(menu, position, text, sizeof(text), MF_BYPOSITION);
    return text;
}

TEST_F(StartupTest, MainWindowAsTheUserFirstSeesIt) {
    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(App().mainWindow, window);
    char className[64] = {};
    GetClassNameA(window, className, sizeof(className));
    EXPECT_STREQ(className, "DesktopApp");
    char title[64] = {};
    GetWindowTextA(window, title, sizeof(title));
    EXPECT_STREQ(title, "Vendrak for Windows");
    const LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
    EXPECT_EQ(style & WS_OVERLAPPEDWINDOW, WS_OVERLAPPEDWINDOW);
    EXPECT_EQ(style & WS_POPUP, 0);
    EXPECT_EQ(GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(GetMenu(window), nullptr) << "no menu bar at start";
    EXPECT_NE(GetClassLongPtrA(window, GCLP_HBRBACKGROUND), 0);
    EXPECT_EQ(GetClassLongPtrA(window, GCL_STYLE), CS_HREDRAW | CS_VREDRAW);

    RECT r = OuterRect(window);
    EXPECT_EQ(r.left, 38);
    EXPECT_EQ(r.top, 22);
    EXPECT_EQ(r.right - r.left, 1079);
    EXPECT_EQ(r.bottom - r.top, 636);
}

// The icon group the class loads, read as the loader reads it: an image for the title bar's small size
// and for the taskbar's, each present as an icon resource of its own.
TEST_F(StartupTest, ProgramIconIsInTheProgramAndOnTheClass) {
    const HMODULE program = GetModuleHandleA(nullptr);
    const HRSRC group =
        FindResourceA(program, MAKEINTRESOURCEA(IDI_VENDRAK), MAKEINTRESOURCEA(14)); // RT_GROUP_ICON
    ASSERT_NE(group, nullptr) << "icon group " << IDI_VENDRAK << " is missing from the program";
    const auto directory = static_cast<PBYTE>(LockResource(LoadResource(program, group)));
    ASSERT_NE(directory, nullptr);
    for (const int size : {16, 32, 48}) {
        SCOPED_TRACE(size);
        const int id = LookupIconIdFromDirectoryEx(directory, TRUE, size, size, LR_DEFAULTCOLOR);
        ASSERT_NE(id, 0);
        const HRSRC image = FindResourceA(program, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(3)); // RT_ICON
        ASSERT_NE(image, nullptr);
        EXPECT_GT(SizeofResource(program, image), 40u) << "more than a bitmap header";
    }

    ASSERT_NE(Open(), nullptr);
    if (LoadIconA(nullptr, MAKEINTRESOURCEA(32512)) == nullptr) // IDI_APPLICATION
        GTEST_SKIP() << "this Wine loads no icon at all (LoadIcon of the system's own icon is NULL, as in "
                        "its wow64 mode), so the class's icon cannot be checked here";
    EXPECT_NE(GetClassLongPtrA(window, GCLP_HICON), 0);
    EXPECT_NE(GetClassLongPtrA(window, GCLP_HICONSM), 0);
}

TEST_F(StartupTest, KeptMenuIsTheResourceMenuByteForByte) {
    ASSERT_NE(Open(), nullptr);
    const HMENU menu = App().savedMenu;
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(GetMenuItemCount(menu), 1);
    EXPECT_EQ(MenuText(menu, 0), "Main");
    const HMENU popup = GetSubMenu(menu, 0);
    ASSERT_EQ(GetMenuItemCount(popup), 2);
    EXPECT_EQ(MenuText(popup, 0), "Toggle Full Screen F11");
    EXPECT_EQ(MenuText(popup, 1), "Always on Top      F12");
    EXPECT_EQ(GetMenuItemID(popup, 0), static_cast<UINT>(IDM_TOGGLE_FULL_SCREEN));
    EXPECT_EQ(GetMenuItemID(popup, 1), static_cast<UINT>(IDM_ALWAYS_ON_TOP));
}

TEST_F(StartupTest, PlacedFromTheSettingsFileBeforePlayersAndShowing) {
    CreateDirectoryW(TestSettingsFolder().c_str(), nullptr);
    WriteWholeFile(TestSettingsFolder() + L"\\vendrak.ini", "100 200 800 600");
    ASSERT_NE(Open(), nullptr);
    const RECT r = OuterRect(window);
    EXPECT_EQ(r.left, 100);
    EXPECT_EQ(r.top, 200);
    EXPECT_EQ(r.right, 900);
    EXPECT_EQ(r.bottom, 800);
    EXPECT_EQ(g_starter.calls, 1);
    EXPECT_EQ(g_starter.window, window);
    EXPECT_FALSE(g_starter.visible) << "players start before the window is shown";
    EXPECT_EQ(g_starter.rect.left, 100) << "and after it was placed";
}

// Reads the message box's text, then closes it, from another thread (the box blocks the UI thread).
void AnswerMessageBox(std::string& caption, std::string& text) {
    for (int attempt = 0; attempt < 500; ++attempt) {
        const HWND box = FindWindowA("#32770", nullptr);
        if (box != nullptr) {
            char buffer[256] = {};
            GetWindowTextA(box, buffer, sizeof(buffer));
            caption = buffer;
            EnumChildWindows(
                box,
                [](HWND child, LPARAM found) CALLBACK -> BOOL {
                    char childClass[32] = {};
                    GetClassNameA(child, childClass, sizeof(childClass));
                    char childText[256] = {};
                    GetWindowTextA(child, childText, sizeof(childText));
                    if (lstrcmpiA(childClass, "Static") == 0 && childText[0] != '\0')
                        *reinterpret_cast<std::string*>(found) = childText;
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(&text));
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            return;
        }
        Sleep(20);
    }
}

TEST_F(StartupTest, ClassRegistrationFailureTellsTheUser) {
    // A class of that name registered by someone else makes RegisterClassExA fail.
    WNDCLASSA taken{};
    taken.lpfnWndProc = DefWindowProcA;
    taken.hInstance = GetModuleHandleA(nullptr);
    taken.lpszClassName = kWindowClassName;
    ASSERT_NE(RegisterClassA(&taken), 0);
    std::string caption;
    std::string text;
    std::thread answer([&] { AnswerMessageBox(caption, text); });
    EXPECT_EQ(Open(), nullptr);
    answer.join();
    EXPECT_EQ(caption, "Windows Desktop Guided Tour");
    EXPECT_EQ(text, "Call to RegisterClassEx failed!");
    EXPECT_EQ(g_starter.calls, 0) << "nothing else is started";
}

} // namespace
} // namespace vendrak
