// The two configuration-file dialogs the page opens (8-bit common dialogs) and their filter text.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include <string>
#include <string_view>

namespace vendrak {

enum class FileDialogKind { Save, Open };

// The answer while another dialog of the page is still open.
inline constexpr std::string_view kDialogBusy = "BUSY";
// The size of the dialog's file-name buffer, in bytes, terminator included.
inline constexpr DWORD kDialogPathBuffer = 260;

// Save: confirm replacing a file, hide "read only", the folder must exist. Open: the file must exist.
inline constexpr DWORD kSaveDialogFlags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
inline constexpr DWORD kOpenDialogFlags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;

// Any thread. "cfg,json" -> "*.cfg;*.json"; "" -> ""; ",cfg" -> "*.;*.cfg"; "cfg," -> "*.cfg;".
std::string ExtensionsToPattern(std::string_view extensions);

// Any thread. The dialog's filter: "Config Files (" P ")", P, "All Files(*.*)", "*", each followed by
// its zero byte, then two more zero bytes. The string holds exactly those bytes.
std::string BuildDialogFilter(std::string_view pattern);

// Any thread. The initial folder from the page's folder text: what follows its first "/" (all of it
// when there is none), converted to the ANSI code page; empty (the dialog's own choice) when that does
// not fit the path buffer or holds characters the code page lacks.
std::string DialogInitialFolder(std::string_view utf8Folder);

// UI thread. Runs the modal dialog (its own message loop keeps the page's calls flowing) and returns
// kDialogBusy when a dialog of the page is already open, "" when the user cancelled or the dialog
// failed, else "/" followed by the chosen path (ANSI code page). Both kinds share the busy flag.
std::string RunFileDialog(FileDialogKind kind, std::string_view utf8Folder, std::string_view utf8Extensions);

} // namespace vendrak
