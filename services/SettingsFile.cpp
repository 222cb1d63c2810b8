// The settings folder and the settings file "vendrak.ini" with the main window's placement.
#include "services/SettingsFile.h"

#include "platform/Handles.h"
#include "services/FileReplace.h"
#include "services/PlacementText.h"

#include <knownfolders.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdint>
#include <string>

namespace vendrak {
namespace {

constexpr wchar_t kFolderSuffix[] = L"\\vendrak-32";
constexpr wchar_t kFileName[] = L"\\vendrak.ini";
// Four numbers need a few bytes; a larger file is damaged, and nothing past this is ever a number.
constexpr DWORD kMaxReadBytes = 16 * 1024 * 1024;

FileHandle OpenFile(const std::wstring& path, DWORD access, DWORD disposition) {
    return FileHandle(CreateFileW(path.c_str(), access, FILE_SHARE_READ, nullptr, disposition,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
}

std::string ReadSettingsText(const std::wstring& path) {
    const FileHandle file = OpenFile(path, GENERIC_READ, OPEN_EXISTING);
    if (!file)
        return {};
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size))
        return {};
    std::string text(static_cast<size_t>(std::min<LONGLONG>(size.QuadPart, kMaxReadBytes)), '\0');
    DWORD read = 0;
    if (!text.empty() && !ReadFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &read, nullptr))
        return {};
    text.resize(read);
    return text;
}

// A rectangle that lies on no monitor (one was unplugged since) would open the window out of reach.
// Sizes below one pixel are measured as one, so that a point on a screen still counts.
bool TouchesAnyMonitor(const WindowPlacement& placement) {
    const int64_t right = int64_t{placement.left} + std::max(placement.width, 1);
    const int64_t bottom = int64_t{placement.top} + std::max(placement.height, 1);
    if (right > INT32_MAX || bottom > INT32_MAX)
        return false;
    const RECT rect{placement.left, placement.top, static_cast<LONG>(right), static_cast<LONG>(bottom)};
    return MonitorFromRect(&rect, MONITOR_DEFAULTTONULL) != nullptr;
}

// The outer rectangle to remember. A minimised window reports the system's off-screen placeholder
// (-32000), so its restored rectangle is taken instead; GetWindowPlacement gives that one in workspace
// coordinates (relative to the work area, which a taskbar on the left or top shifts), hence the offset.
RECT RectangleToSave(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    if (!IsIconic(window) || !GetWindowPlacement(window, &placement))
        return rect;
    rect = placement.rcNormalPosition;
    if ((GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0)
        return rect; // tool windows get screen coordinates
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    if (GetMonitorInfoA(MonitorFromRect(&rect, MONITOR_DEFAULTTOPRIMARY), &monitor))
        OffsetRect(&rect, monitor.rcWork.left - monitor.rcMonitor.left,
                   monitor.rcWork.top - monitor.rcMonitor.top);
    return rect;
}

} // namespace

std::wstring GetSettingsFolder() {
    wchar_t* path = nullptr;
    const HRESULT result = SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &path);
    // The buffer is freed whatever the result: the shell may allocate it even when it fails.
    const TaskMemString owner(path);
    if (FAILED(result) || path == nullptr)
        return {};
    return std::wstring(path) + kFolderSuffix;
}

void LoadWindowPlacement(HWND window) {
    LoadWindowPlacementFrom(window, GetSettingsFolder());
}

void SaveWindowPlacement(HWND window) {
    // A failure keeps the old file; there is nobody to tell at shutdown.
    SaveWindowPlacementIn(window, GetSettingsFolder());
}

void LoadWindowPlacementFrom(HWND window, const std::wstring& folder) {
    WindowPlacement placement = ParsePlacement(ReadSettingsText(folder + kFileName));
    if (!TouchesAnyMonitor(placement))
        placement = WindowPlacement{};
    // Also without a file: the window was created 1200x900 and takes the default placement.
    SetWindowPos(window, nullptr, placement.left, placement.top, placement.width, placement.height,
                 SWP_NOZORDER);
}

bool SaveWindowPlacementIn(HWND window, const std::wstring& folder) {
    const RECT rect = RectangleToSave(window);
    const WindowPlacement placement{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
    return ReplaceFileContent(folder + kFileName, FormatPlacement(placement));
}

} // namespace vendrak
