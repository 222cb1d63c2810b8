// The page's configuration-file dialogs (see FileDialogs.h).
#include "bridge/FileDialogs.h"

#include <commdlg.h>

#include "platform/SystemLibrary.h"
#include "services/PagePath.h"
#include "services/TextHelpers.h"

namespace vendrak {
namespace {

// One process-wide flag, touched only by the UI thread: the dialogs run a nested message loop in which
// the page can ask for another dialog, which must not open inside the first.
bool fileDialogBusy = false;

constexpr std::string_view kConfigDescription = "Config Files (";
constexpr std::string_view kAllFiles = "All Files(*.*)";

class BusyScope {
public:
    BusyScope() { fileDialogBusy = true; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;
    ~BusyScope() { fileDialogBusy = false; }
};

// The open dialog moves the process's current folder whatever its flags say; a USB stick browsed would
// stay in use and the page's relative paths would name other files.
class CurrentFolderScope {
public:
    CurrentFolderScope() {
        const DWORD size = GetCurrentDirectoryW(0, nullptr);
        folder_.resize(size);
        if (size == 0 || GetCurrentDirectoryW(size, folder_.data()) != size - 1)
            folder_.clear();
    }
    CurrentFolderScope(const CurrentFolderScope&) = delete;
    CurrentFolderScope& operator=(const CurrentFolderScope&) = delete;
    ~CurrentFolderScope() {
        if (!folder_.empty())
            SetCurrentDirectoryW(folder_.c_str());
    }

private:
    std::wstring folder_;
};

} // namespace

std::string ExtensionsToPattern(std::string_view extensions) {
    std::string pattern;
    while (!extensions.empty()) {
        const auto comma = extensions.find(',');
        pattern += "*.";
        if (comma == std::string_view::npos) {
            pattern += extensions;
            break;
        }
        pattern += extensions.substr(0, comma);
        pattern += ';';
        extensions.remove_prefix(comma + 1);
    }
    return pattern;
}

std::string BuildDialogFilter(std::string_view pattern) {
    std::string filter;
    filter.reserve(kConfigDescription.size() + 2 * pattern.size() + kAllFiles.size() + 7);
    filter += kConfigDescription;
    filter += pattern;
    filter += ')';
    filter += '\0';
    filter += pattern;
    filter += '\0';
    filter += kAllFiles;
    filter += '\0';
    filter += '*';
    filter += '\0';
    // An empty string ends the list; the second zero is a spare terminator.
    filter += '\0';
    filter += '\0';
    return filter;
}

std::wstring DialogInitialFolder(std::string_view utf8Folder) {
    const std::string_view cut = CutPagePath(utf8Folder);
    std::wstring folder = Utf8ToWide(cut.substr(0, cut.find('\0')));
    // One longer than the dialog's path buffer would only overrun it; the dialog then starts in its
    // own default folder instead.
    if (folder.size() >= kDialogPathBuffer)
        return {};
    return folder;
}

std::wstring DefaultExtension(std::string_view utf8Extensions) {
    const std::string_view first =
        utf8Extensions.substr(0, utf8Extensions.find_first_of(std::string_view(",\0", 2)));
    if (first.empty() || first.find_first_of("*?./\\ ") != std::string_view::npos)
        return {};
    return Utf8ToWide(first);
}

std::unique_ptr<FileDialogSetup> MakeFileDialogSetup(FileDialogKind kind, std::string_view utf8Folder,
                                                     std::string_view utf8Extensions, HWND owner) {
    auto setup = std::make_unique<FileDialogSetup>();
    setup->folder = DialogInitialFolder(utf8Folder);
    setup->filter = Utf8ToWide(BuildDialogFilter(ExtensionsToPattern(utf8Extensions)));
    setup->defaultExtension = DefaultExtension(utf8Extensions);

    OPENFILENAMEW& record = setup->record;
    record.lStructSize = sizeof(record);
    record.hwndOwner = owner;
    record.lpstrFilter = setup->filter.c_str();
    record.nFilterIndex = 1;
    record.lpstrFile = setup->path.data();
    record.nMaxFile = kDialogPathBuffer;
    record.lpstrInitialDir = setup->folder.empty() ? nullptr : setup->folder.c_str();
    record.lpstrDefExt = setup->defaultExtension.empty() ? nullptr : setup->defaultExtension.c_str();
    record.Flags = kind == FileDialogKind::Save ? kSaveDialogFlags : kOpenDialogFlags;
    return setup;
}

WindowHandle MakeDialogOwner(HWND mainWindow) {
    RECT area{};
    if (mainWindow != nullptr)
        GetWindowRect(mainWindow, &area);
    const bool topmost =
        mainWindow != nullptr && (GetWindowLongPtrW(mainWindow, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    // Owned by the main window so that it, and the dialog it owns, stay above it; never shown, so the
    // main window is never disabled by the modal dialog.
    return WindowHandle(CreateWindowExW(WS_EX_TOOLWINDOW | (topmost ? WS_EX_TOPMOST : 0), L"STATIC", L"",
                                        WS_POPUP, area.left, area.top, area.right - area.left,
                                        area.bottom - area.top, mainWindow, nullptr,
                                        GetModuleHandleW(nullptr), nullptr));
}

std::wstring RunFileDialog(FileDialogKind kind, std::string_view utf8Folder, std::string_view utf8Extensions,
                           HWND mainWindow) {
    if (fileDialogBusy)
        return std::wstring(kDialogBusy);
    BusyScope busy;
    BOOL chosen = FALSE;
    std::unique_ptr<FileDialogSetup> setup;
    {
        const CurrentFolderScope currentFolder;
        const WindowHandle owner = MakeDialogOwner(mainWindow);
        setup = MakeFileDialogSetup(kind, utf8Folder, utf8Extensions, owner.Get());

        using DialogCall = decltype(&GetOpenFileNameW);
        static const auto save = SystemFunction<DialogCall>(L"comdlg32.dll", "GetSaveFileNameW");
        static const auto open = SystemFunction<DialogCall>(L"comdlg32.dll", "GetOpenFileNameW");
        const DialogCall run = kind == FileDialogKind::Save ? save : open;
        chosen = run != nullptr && run(&setup->record);
    }
    // The hidden owner is gone, so Windows may leave no window active: the keyboard must come back.
    if (mainWindow != nullptr && IsWindowVisible(mainWindow))
        SetForegroundWindow(mainWindow);
    // A failed dialog may leave units in the buffer: with FNERR_BUFFERTOOSMALL its first one holds the
    // size it wanted, which would read as a one-character name.
    auto& path = setup->path;
    if (!chosen || path[0] == L'\0')
        return {};
    path.back() = L'\0';
    return L"/" + std::wstring(path.data());
}

} // namespace vendrak
