// The machine facts the page asks for, from IP Helper, the version resource and ntdll.
#include "services/SystemInfo.h"

#include "services/SystemInfoCalls.h"
#include "services/SystemInfoText.h"

#include "platform/ModulePath.h"
#include "platform/SystemLibrary.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <span>
#include <vector>

namespace vendrak {
namespace {

// GetAdaptersInfo answers ERROR_BUFFER_OVERFLOW with the size it needs, and is called once more with
// that size. The second answer is final: an adapter appearing between the two calls ends in the
// overflow code rather than a third round.
constexpr int kAdapterCallRounds = 2;

} // namespace

std::string MacAddressTextFrom(const AdaptersInfoCall& getAdaptersInfo) {
    // Records, not bytes, so the list is aligned for IP_ADAPTER_INFO.
    std::vector<IP_ADAPTER_INFO> records;
    ULONG code = ERROR_BUFFER_OVERFLOW;
    ULONG size = sizeof(IP_ADAPTER_INFO);
    for (int round = 0; round < kAdapterCallRounds && code == ERROR_BUFFER_OVERFLOW; ++round) {
        const size_t have = records.size() * sizeof(IP_ADAPTER_INFO);
        if (size <= have)
            break; // asked again for no more room: keep its answer instead of calling in a circle
        try {
            records.resize((size + sizeof(IP_ADAPTER_INFO) - 1) / sizeof(IP_ADAPTER_INFO));
        } catch (const std::bad_alloc&) {
            return AdapterErrorText(ERROR_NOT_ENOUGH_MEMORY);
        }
        size = static_cast<ULONG>(records.size() * sizeof(IP_ADAPTER_INFO));
        code = getAdaptersInfo(records.data(), &size);
    }
    if (code != ERROR_SUCCESS)
        return AdapterErrorText(code);
    // Only the first record counts, whatever its type or state; its Next link is not followed.
    const IP_ADAPTER_INFO& first = records.front();
    const size_t length = std::min<size_t>(first.AddressLength, sizeof first.Address);
    return HardwareAddressText(std::span<const std::uint8_t>(first.Address, length));
}

std::string FileVersionTextOf(const std::wstring& path) {
    const std::string unknown(kUnknownVersionText);
    DWORD ignored = 0;
    const DWORD size = path.empty() ? 0 : GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0)
        return unknown;
    std::vector<std::uint8_t> block(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, block.data()))
        return unknown;
    void* value = nullptr;
    UINT valueSize = 0;
    if (!VerQueryValueW(block.data(), L"\\", &value, &valueSize) || value == nullptr ||
        valueSize < sizeof(VS_FIXEDFILEINFO))
        return unknown;
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    if (fixed->dwSignature != 0xFEEF04BD) // a damaged resource
        return unknown;
    return FileVersionText(fixed->dwFileVersionMS, fixed->dwFileVersionLS);
}

std::string WindowsVersionTextFrom(const WindowsVersionCalls& calls) {
    const HMODULE ntdll = calls.findNtdll();
    if (ntdll == nullptr)
        return std::string(kWindowsModuleMissingText);
    const NtVersionNumbersCall versionNumbers = calls.findVersionCall(ntdll);
    if (versionNumbers == nullptr)
        return std::string(kWindowsCallMissingText);
    DWORD major = 0;
    DWORD minor = 0;
    DWORD build = 0; // not used: only major and minor choose the name
    versionNumbers(&major, &minor, &build);
    return WindowsVersionText(major, minor, calls.processorArchitecture());
}

WindowsVersionCalls WindowsVersionCallsOfSystem() {
    WindowsVersionCalls calls;
    calls.findNtdll = [] { return GetModuleHandleW(L"ntdll.dll"); };
    calls.findVersionCall = [](HMODULE ntdll) {
        // Looked up at run time: the export is undocumented and the import library does not list it.
        const FARPROC found = GetProcAddress(ntdll, "RtlGetNtVersionNumbers");
        return reinterpret_cast<NtVersionNumbersCall>(reinterpret_cast<void (*)()>(found));
    };
    calls.processorArchitecture = [] {
        // The native system's architecture: the 32-bit program runs under WOW64 on 64-bit Windows, where
        // GetSystemInfo would report x86 and call every 64-bit Windows 32-bit.
        SYSTEM_INFO info{};
        GetNativeSystemInfo(&info);
        return info.wProcessorArchitecture;
    };
    return calls;
}

std::string GetMacAddressText() {
    static const auto getAdaptersInfo =
        SystemFunction<decltype(&GetAdaptersInfo)>(L"iphlpapi.dll", "GetAdaptersInfo");
    if (getAdaptersInfo == nullptr)
        return AdapterErrorText(ERROR_NOT_SUPPORTED);
    return MacAddressTextFrom(getAdaptersInfo);
}

std::string GetAppVersionText() {
    return FileVersionTextOf(ProgramPath());
}

std::string GetWindowsVersionText() {
    return WindowsVersionTextFrom(WindowsVersionCallsOfSystem());
}

} // namespace vendrak
