// Whole-file replacement through a flushed temporary file (see FileReplace.h).
#include "services/FileReplace.h"

#include "platform/FailureLog.h"
#include "platform/Handles.h"
#include "services/TextHelpers.h"

#include <algorithm>

namespace vendrak {
namespace {

constexpr DWORD kPieceBytes = 64 * 1024;

bool Fail(const std::wstring& path, const char* step, DWORD error) {
    VENDRAK_LOG_FAILURE("FileReplace", static_cast<long>(HRESULT_FROM_WIN32(error)),
                        std::string(step) + " " + WideToUtf8(path));
    return false;
}

// A name that opens as a console, a pipe or a port must never be written: the write could block for
// ever, and "CON.1.tmp" names the console too.
bool IsDiskFile(const FileHandle& file) {
    return GetFileType(file.Get()) == FILE_TYPE_DISK;
}

bool WriteAll(HANDLE file, std::string_view bytes, WritePiece write) {
    while (!bytes.empty()) {
        const auto size = static_cast<DWORD>(std::min<size_t>(bytes.size(), kPieceBytes));
        DWORD written = 0;
        if (!write(file, bytes.data(), size, &written, nullptr) || written != size)
            return false;
        bytes.remove_prefix(size);
    }
    return FlushFileBuffers(file) != FALSE;
}

} // namespace

bool ReplaceFileContent(const std::wstring& path, std::string_view bytes, WritePiece write) {
    if (path.empty())
        return Fail(path, "no file named", ERROR_INVALID_NAME);
    const DWORD attributes = GetFileAttributesW(path.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    // Windows refuses to replace a read-only file; Wine running as root would replace it anyway.
    if (exists && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0)
        return Fail(path, "read-only or a folder:", ERROR_ACCESS_DENIED);
    if (exists) {
        const FileHandle old(CreateFileW(path.c_str(), 0,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!old || !IsDiskFile(old))
            return Fail(path, "not a disk file:", old ? ERROR_INVALID_NAME : GetLastError());
    }

    const std::wstring temporary = path + L"." + std::to_wstring(GetCurrentProcessId()) + L".tmp";
    bool written = false;
    DWORD error = ERROR_SUCCESS;
    {
        const FileHandle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file)
            return Fail(path, "cannot create the temporary file for", GetLastError());
        if (!IsDiskFile(file))
            return Fail(path, "not a disk file:", ERROR_INVALID_NAME);
        written = WriteAll(file.Get(), bytes, write);
        error = GetLastError();
    }
    if (written) {
        // ReplaceFileW keeps the old file's attributes on Windows; Wine's drops them, so they are put back.
        const bool replaced =
            exists ? ReplaceFileW(path.c_str(), temporary.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                                  nullptr, nullptr) != FALSE
                   : MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH) != FALSE;
        error = GetLastError();
        if (replaced) {
            if (exists && GetFileAttributesW(path.c_str()) != attributes)
                SetFileAttributesW(path.c_str(), attributes);
            return true;
        }
    }
    DeleteFileW(temporary.c_str());
    return Fail(path, written ? "cannot replace" : "cannot write",
                error == ERROR_SUCCESS ? ERROR_WRITE_FAULT : error);
}

} // namespace vendrak
