// The system-information texts through their seams with exact inputs, and once against the real calls.
#include "services/SystemInfo.h"

#include "platform/ModulePath.h"

#include "services/SystemInfoCalls.h"
#include "services/SystemInfoText.h"
#include "tests/services/ScratchFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <regex>
#include <vector>

namespace vendrak {
namespace {

using Address = std::vector<std::uint8_t>;

// One scripted answer of the fake GetAdaptersInfo.
struct AdapterAnswer {
    ULONG code;
    ULONG neededRecords = 0;       // with ERROR_BUFFER_OVERFLOW: the size asked for, in records
    std::vector<Address> adapters; // with 0: the list written into the buffer, first first
    UINT forcedLength = 0;         // when not 0, the first record's AddressLength as reported
};

AdapterAnswer Fits(std::vector<Address> adapters, UINT forcedLength = 0) {
    return {ERROR_SUCCESS, 0, std::move(adapters), forcedLength};
}
AdapterAnswer Overflow(ULONG neededRecords) {
    return {ERROR_BUFFER_OVERFLOW, neededRecords, {}, 0};
}
AdapterAnswer Fails(ULONG code) {
    return {code, 0, {}, 0};
}

// Plays the answers in order (the last one repeats) and records the buffer size of every call.
struct FakeAdapters {
    std::vector<AdapterAnswer> answers;
    std::vector<ULONG> sizesSeen;

    ULONG operator()(IP_ADAPTER_INFO* buffer, ULONG* size) {
        sizesSeen.push_back(*size);
        const AdapterAnswer& answer = answers[std::min(sizesSeen.size(), answers.size()) - 1];
        if (answer.code == ERROR_BUFFER_OVERFLOW) {
            *size = answer.neededRecords * sizeof(IP_ADAPTER_INFO);
            return answer.code;
        }
        if (answer.code != ERROR_SUCCESS)
            return answer.code;
        if (*size < answer.adapters.size() * sizeof(IP_ADAPTER_INFO)) {
            *size = static_cast<ULONG>(answer.adapters.size() * sizeof(IP_ADAPTER_INFO));
            return ERROR_BUFFER_OVERFLOW;
        }
        for (size_t i = 0; i < answer.adapters.size(); ++i) {
            IP_ADAPTER_INFO& record = buffer[i];
            std::memset(&record, 0, sizeof record);
            record.Next = i + 1 < answer.adapters.size() ? &buffer[i + 1] : nullptr;
            record.AddressLength = static_cast<UINT>(answer.adapters[i].size());
            std::copy(answer.adapters[i].begin(), answer.adapters[i].end(), record.Address);
        }
        if (answer.forcedLength != 0)
            buffer[0].AddressLength = answer.forcedLength;
        return ERROR_SUCCESS;
    }
};

TEST(MacAddressText, FromScriptedAdapterLists) {
    const Address zeroA = {0x0A, 0x00, 0x27, 0x00, 0x00, 0x05};
    const Address dead = {0xDE, 0xAD, 0xBE, 0xEF, 0x00, 0x01};
    struct Case {
        const char* name;
        std::vector<AdapterAnswer> answers;
        std::string want;
        size_t calls;
    } cases[] = {
        {"leading zeros", {Fits({zeroA})}, "A:0:27:0:0:5", 1},
        {"upper case", {Fits({dead})}, "DE:AD:BE:EF:0:1", 1},
        {"only the first adapter counts", {Fits({dead, zeroA})}, "DE:AD:BE:EF:0:1", 2},
        {"first without address", {Fits({{}, dead})}, "", 2},
        {"no adapter at all", {Fails(ERROR_NO_DATA)}, "Failed to get adapter info. Error code: 232", 1},
        {"other error", {Fails(ERROR_INVALID_PARAMETER)}, "Failed to get adapter info. Error code: 87", 1},
        {"grows once then fits", {Overflow(3), Fits({zeroA, dead, dead})}, "A:0:27:0:0:5", 2},
        {"grows and then fails",
         {Overflow(3), Fails(ERROR_NO_DATA)},
         "Failed to get adapter info. Error code: 232",
         2},
        // An adapter added between the calls: the second answer is final, there is no third call.
        {"grows twice",
         {Overflow(2), Overflow(4), Fits({dead, dead, dead, dead})},
         "Failed to get adapter info. Error code: 111",
         2},
        {"too small every time",
         {Overflow(2), Overflow(4), Overflow(8), Overflow(16)},
         "Failed to get adapter info. Error code: 111",
         2},
        {"asks for no more room", {Overflow(1)}, "Failed to get adapter info. Error code: 111", 1},
        {"asks for nothing", {Overflow(0)}, "Failed to get adapter info. Error code: 111", 1},
        {"length beyond the record", {Fits({{1, 2, 3, 4, 5, 6, 7, 8}}, 200)}, "1:2:3:4:5:6:7:8", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeAdapters fake{c.answers, {}};
        EXPECT_EQ(MacAddressTextFrom(std::ref(fake)), c.want);
        ASSERT_EQ(fake.sizesSeen.size(), c.calls);
        // Every call is told the true size of its buffer, which only grows.
        EXPECT_EQ(fake.sizesSeen.front(), sizeof(IP_ADAPTER_INFO));
        EXPECT_TRUE(std::is_sorted(fake.sizesSeen.begin(), fake.sizesSeen.end()));
    }
}

// The fake RtlGetNtVersionNumbers reads what the current row wants it to report.
DWORD fakeMajor, fakeMinor, fakeBuild;
void WINAPI FakeVersionNumbers(DWORD* major, DWORD* minor, DWORD* build) {
    *major = fakeMajor;
    *minor = fakeMinor;
    *build = fakeBuild;
}

TEST(WindowsVersionText, FromScriptedVersionNumbers) {
    const auto ntdll = reinterpret_cast<HMODULE>(static_cast<ULONG_PTR>(0x7FF00000));
    struct Case {
        const char* name;
        HMODULE module;
        NtVersionNumbersCall call;
        DWORD major, minor, build;
        WORD architecture;
        std::string want;
    } cases[] = {
        {"10.0 64-bit, build flags ignored", ntdll, FakeVersionNumbers, 10, 0, 0xF0004A61, 9,
         "Windows 10 64-bit \n"},
        {"6.1 32-bit", ntdll, FakeVersionNumbers, 6, 1, 0xF0001DB1, 0, "Windows 7 32-bit \n"},
        {"6.0", ntdll, FakeVersionNumbers, 6, 0, 6002, 9, "Windows Vista or Server 2008 64-bit \n"},
        {"5.0", ntdll, FakeVersionNumbers, 5, 0, 2195, 0, "Windows 2000 32-bit \n"},
        {"5.1", ntdll, FakeVersionNumbers, 5, 1, 2600, 0, "Windows XP 32-bit \n"},
        {"5.2 IA64", ntdll, FakeVersionNumbers, 5, 2, 3790, 6, "Windows Server 2003 64-bit \n"},
        {"6.2", ntdll, FakeVersionNumbers, 6, 2, 9200, 9, "Windows 8 64-bit \n"},
        {"6.3 ARM64", ntdll, FakeVersionNumbers, 6, 3, 9600, 12, "Windows 8.1 64-bit \n"},
        {"10.1", ntdll, FakeVersionNumbers, 10, 1, 0, 9, "Windows 11 64-bit \n"},
        {"11.0 unknown with bitness", ntdll, FakeVersionNumbers, 11, 0, 0, 9, "Windows unknown 64-bit \n"},
        {"no ntdll", nullptr, FakeVersionNumbers, 10, 0, 0, 9, "Windows unknown Err: 1\n"},
        {"no export", ntdll, nullptr, 10, 0, 0, 9, "Windows unknown Err: 2\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fakeMajor = c.major;
        fakeMinor = c.minor;
        fakeBuild = c.build;
        HMODULE askedAbout = nullptr;
        WindowsVersionCalls calls;
        calls.findNtdll = [&] { return c.module; };
        calls.findVersionCall = [&](HMODULE module) {
            askedAbout = module;
            return c.call;
        };
        calls.processorArchitecture = [&] { return c.architecture; };
        EXPECT_EQ(WindowsVersionTextFrom(calls), c.want);
        EXPECT_EQ(askedAbout, c.module); // looked up in the module that was found, or not at all
    }
}

TEST(FileVersionText, OfProgramFiles) {
    testing::ScratchFolder folder;
    ASSERT_TRUE(testing::WriteBytes(folder / L"plain.exe", "MZ not really a program"));
    struct Case {
        const char* name;
        std::wstring path;
        std::string want;
    } cases[] = {
        {"this test program's resource", ProgramPath(), "3.0.12.0"},
        {"file without a resource", folder / L"plain.exe", "Unknown"},
        {"missing file", folder / L"none.exe", "Unknown"},
        {"folder", folder.Path(), "Unknown"},
        {"empty path", L"", "Unknown"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FileVersionTextOf(c.path), c.want);
    }
}

TEST(SystemInfoRealCalls, AppVersionIsThisProgramsFileVersion) {
    EXPECT_EQ(GetAppVersionText(), "3.0.12.0");
}

TEST(SystemInfoRealCalls, WindowsVersionNamesWhatNtdllReports) {
    // Checked against RtlGetVersion, a different, documented ntdll call for the same numbers.
    using RtlGetVersionCall = LONG(WINAPI*)(OSVERSIONINFOW*);
    const auto rtlGetVersion = reinterpret_cast<RtlGetVersionCall>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
    ASSERT_NE(rtlGetVersion, nullptr);
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof version;
    ASSERT_EQ(rtlGetVersion(&version), 0);
    // This test program is x86_64, so the system is 64-bit.
    EXPECT_EQ(GetWindowsVersionText(),
              std::string(WindowsVersionName(version.dwMajorVersion, version.dwMinorVersion)) + " 64-bit \n");
}

TEST(SystemInfoRealCalls, MacAddressIsTheFirstAdaptersAddress) {
    // An independent call with ample room; Wine lists the machine's interfaces, or none (232).
    std::vector<IP_ADAPTER_INFO> records(64);
    ULONG size = static_cast<ULONG>(records.size() * sizeof(IP_ADAPTER_INFO));
    const ULONG code = GetAdaptersInfo(records.data(), &size);
    const std::string text = GetMacAddressText();
    if (code != ERROR_SUCCESS) {
        EXPECT_EQ(text, AdapterErrorText(code));
        return;
    }
    const IP_ADAPTER_INFO& first = records.front();
    EXPECT_EQ(text, HardwareAddressText({first.Address, std::min<size_t>(first.AddressLength, 8)}));
    EXPECT_TRUE(std::regex_match(text, std::regex("([0-9A-F]{1,2}(:[0-9A-F]{1,2})*)?"))) << text;
}

} // namespace
} // namespace vendrak
