// The system calls behind the system-information texts, as replaceable calls (the tests' seam).
#pragma once

#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>

#include <functional>
#include <string>

namespace vendrak {

// All functions: any thread, no state, results owned by the caller.

// GetAdaptersInfo's shape: fills the buffer (of *size bytes) or answers ERROR_BUFFER_OVERFLOW and the
// size it needs in *size.
using AdaptersInfoCall = std::function<ULONG(IP_ADAPTER_INFO* buffer, ULONG* size)>;

// The first adapter's hardware address text, "" when it has none, or the adapter error text.
std::string MacAddressTextFrom(const AdaptersInfoCall& getAdaptersInfo);

// The file version from the version resource of the program file at path, or "Unknown".
std::string FileVersionTextOf(const std::wstring& path);

// ntdll's RtlGetNtVersionNumbers: the build number comes back with flag bits in its high nibble.
using NtVersionNumbersCall = void(WINAPI*)(DWORD* major, DWORD* minor, DWORD* build);

struct WindowsVersionCalls {
    std::function<HMODULE()> findNtdll;                           // null: not loaded
    std::function<NtVersionNumbersCall(HMODULE)> findVersionCall; // null: no such export
    std::function<WORD()> processorArchitecture;                  // PROCESSOR_ARCHITECTURE_*
};

// The Windows version text from these calls; the real ones are WindowsVersionCallsOfSystem().
std::string WindowsVersionTextFrom(const WindowsVersionCalls& calls);
WindowsVersionCalls WindowsVersionCallsOfSystem();

} // namespace vendrak
