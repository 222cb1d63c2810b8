// Replacing a file's whole content so that a failure at any point leaves the old file as it was.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace vendrak {

// The write call ReplaceFileContent makes for each piece (WriteFile's shape); tests pass one that fails.
using WritePiece = BOOL(WINAPI*)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED);

// Any thread. Writes bytes to "<path>.<process id>.tmp" beside the file, flushes it, then puts it in the
// file's place (ReplaceFileW for an existing file, keeping its attributes; a move for a new one).
// Refused, touching nothing: a read-only file, a folder, a device, a missing folder. Returns whether
// the new content is in place; on failure the old file is untouched, the temporary file is gone and
// the failure log has one line naming the path and the error.
bool ReplaceFileContent(const std::wstring& path, std::string_view bytes, WritePiece write = WriteFile);

} // namespace vendrak
