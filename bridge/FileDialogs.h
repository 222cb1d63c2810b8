// The two configuration-file dialogs the page opens (wide common dialogs) and what they are built from.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "platform/Handles.h"

namespace vendrak {

enum class FileDialogKind { Save, Open };

// The answer while another dialog of the page is still open.
inline constexpr std::wstring_view kDialogBusy = L"BUSY";
// The size of the dialog's file-name buffer, in UTF-16 units, terminator included.
inline constexpr DWORD kDialogPathBuffer = 260;

// Save: confirm replacing a file, hide "read only", the folder must exist. Open: the file must exist.
// Neither may move the process's current folder (the open dialog ignores the request, hence the
// restore around both).
inline constexpr DWORD kSaveDialogFlags =
    OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
inline constexpr DWORD kOpenDialogFlags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR;

// Any thread. "cfg,json" -> "*.cfg;*.json"; "" -> ""; ",cfg" -> "*.;*.cfg"; "cfg," -> "*.cfg;".
std::string ExtensionsToPattern(std::string_view extensions);

// Any thread. The dialog's filter: "Config Files (" P ")", P, "All Files(*.*)", "*", each followed by
// its zero byte, then two more zero bytes. The string holds exactly those bytes.
std::string BuildDialogFilter(std::string_view pattern);

// Any thread. The initial folder from the page's folder text: what follows its first "/" (all of it
// when there is none); empty (the dialog's own choice) when that does not fit the path buffer.
std::wstring DialogInitialFolder(std::string_view utf8Folder);

// Any thread. The extension the dialog appends to a name typed without one, so that the overwrite
// question sees the real name: the list's first, when it is a plain extension ("cfg,json" -> "cfg");
// empty for "", ",cfg" or a pattern such as "*".
std::wstring DefaultExtension(std::string_view utf8Extensions);

// Everything one dialog's record points into, kept together for as long as the dialog runs.
struct FileDialogSetup {
    std::wstring filter;
    std::wstring folder;
    std::wstring defaultExtension;
    std::array<wchar_t, kDialogPathBuffer> path{};
    OPENFILENAMEW record{};
};

// Any thread. The record for the page's folder and extension texts, owned by `owner`.
std::unique_ptr<FileDialogSetup> MakeFileDialogSetup(FileDialogKind kind, std::string_view utf8Folder,
                                                     std::string_view utf8Extensions, HWND owner);

// UI thread. The hidden window a dialog is owned by: placed over the main window and topmost exactly when
// it is, so the dialog opens above an always-on-top main window while the main window stays enabled
// (the page keeps calling). Null when the window cannot be made.
WindowHandle MakeDialogOwner(HWND mainWindow);

// UI thread. Runs the modal dialog (its own message loop keeps the page's calls flowing) and returns
// kDialogBusy when a dialog of the page is already open, "" when the user cancelled or the dialog
// failed, else "/" followed by the chosen path. Both kinds share the busy flag. The current folder is
// the same afterwards, and the main window (when visible) is the foreground window again.
std::wstring RunFileDialog(FileDialogKind kind, std::string_view utf8Folder, std::string_view utf8Extensions,
                           HWND mainWindow);

} // namespace vendrak
