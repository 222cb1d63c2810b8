// The shell's failure log: visible in a debugger and kept in a small vendrak.log in a folder it is told.
#pragma once

#include <string>
#include <string_view>

namespace vendrak {

// Any thread. Records "source(line): what (0xcode)" with OutputDebugStringA and appends it to
// vendrak.log in the folder given to SetFailureLogFolder when that folder exists; the file is emptied
// before it would pass kFailureLogCap bytes. Never throws, never shows anything to the user.
void LogFailure(const char* source, int line, long code, std::string_view what);

// Any thread; the shell calls it once at start-up with its settings folder. Until then, and while the
// folder does not exist, failures go only to the debugger output. The log never creates the folder.
void SetFailureLogFolder(std::wstring folder);

inline constexpr unsigned long kFailureLogCap = 64 * 1024;

} // namespace vendrak

// `source` names the reporting module (for example "HostObjectNodeJsImpl"); the line is the caller's.
#define VENDRAK_LOG_FAILURE(source, code, what) ::vendrak::LogFailure((source), __LINE__, (code), (what))
