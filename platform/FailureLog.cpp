// Writes failures to the debugger and to a size-capped vendrak.log that a user can send.
#include "platform/FailureLog.h"

#include "platform/Handles.h"
#include "platform/NeverDestroyed.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <mutex>
#include <string>
#include <utility>

namespace vendrak {
namespace {

constexpr wchar_t kLogFileName[] = L"\\vendrak.log";
constexpr size_t kMaxWhat = 400;

struct LogFile {
    std::mutex lock;     // appends from several threads would interleave their bytes; one writer at a time
    std::wstring folder; // guarded by lock; empty until the shell names it
};

LogFile& TheLogFile() {
    // Never destroyed: libvlc's threads may still log while the process exits.
    static NeverDestroyed<LogFile> log;
    return log.Get();
}

void AppendToLogFile(const std::string& line) {
    LogFile& log = TheLogFile();
    std::lock_guard guard(log.lock);
    const DWORD attributes =
        log.folder.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(log.folder.c_str());
    // The browser's runtime creates the folder; the log never creates it (nor writes to a drive root).
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        return;
    const std::wstring path = log.folder + kLogFileName;
    const FileHandle owner(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                       OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!owner)
        return;
    const HANDLE file = owner.Get();
    LARGE_INTEGER size{};
    // Start the file again rather than let it grow: the newest failures are the ones worth sending.
    if (GetFileSizeEx(file, &size) && size.QuadPart + static_cast<LONGLONG>(line.size()) > kFailureLogCap) {
        SetFilePointer(file, 0, nullptr, FILE_BEGIN);
        SetEndOfFile(file);
    }
    SetFilePointer(file, 0, nullptr, FILE_END);
    DWORD written = 0;
    // Nowhere to report a failed write of the failure log itself.
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

} // namespace

void SetFailureLogFolder(std::wstring folder) {
    LogFile& log = TheLogFile();
    std::lock_guard guard(log.lock);
    log.folder = std::move(folder);
}

void LogFailure(const char* source, int line, long code, std::string_view what) {
    try {
        char text[kMaxWhat + 128];
        const int whatLength = static_cast<int>(std::min(what.size(), kMaxWhat));
        const int length =
            std::snprintf(text, sizeof(text), "%s(%d): %.*s (0x%08lX)\r\n", source != nullptr ? source : "?",
                          line, whatLength, what.data(), static_cast<unsigned long>(code));
        if (length <= 0)
            return;
        OutputDebugStringA(text);
        AppendToLogFile(std::string(text, std::min(static_cast<size_t>(length), sizeof(text) - 1)));
    } catch (...) {
        // Logging runs inside failure paths and callbacks: it must never add a failure of its own.
    }
}

} // namespace vendrak
