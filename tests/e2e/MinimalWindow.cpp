// The start-up benchmark's baseline: a minimal window program that signals its first message-loop pass
// through the named event the benchmark waits on, then ends.
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "MinimalWindow";
    RegisterClassA(&windowClass);
    const HWND window = CreateWindowExA(0, "MinimalWindow", "", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                        CW_USEDEFAULT, 640, 480, nullptr, nullptr, instance, nullptr);
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    MSG message{};
    PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);
    if (const HANDLE passed = OpenEventA(EVENT_MODIFY_STATE, FALSE, "VendrakBenchFirstPass")) {
        SetEvent(passed);
        CloseHandle(passed);
    }
    DestroyWindow(window);
    return 0;
}
