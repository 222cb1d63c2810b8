// The whole program (without a browser) under Wine: it comes up, shows its window and exits 0 on close.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

struct Search {
    DWORD processId;
    HWND found;
};

HWND FindMainWindowOf(DWORD processId) {
    Search search{processId, nullptr};
    EnumWindows(
        [](HWND window, LPARAM context) CALLBACK -> BOOL {
            auto* s = reinterpret_cast<Search*>(context);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            char className[64] = {};
            GetClassNameA(window, className, sizeof(className));
            if (owner == s->processId && std::string(className) == "DesktopApp" && IsWindowVisible(window)) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

TEST(Program, ComesUpShowsItsWindowAndExitsZeroOnClose) {
    char command[] = "vendrak_nobrowser.exe";
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(
        CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
    // Idle means start-up has finished and the message loop waits for input.
    EXPECT_EQ(WaitForInputIdle(process.hProcess, 30000), 0u);
    HWND window = nullptr;
    for (int attempt = 0; attempt < 300 && window == nullptr; ++attempt) {
        Sleep(50);
        window = FindMainWindowOf(process.dwProcessId);
    }
    ASSERT_NE(window, nullptr) << "no visible DesktopApp window";
    char title[64] = {};
    GetWindowTextA(window, title, sizeof(title));
    EXPECT_STREQ(title, "Vendrak for Windows");
    // The window shows before its menu is detached (start-up order); the detach follows at once.
    for (int attempt = 0; attempt < 200 && GetMenu(window) != nullptr; ++attempt)
        Sleep(50);
    EXPECT_EQ(GetMenu(window), nullptr);

    // Alt on the window itself shows the menu bar; it is its own thread, so send through the queue.
    SendMessageA(window, WM_SYSKEYDOWN, VK_MENU, 0x20380001);
    EXPECT_NE(GetMenu(window), nullptr);

    PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForSingleObject(process.hProcess, 30000), WAIT_OBJECT_0);
    DWORD exitCode = 99;
    GetExitCodeProcess(process.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

} // namespace
