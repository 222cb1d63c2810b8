// Runs the real vendrak.exe in a folder of its own with the stand-in browser and libvlc, and reads back
// what crossed: the stand-in browser's call log, the windows, the exit code, the settings file.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

// One line of the stand-in browser's log, unescaped.
struct LogLine {
    long long ms = 0;
    std::string call;
    std::vector<std::string> args;
};

// Where the run puts the stand-in libvlc.dll.
enum class LibvlcPlace {
    BesideProgram,
    Nowhere,      // nor does HKLM\SOFTWARE\VideoLAN\VLC exist while the run lives
    InstalledVlc, // only in <folder>\VLC, named by InstallDir of HKLM\SOFTWARE\VideoLAN\VLC while the run
                  // lives
};

struct RunOptions {
    bool withLoader = true;      // WebView2Loader.dll (the stand-in) beside the program
    bool withTypeLibrary = true; // vendrak.tlb beside the program
    // When set, the stand-in is placed as an installed runtime instead, as EmbeddedBrowserWebView.dll in
    // <folder>\<this>\EBWebView\x64, with its scenario and log beside it.
    std::wstring runtimeVersionFolder;
    // The file beside the test program that is copied in as vendrak.exe.
    std::wstring program = L"vendrak.exe";
    LibvlcPlace libvlc = LibvlcPlace::BesideProgram;
};

class ProgramRun {
public:
    // Prepares a fresh folder with copies of the program, its type library and the stand-ins, and the
    // scenario the stand-in browser plays (see tests/standins/webview2/StandinScenario.h).
    explicit ProgramRun(const std::string& scenario, RunOptions options = {});
    ~ProgramRun(); // ends the program if it still runs and removes the folder
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    bool Start();
    // The program's exit code, or STILL_ACTIVE when it did not end within the time (it is then killed).
    DWORD WaitForExit(DWORD timeoutMs);
    bool IsRunning() const;

    // The program's top-level window of the given class (the main window is "DesktopApp"), or null.
    HWND FindTopWindow(const char* className, DWORD timeoutMs) const;
    // Waits until a log line with this call appears (returns it) or the time runs out (empty call).
    LogLine WaitForLog(const std::string& call, DWORD timeoutMs) const;

    std::vector<LogLine> Log() const;
    const std::wstring& Folder() const { return folder_; }
    // The settings folder the program used, as it told the browser (its user-data folder).
    std::wstring SettingsFolder() const;

    // Where the stand-in browser reads its scenario and writes its log.
    const std::wstring& StandinFolder() const { return standinFolder_; }

private:
    LibvlcPlace libvlc_;
    HANDLE turn_; // runs share the prefix's settings file, so they take turns, even across test programs
    std::wstring folder_;
    std::wstring standinFolder_;
    PROCESS_INFORMATION process_{};
};

// The lines whose call is `call`, in order.
std::vector<LogLine> Select(const std::vector<LogLine>& log, const std::string& call);
// The index of the first line with this call at or after `from`, or -1.
int IndexOf(const std::vector<LogLine>& log, const std::string& call, size_t from = 0);
std::string ReadFileText(const std::wstring& path);
// The settings file every run of the program in this Wine prefix uses ("vendrak.ini" in
// <local application data>\vendrak-32); the end-to-end tests run one at a time because of it.
std::wstring SettingsFile();
// The shell's failure log, beside the settings file.
std::wstring FailureLogFile();
// The program's message box (a "#32770" dialog) and its text.
std::wstring DialogText(HWND dialog);

// Closes the program's message box, then its main window as a user would, and returns the exit code.
DWORD DismissAndClose(ProgramRun& run, std::wstring& messageText);

} // namespace e2e
