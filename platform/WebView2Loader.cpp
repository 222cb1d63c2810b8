// Loads the WebView2 loader or, without it, the installed Evergreen runtime, and asks for an environment.
#include "platform/WebView2Loader.h"

#include "platform/Handles.h"
#include "platform/Registry.h"

#include <array>
#include <string_view>
#include <vector>

namespace vendrak {
namespace {

constexpr wchar_t kLoaderFile[] = L"WebView2Loader.dll";
constexpr char kLoaderEntry[] = "CreateCoreWebView2EnvironmentWithOptions";
// The runtime's own, undocumented entry point, which Microsoft's loader calls in turn; both open
// reimplementations of the loader call it with (true, 0 = installed runtime, ...).
constexpr char kRuntimeEntry[] = "CreateWebViewEnvironmentWithOptionsInternal";
using RuntimeEntryFunction = HRESULT(STDMETHODCALLTYPE*)(
    bool, int, PCWSTR, IUnknown*, ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler*);

// Release channels in the order the loader prefers them: stable, beta, dev, canary.
constexpr std::array<const wchar_t*, 4> kChannelKeys = {
    L"Software\\Microsoft\\EdgeUpdate\\ClientState\\{F3017226-FE2A-4295-8BDF-00C3A9A7E4C5}",
    L"Software\\Microsoft\\EdgeUpdate\\ClientState\\{2CD8A007-E189-409D-A2C8-9AF4EF3C72AA}",
    L"Software\\Microsoft\\EdgeUpdate\\ClientState\\{0D50BFEC-CD6A-4F9A-964C-C7416E3ACB10}",
    L"Software\\Microsoft\\EdgeUpdate\\ClientState\\{65C35B14-6C1D-4122-AC46-7148CC9D6497}",
};
// Runtimes older than this lack the internal entry point's current form.
constexpr wchar_t kMinimumRuntimeVersion[] = L"86.0.616.0";

#if defined(__x86_64__) || defined(_M_X64)
constexpr wchar_t kClientSubPath[] = L"\\EBWebView\\x64\\EmbeddedBrowserWebView.dll";
#elif defined(__aarch64__) || defined(_M_ARM64)
constexpr wchar_t kClientSubPath[] = L"\\EBWebView\\arm64\\EmbeddedBrowserWebView.dll";
#else
constexpr wchar_t kClientSubPath[] = L"\\EBWebView\\x86\\EmbeddedBrowserWebView.dll";
#endif

std::wstring_view LastPathPart(std::wstring_view path) {
    while (!path.empty() && (path.back() == L'\\' || path.back() == L'/'))
        path.remove_suffix(1);
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring_view::npos ? path : path.substr(slash + 1);
}

bool FileExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

BrowserLaunch LaunchThroughLoader(HMODULE loader, const std::wstring& userDataFolder,
                                  ICoreWebView2EnvironmentOptions* options,
                                  ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* handler) {
    auto create = reinterpret_cast<CreateCoreWebView2EnvironmentWithOptionsFunction>(
        reinterpret_cast<void*>(GetProcAddress(loader, kLoaderEntry)));
    if (create == nullptr)
        return {BrowserSource::None, HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND)};
    return {BrowserSource::LoaderFile, create(nullptr, userDataFolder.c_str(), options, handler)};
}

BrowserLaunch LaunchInstalledRuntime(const std::wstring& userDataFolder,
                                     ICoreWebView2EnvironmentOptions* options,
                                     ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* handler) {
    const std::wstring library = FindInstalledRuntimeLibrary();
    if (library.empty())
        return {};
    // Kept loaded for the life of the process: the environment and its objects live in it.
    HMODULE runtime = LoadLibraryExW(library.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (runtime == nullptr)
        return {BrowserSource::None, HRESULT_FROM_WIN32(GetLastError())};
    auto create = reinterpret_cast<RuntimeEntryFunction>(
        reinterpret_cast<void*>(GetProcAddress(runtime, kRuntimeEntry)));
    if (create == nullptr)
        return {BrowserSource::None, HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND)};
    return {BrowserSource::InstalledRuntime, create(true, 0, userDataFolder.c_str(), options, handler)};
}

} // namespace

bool IsVersionAtLeast(std::wstring_view version, std::wstring_view minimum) {
    auto parse = [](std::wstring_view text, std::array<unsigned long, 4>& parts) {
        parts = {};
        size_t index = 0;
        bool digitSeen = false;
        for (wchar_t c : text) {
            if (c == L'.') {
                if (!digitSeen || ++index >= parts.size())
                    return false;
                digitSeen = false;
            } else if (c >= L'0' && c <= L'9') {
                if (parts[index] > 100000000UL)
                    return false;
                parts[index] = parts[index] * 10 + static_cast<unsigned long>(c - L'0');
                digitSeen = true;
            } else {
                return false;
            }
        }
        return digitSeen;
    };
    std::array<unsigned long, 4> have{};
    std::array<unsigned long, 4> need{};
    if (!parse(version, have) || !parse(minimum, need))
        return false;
    return have >= need;
}

std::wstring FindInstalledRuntimeLibrary() {
    for (const wchar_t* channel : kChannelKeys) {
        for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
            // The runtime's updater writes its keys in the 32-bit view on every Windows.
            const std::wstring folder = ReadRegistryText(root, channel, L"EBWebView", KEY_WOW64_32KEY);
            if (folder.empty() || !IsVersionAtLeast(LastPathPart(folder), kMinimumRuntimeVersion))
                continue;
            std::wstring library = folder;
            while (!library.empty() && (library.back() == L'\\' || library.back() == L'/'))
                library.pop_back();
            library += kClientSubPath;
            if (FileExists(library))
                return library;
        }
    }
    return {};
}

BrowserLaunch CreateBrowserEnvironment(const std::wstring& programFolder, const std::wstring& userDataFolder,
                                       ICoreWebView2EnvironmentOptions* options,
                                       ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* handler) {
    // The loader comes from the program's folder by full path, never from the DLL search path (where
    // any folder on PATH could plant one): without the program's folder the loader is skipped.
    if (!programFolder.empty()) {
        std::wstring loaderPath = programFolder;
        if (loaderPath.back() != L'\\' && loaderPath.back() != L'/')
            loaderPath += L'\\';
        loaderPath += kLoaderFile;
        // Kept loaded for the life of the process (it serves the environment's start-up).
        if (HMODULE loader = LoadLibraryW(loaderPath.c_str()); loader != nullptr) {
            BrowserLaunch launch = LaunchThroughLoader(loader, userDataFolder, options, handler);
            if (launch.source != BrowserSource::None)
                return launch;
        }
    }
    return LaunchInstalledRuntime(userDataFolder, options, handler);
}

} // namespace vendrak
