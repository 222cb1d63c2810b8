// The page's configuration-file dialogs (see FileDialogs.h).
#include "bridge/FileDialogs.h"

#include <commdlg.h>

#include <array>

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

std::string DialogInitialFolder(std::string_view utf8Folder) {
    const std::string_view cut = CutPagePath(utf8Folder);
    if (cut.empty())
        return {};
    std::string folder = Utf8ToAnsi(std::string(cut));
    // "?" cannot stand in a path: it is what the conversion leaves for a character the code page
    // lacks. Such a folder, or one longer than the dialog's path buffer, would only misdirect or
    // overrun the dialog, which then starts in its own default folder instead.
    if (folder.size() >= kDialogPathBuffer || folder.find('?') != std::string::npos)
        return {};
    return folder;
}

std::string RunFileDialog(FileDialogKind kind, std::string_view utf8Folder, std::string_view utf8Extensions) {
    std::array<char, kDialogPathBuffer> path{};
    if (fileDialogBusy)
        return std::string(kDialogBusy);
    BusyScope busy;

    const std::string folder = DialogInitialFolder(utf8Folder);
    const std::string filter = BuildDialogFilter(Utf8ToAnsi(ExtensionsToPattern(utf8Extensions)));

    OPENFILENAMEA record{};
    record.lStructSize = sizeof(record);
    // No owner: the main window stays enabled, so the page keeps calling while the dialog is open.
    record.hwndOwner = nullptr;
    record.lpstrFilter = filter.c_str();
    record.nFilterIndex = 1;
    record.lpstrFile = path.data();
    record.nMaxFile = kDialogPathBuffer;
    record.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    record.Flags = kind == FileDialogKind::Save ? kSaveDialogFlags : kOpenDialogFlags;

    using DialogCall = decltype(&GetOpenFileNameA);
    static const auto save = SystemFunction<DialogCall>(L"comdlg32.dll", "GetSaveFileNameA");
    static const auto open = SystemFunction<DialogCall>(L"comdlg32.dll", "GetOpenFileNameA");
    const DialogCall run = kind == FileDialogKind::Save ? save : open;
    const BOOL chosen = run != nullptr && run(&record);
    // A failed dialog may leave bytes in the buffer: with FNERR_BUFFERTOOSMALL its first two bytes
    // hold the size it wanted, which would read as a one- or two-character name.
    if (!chosen || path[0] == '\0')
        return {};
    path.back() = '\0';
    return "/" + std::string(path.data());
}

} // namespace vendrak
