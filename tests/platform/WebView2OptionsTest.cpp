// The environment options object, the loader's runtime lookup and the handler adaptor, as the browser
// runtime and the shell use them.
#include "platform/WebView2EnvironmentOptions.h"
#include "platform/WebView2Handler.h"
#include "platform/WebView2Loader.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace vendrak {
namespace {

// The runtime keeps one client library per architecture; a program looks in its own one.
#if defined(__x86_64__)
constexpr const wchar_t* kClientFolder = L"\\EBWebView\\x64";
#else
constexpr const wchar_t* kClientFolder = L"\\EBWebView\\x86";
#endif

using Getter = HRESULT (STDMETHODCALLTYPE ICoreWebView2EnvironmentOptions::*)(LPWSTR*);
using Putter = HRESULT (STDMETHODCALLTYPE ICoreWebView2EnvironmentOptions::*)(LPCWSTR);

struct TextOption {
    const char* name;
    Getter get;
    Putter put;
    const wchar_t* fresh; // the value of a new object; null: unset
};

const TextOption kTextOptions[] = {
    {"AdditionalBrowserArguments", &ICoreWebView2EnvironmentOptions::get_AdditionalBrowserArguments,
     &ICoreWebView2EnvironmentOptions::put_AdditionalBrowserArguments, nullptr},
    {"Language", &ICoreWebView2EnvironmentOptions::get_Language,
     &ICoreWebView2EnvironmentOptions::put_Language, nullptr},
    {"TargetCompatibleBrowserVersion", &ICoreWebView2EnvironmentOptions::get_TargetCompatibleBrowserVersion,
     &ICoreWebView2EnvironmentOptions::put_TargetCompatibleBrowserVersion, L"122.0.2365.46"},
};

// Reads an option the way the runtime does and frees it the way the runtime does.
std::unique_ptr<std::wstring> Read(ICoreWebView2EnvironmentOptions* options, Getter get,
                                   LPWSTR* raw = nullptr) {
    LPWSTR value = reinterpret_cast<LPWSTR>(1);
    EXPECT_EQ(S_OK, (options->*get)(&value));
    if (raw != nullptr)
        *raw = value;
    if (value == nullptr)
        return nullptr;
    auto text = std::make_unique<std::wstring>(value);
    CoTaskMemFree(value);
    return text;
}

TEST(EnvironmentOptions, TextOptionsStartAtTheSdkDefaultsAndHandOutFreshCopies) {
    ComPtr<ICoreWebView2EnvironmentOptions> options = CreateEnvironmentOptions();
    ASSERT_TRUE(options);
    // Embedded zero, non-ASCII, empty and long texts survive the round trip whole (up to the zero).
    const std::wstring values[] = {L"--disable-web-security --allow-running-insecure-content", L"",
                                   L"de-DE \u00e4\u00f6\u00fc \U0001F600", std::wstring(5000, L'x')};
    for (const TextOption& option : kTextOptions) {
        SCOPED_TRACE(option.name);
        std::unique_ptr<std::wstring> fresh = Read(options.Get(), option.get);
        if (option.fresh == nullptr) {
            EXPECT_EQ(nullptr, fresh);
        } else {
            ASSERT_NE(nullptr, fresh);
            EXPECT_EQ(option.fresh, *fresh);
        }
        for (const std::wstring& value : values) {
            EXPECT_EQ(S_OK, (options.Get()->*option.put)(value.c_str()));
            LPWSTR first = nullptr;
            LPWSTR second = nullptr;
            (options.Get()->*option.get)(&first);
            (options.Get()->*option.get)(&second);
            ASSERT_NE(nullptr, first);
            EXPECT_NE(first, second); // each caller frees its own copy
            EXPECT_EQ(value, std::wstring(first));
            CoTaskMemFree(first);
            CoTaskMemFree(second);
        }
        EXPECT_EQ(S_OK, (options.Get()->*option.put)(nullptr));
        EXPECT_EQ(nullptr, Read(options.Get(), option.get));
        EXPECT_EQ(E_POINTER, (options.Get()->*option.get)(nullptr));
    }
}

TEST(EnvironmentOptions, SingleSignOnIsOffAndToggles) {
    ComPtr<ICoreWebView2EnvironmentOptions> options = CreateEnvironmentOptions();
    BOOL allow = TRUE;
    EXPECT_EQ(S_OK, options->get_AllowSingleSignOnUsingOSPrimaryAccount(&allow));
    EXPECT_FALSE(allow);
    EXPECT_EQ(S_OK, options->put_AllowSingleSignOnUsingOSPrimaryAccount(TRUE));
    EXPECT_EQ(S_OK, options->get_AllowSingleSignOnUsingOSPrimaryAccount(&allow));
    EXPECT_TRUE(allow);
    EXPECT_EQ(E_POINTER, options->get_AllowSingleSignOnUsingOSPrimaryAccount(nullptr));
}

TEST(EnvironmentOptions, NewerOptionInterfacesAreRefused) {
    ComPtr<ICoreWebView2EnvironmentOptions> options = CreateEnvironmentOptions();
    const GUID newer[] = {
        {0xff85c98a, 0x1ba7, 0x4a6b, {0x90, 0xc8, 0x2b, 0x75, 0x2c, 0x89, 0xe9, 0xe2}},
        {0x4a5c436e, 0xa9e3, 0x4a2e, {0x89, 0xc3, 0x91, 0x0d, 0x35, 0x13, 0xf5, 0xcc}},
        {0xac52d13f, 0x0d38, 0x475a, {0x9d, 0xca, 0x87, 0x65, 0x80, 0xd6, 0x79, 0x3e}},
        {0x0ae35d64, 0xc47f, 0x4464, {0x81, 0x4e, 0x25, 0x9c, 0x34, 0x5c, 0x15, 0x01}},
        {0x57d29cc3, 0xc84f, 0x42a0, {0xb0, 0xe2, 0xef, 0xfb, 0xd5, 0xe1, 0x79, 0xde}},
        {0xc48d539f, 0xe39f, 0x441c, {0xae, 0x68, 0x1f, 0x66, 0xe5, 0x70, 0xbd, 0xc5}},
        {0x7c7ecf51, 0xe918, 0x5caf, {0x85, 0x3c, 0xe9, 0xa2, 0xbc, 0xc2, 0x77, 0x75}},
        __uuidof(ICoreWebView2Environment),
    };
    for (const GUID& iid : newer) {
        void* out = reinterpret_cast<void*>(1);
        EXPECT_EQ(E_NOINTERFACE, options->QueryInterface(iid, &out));
        EXPECT_EQ(nullptr, out);
    }
    ComPtr<IUnknown> unknown;
    EXPECT_EQ(S_OK, options.As(&unknown));
    unknown.Reset();
    // The creator holds the only reference: one more and one less leave exactly that one.
    EXPECT_EQ(2u, options->AddRef());
    EXPECT_EQ(1u, options->Release());
}

TEST(EnvironmentOptions, ReadersOnOtherThreadsSeeWholeValues) {
    ComPtr<ICoreWebView2EnvironmentOptions> options = CreateEnvironmentOptions();
    const std::wstring a(300, L'a');
    const std::wstring b(700, L'b');
    options->put_Language(a.c_str());
    std::vector<std::thread> readers;
    std::atomic<int> torn{0};
    for (int t = 0; t < 4; ++t) {
        readers.emplace_back([&] {
            for (int i = 0; i < 2000; ++i) {
                LPWSTR value = nullptr;
                options->get_Language(&value);
                const std::wstring text = value != nullptr ? value : L"";
                CoTaskMemFree(value);
                if (text != a && text != b)
                    ++torn;
            }
        });
    }
    for (int i = 0; i < 2000; ++i)
        options->put_Language((i % 2 ? a : b).c_str());
    for (std::thread& reader : readers)
        reader.join();
    EXPECT_EQ(0, torn.load());
}

TEST(WebView2Handler, CallsTheCallableAndKeepsExceptionsInside) {
    auto alive = std::make_shared<int>(0);
    HRESULT seenCode = S_OK;
    auto handler = MakeHandler<ICoreWebView2ExecuteScriptCompletedHandler>(
        [alive, &seenCode](HRESULT code, LPCWSTR result) -> HRESULT {
            seenCode = code;
            if (result == nullptr)
                throw std::runtime_error("no result");
            return std::wstring(result) == L"null" ? S_FALSE : S_OK;
        });
    ASSERT_TRUE(handler);
    EXPECT_EQ(2, alive.use_count());
    EXPECT_EQ(S_FALSE, handler->Invoke(E_FAIL, L"null"));
    EXPECT_EQ(E_FAIL, seenCode);
    EXPECT_EQ(S_OK, handler->Invoke(S_OK, L"42"));
    EXPECT_EQ(E_UNEXPECTED, handler->Invoke(S_OK, nullptr));

    ComPtr<ICoreWebView2ExecuteScriptCompletedHandler> same;
    EXPECT_EQ(S_OK, handler.As(&same));
    ComPtr<ICoreWebView2NavigationStartingEventHandler> other;
    EXPECT_EQ(E_NOINTERFACE, handler.As(&other));
    same.Reset();
    handler.Reset();
    EXPECT_EQ(1, alive.use_count()); // the last release freed the callable
}

TEST(RuntimeVersion, ComparesDottedNumbers) {
    struct Case {
        const wchar_t* version;
        const wchar_t* minimum;
        bool want;
    };
    const Case cases[] = {
        {L"131.0.2903.146", L"86.0.616.0", true},
        {L"86.0.616.0", L"86.0.616.0", true},
        {L"86.0.615.99", L"86.0.616.0", false},
        {L"86", L"86.0.616.0", false},
        {L"122.0.2365.46", L"122.0.2365.46", true},
        {L"1000.0.0.0", L"999.9.9.9", true},
        {L"", L"86.0.616.0", false},
        {L"131.0.2903.146 beta", L"86.0.616.0", false},
        {L"131..0.1", L"86.0.616.0", false},
        {L"1.2.3.4.5", L"1.0", false},
        {L"99999999999.0", L"86.0", false},
        {L"-1.0.0.0", L"0.0", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.version, c.version + wcslen(c.version)));
        EXPECT_EQ(c.want, IsVersionAtLeast(c.version, c.minimum));
    }
}

// The registry is shared with the end-to-end runs in the same prefix; take turns with them.
class InstalledRuntime : public ::testing::Test {
protected:
    void SetUp() override {
        turn_ = CreateMutexW(nullptr, FALSE, L"vendrak-e2e-one-run-at-a-time");
        WaitForSingleObject(turn_, INFINITE);
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        root_ = std::wstring(temp) + L"vendrak-runtime-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
        CreateDirectoryW(root_.c_str(), nullptr);
        for (const wchar_t* key : kKeys)
            RegDeleteKeyExW(HKEY_CURRENT_USER, key, KEY_WOW64_32KEY, 0);
    }
    void TearDown() override {
        for (const wchar_t* key : kKeys)
            RegDeleteKeyExW(HKEY_CURRENT_USER, key, KEY_WOW64_32KEY, 0);
        for (const std::wstring& file : files_)
            DeleteFileW(file.c_str());
        for (auto folder = folders_.rbegin(); folder != folders_.rend(); ++folder)
            RemoveDirectoryW(folder->c_str());
        RemoveDirectoryW(root_.c_str());
        ReleaseMutex(turn_);
        CloseHandle(turn_);
    }
    // A runtime folder named after its version, with or without the client library inside.
    std::wstring MakeRuntime(const std::wstring& version, bool withLibrary) {
        std::wstring path = root_ + version;
        for (const wchar_t* part : {L"", L"\\EBWebView", kClientFolder}) {
            folders_.push_back(root_ + version + part);
            CreateDirectoryW(folders_.back().c_str(), nullptr);
        }
        const std::wstring library = path + kClientFolder + L"\\EmbeddedBrowserWebView.dll";
        if (withLibrary) {
            HANDLE file = CreateFileW(library.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
            CloseHandle(file);
            files_.push_back(library);
        }
        return path;
    }
    static void Register(const wchar_t* key, const std::wstring& folder) {
        HKEY opened = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0,
                                                 KEY_WRITE | KEY_WOW64_32KEY, nullptr, &opened, nullptr));
        RegSetValueExW(opened, L"EBWebView", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                       static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(opened);
    }

    static constexpr const wchar_t* kStable =
        L"Software\\Microsoft\\EdgeUpdate\\ClientState\\{F3017226-FE2A-4295-8BDF-00C3A9A7E4C5}";
    static constexpr const wchar_t* kBeta =
        L"Software\\Microsoft\\EdgeUpdate\\ClientState\\{2CD8A007-E189-409D-A2C8-9AF4EF3C72AA}";
    static constexpr const wchar_t* kKeys[] = {kStable, kBeta};
    HANDLE turn_ = nullptr;
    std::wstring root_;
    std::vector<std::wstring> files_;
    std::vector<std::wstring> folders_;
};

TEST_F(InstalledRuntime, NothingRegisteredMeansNoRuntime) {
    EXPECT_EQ(L"", FindInstalledRuntimeLibrary());
}

TEST_F(InstalledRuntime, StableChannelWinsAndItsClientLibraryIsNamed) {
    Register(kBeta, MakeRuntime(L"123.0.0.1", true));
    const std::wstring stable = MakeRuntime(L"131.0.2903.146", true);
    Register(kStable, stable + L"\\"); // a trailing backslash in the registry is tolerated
    EXPECT_EQ(stable + kClientFolder + L"\\EmbeddedBrowserWebView.dll", FindInstalledRuntimeLibrary());
}

TEST_F(InstalledRuntime, UnusableStableEntriesFallBackToTheNextChannel) {
    struct Case {
        const char* name;
        const wchar_t* version;
        bool withLibrary;
    };
    const Case cases[] = {
        {"too old", L"85.0.564.68", true},
        {"library missing", L"131.0.2903.146", false},
        {"not a version", L"Application", true},
    };
    const std::wstring beta = MakeRuntime(L"124.0.1.0", true);
    Register(kBeta, beta);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Register(kStable, MakeRuntime(c.version, c.withLibrary));
        EXPECT_EQ(beta + kClientFolder + L"\\EmbeddedBrowserWebView.dll", FindInstalledRuntimeLibrary());
    }
}

// The stand-in WebView2Loader.dll lies beside this program, first on the DLL search path: without the
// program's folder it must not be loaded, and the installed runtime is still tried.
TEST_F(InstalledRuntime, WithoutTheProgramFolderTheLoaderIsSkippedAndTheRuntimeTried) {
    Register(kStable, MakeRuntime(L"131.0.2903.146", true)); // an empty file, not a library
    const auto handler = MakeHandler<ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler>(
        [](HRESULT, ICoreWebView2Environment*) { return S_OK; });
    const BrowserLaunch launch =
        CreateBrowserEnvironment(L"", root_, CreateEnvironmentOptions().Get(), handler.Get());
    EXPECT_EQ(BrowserSource::None, launch.source);
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_BAD_EXE_FORMAT), launch.result); // the runtime's file was opened
    EXPECT_EQ(nullptr, GetModuleHandleW(L"WebView2Loader.dll"));
}

} // namespace
} // namespace vendrak
