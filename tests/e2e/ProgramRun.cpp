// Prepares, starts, watches and cleans up one run of the real program under Wine.
#include "tests/e2e/ProgramRun.h"

#include "platform/ModulePath.h"
#include "services/TextHelpers.h"

#include <shlobj.h>

#include <cstdio>
#include <sstream>

namespace e2e {
namespace {

// The runtime keeps one client library per architecture; a program looks in its own one.
#if defined(__x86_64__)
constexpr const wchar_t* kClientArchitecture = L"x64";
#else
constexpr const wchar_t* kClientArchitecture = L"x86";
#endif

// Where an installed VLC names its folder; the program reads the view of its own bitness, as does this
// test program, which is built alike.
constexpr wchar_t kVlcKey[] = L"SOFTWARE\\VideoLAN\\VLC";

std::wstring ThisFolder() {
    return vendrak::ProgramFolder() + L'\\';
}

std::wstring NewFolder() {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    static LONG counter = 0;
    const std::wstring folder =
        std::wstring(temp) + L"vendrak-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
        std::to_wstring(InterlockedIncrement(&counter)) + L"-" + std::to_wstring(GetTickCount64()) + L"\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(folder + name + L"\\");
            else
                DeleteFileW((folder + name).c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

std::string Unescape(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char next = text[++i];
        if (next == 't')
            out += '\t';
        else if (next == 'n')
            out += '\n';
        else if (next == 'r')
            out += '\r';
        else if (next == 'x' && i + 2 < text.size()) {
            out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else
            out += next;
    }
    return out;
}

struct FindData {
    DWORD processId;
    const char* className;
    HWND found;
};

BOOL CALLBACK FindTopWindowProc(HWND window, LPARAM lParam) {
    auto* data = reinterpret_cast<FindData*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    if (owner == data->processId && std::string(name) == data->className) {
        data->found = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

std::string ReadFileText(const std::wstring& path) {
    std::string content;
    if (FILE* file = _wfopen(path.c_str(), L"rb")) {
        char buffer[4096];
        for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
            content.append(buffer, got);
        std::fclose(file);
    }
    return content;
}

ProgramRun::ProgramRun(const std::string& scenario, RunOptions options)
    : libvlc_(options.libvlc), turn_(CreateMutexW(nullptr, FALSE, L"vendrak-e2e-one-run-at-a-time")),
      folder_(NewFolder()), standinFolder_(folder_) {
    // Abandoned (a crashed test) counts as ours too.
    WaitForSingleObject(turn_, INFINITE);
    const std::wstring from = ThisFolder();
    CopyFileW((from + options.program).c_str(), (folder_ + L"vendrak.exe").c_str(), FALSE);
    std::vector<std::wstring> files;
    if (options.libvlc == LibvlcPlace::BesideProgram)
        files.push_back(L"libvlc.dll");
    else // the build's own Wine prefix: no real VLC is forgotten here
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, kVlcKey);
    if (options.libvlc == LibvlcPlace::InstalledVlc) {
        const std::wstring vlc = folder_ + L"VLC";
        CreateDirectoryW(vlc.c_str(), nullptr);
        CopyFileW((from + L"libvlc.dll").c_str(), (vlc + L"\\libvlc.dll").c_str(), FALSE);
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kVlcKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) ==
            ERROR_SUCCESS) {
            // A trailing backslash, as some installers leave one, must not matter.
            const std::wstring value = vlc + L"\\";
            RegSetValueExW(key, L"InstallDir", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
            RegCloseKey(key);
        }
    }
    if (options.withLoader)
        files.push_back(L"WebView2Loader.dll");
    if (options.withTypeLibrary)
        files.push_back(L"vendrak.tlb");
    for (const std::wstring& file : files)
        CopyFileW((from + file).c_str(), (folder_ + file).c_str(), FALSE);
    if (!options.runtimeVersionFolder.empty()) {
        std::wstring path = folder_;
        for (const wchar_t* part :
             {options.runtimeVersionFolder.c_str(), L"EBWebView", kClientArchitecture}) {
            path += part;
            path += L"\\";
            CreateDirectoryW(path.c_str(), nullptr);
        }
        standinFolder_ = path;
        CopyFileW((from + L"WebView2Loader.dll").c_str(), (path + L"EmbeddedBrowserWebView.dll").c_str(),
                  FALSE);
    }
    if (FILE* file = _wfopen((standinFolder_ + L"webview2-standin.txt").c_str(), L"wb")) {
        std::fwrite(scenario.data(), 1, scenario.size(), file);
        std::fclose(file);
    }
}

ProgramRun::~ProgramRun() {
    if (process_.hProcess != nullptr) {
        if (IsRunning()) {
            TerminateProcess(process_.hProcess, 99);
            WaitForSingleObject(process_.hProcess, 5000);
        }
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
    }
    if (libvlc_ == LibvlcPlace::InstalledVlc)
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, kVlcKey);
    RemoveTree(folder_);
    ReleaseMutex(turn_);
    CloseHandle(turn_);
}

bool ProgramRun::Start() {
    std::wstring commandLine = L"\"" + folder_ + L"vendrak.exe\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    return CreateProcessW((folder_ + L"vendrak.exe").c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                          nullptr, folder_.c_str(), &startup, &process_) != FALSE;
}

DWORD ProgramRun::WaitForExit(DWORD timeoutMs) {
    if (WaitForSingleObject(process_.hProcess, timeoutMs) != WAIT_OBJECT_0) {
        TerminateProcess(process_.hProcess, 99);
        WaitForSingleObject(process_.hProcess, 5000);
        return STILL_ACTIVE;
    }
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
}

bool ProgramRun::IsRunning() const {
    return WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

HWND ProgramRun::FindTopWindow(const char* className, DWORD timeoutMs) const {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    do {
        FindData data{process_.dwProcessId, className, nullptr};
        EnumWindows(FindTopWindowProc, reinterpret_cast<LPARAM>(&data));
        if (data.found != nullptr)
            return data.found;
        Sleep(20);
    } while (GetTickCount64() < end);
    return nullptr;
}

LogLine ProgramRun::WaitForLog(const std::string& call, DWORD timeoutMs) const {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    do {
        for (const LogLine& line : Log()) {
            if (line.call == call)
                return line;
        }
        Sleep(20);
    } while (GetTickCount64() < end);
    return {};
}

std::vector<LogLine> ProgramRun::Log() const {
    std::vector<LogLine> lines;
    std::istringstream text(ReadFileText(standinFolder_ + L"webview2-standin.log"));
    std::string raw;
    while (std::getline(text, raw)) {
        LogLine line;
        size_t begin = 0;
        for (int field = 0;; ++field) {
            const size_t tab = raw.find('\t', begin);
            const std::string part =
                raw.substr(begin, tab == std::string::npos ? std::string::npos : tab - begin);
            if (field == 0)
                line.ms = std::atoll(part.c_str());
            else if (field == 1)
                line.call = part;
            else
                line.args.push_back(Unescape(part));
            if (tab == std::string::npos)
                break;
            begin = tab + 1;
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

std::wstring ProgramRun::SettingsFolder() const {
    for (const LogLine& line : Log()) {
        if (line.call.starts_with("Create") && line.args.size() > 1)
            return vendrak::Utf8ToWide(line.args[1]);
    }
    return {};
}

std::wstring SettingsFile() {
    PWSTR path = nullptr;
    std::wstring file;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &path)))
        file = std::wstring(path) + L"\\vendrak-32\\vendrak.ini";
    CoTaskMemFree(path);
    return file;
}

std::wstring DialogText(HWND dialog) {
    // A message box shows its text in a static control; its identifier differs between Windows and Wine.
    std::wstring text;
    EnumChildWindows(
        dialog,
        [](HWND child, LPARAM lParam) CALLBACK -> BOOL {
            wchar_t className[64] = {};
            GetClassNameW(child, className, 64);
            if (lstrcmpiW(className, L"Static") == 0) {
                wchar_t part[2048] = {};
                GetWindowTextW(child, part, 2048);
                *reinterpret_cast<std::wstring*>(lParam) += part;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&text));
    return text;
}

std::vector<LogLine> Select(const std::vector<LogLine>& log, const std::string& call) {
    std::vector<LogLine> selected;
    for (const LogLine& line : log) {
        if (line.call == call)
            selected.push_back(line);
    }
    return selected;
}

int IndexOf(const std::vector<LogLine>& log, const std::string& call, size_t from) {
    for (size_t i = from; i < log.size(); ++i) {
        if (log[i].call == call)
            return static_cast<int>(i);
    }
    return -1;
}

std::wstring FailureLogFile() {
    std::wstring log = SettingsFile();
    log.replace(log.find_last_of(L'\\'), std::wstring::npos, L"\\vendrak.log");
    return log;
}

DWORD DismissAndClose(ProgramRun& run, std::wstring& messageText) {
    HWND dialog = run.FindTopWindow("#32770", 20000);
    if (dialog == nullptr)
        return STILL_ACTIVE;
    // The dialog exists before its controls are filled in and it is shown.
    const ULONGLONG end = GetTickCount64() + 10000;
    while ((!IsWindowVisible(dialog) || DialogText(dialog).empty()) && GetTickCount64() < end)
        Sleep(20);
    messageText = DialogText(dialog);
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    HWND window = run.FindTopWindow("DesktopApp", 5000);
    if (window == nullptr)
        return STILL_ACTIVE;
    Sleep(200); // the message box is gone and the window is its own again
    PostMessageW(window, WM_CLOSE, 0, 0);
    return run.WaitForExit(20000);
}

} // namespace e2e
