// The page's real common file dialogs, driven by a second thread that finds the dialog, types a name
// and presses OK or Cancel.
#include "BridgeTestSupport.h"

#include <commdlg.h>
#include <dlgs.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "bridge/FileDialogs.h"

namespace vendrak::test {
namespace {

// All visible dialog-class windows of the thread.
std::vector<HWND> DialogsOf(DWORD thread) {
    std::vector<HWND> found;
    EnumThreadWindows(
        thread,
        [](HWND window, LPARAM list) CALLBACK -> BOOL {
            char name[16] = {};
            GetClassNameA(window, name, sizeof(name));
            if (std::string_view(name) == "#32770" && IsWindowVisible(window))
                reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND WaitForDialog(DWORD thread, size_t count = 1) {
    for (int i = 0; i < 400; ++i) {
        auto dialogs = DialogsOf(thread);
        if (dialogs.size() >= count)
            return dialogs.back();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return nullptr;
}

// The dialog whose owner is `owner` (the message box a file dialog opens over itself).
HWND WaitForOwnedDialog(DWORD thread, HWND owner) {
    for (int i = 0; i < 200; ++i) {
        for (HWND dialog : DialogsOf(thread))
            if (GetWindow(dialog, GW_OWNER) == owner)
                return dialog;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return nullptr;
}

void Press(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void TypeName(HWND dialog, const wchar_t* name) {
    HWND field = GetDlgItem(dialog, cmb13);
    if (field == nullptr)
        field = GetDlgItem(dialog, edt1);
    SetWindowTextW(field, name);
}

std::wstring CurrentFolder() {
    wchar_t folder[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, folder);
    return folder;
}

std::vector<std::string> FilterItems(HWND dialog) {
    std::vector<std::string> items;
    HWND types = GetDlgItem(dialog, cmb1);
    const LRESULT count = SendMessageA(types, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        char text[256] = {};
        SendMessageA(types, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        items.emplace_back(text);
    }
    return items;
}

class FileDialogTest : public HostFixture {
protected:
    void SetUp() override {
        HostFixture::SetUp();
        wchar_t temp[MAX_PATH] = {};
        ASSERT_NE(GetTempPathW(MAX_PATH, temp), 0u);
        // A name outside the ANSI code page, as a user's folder may well be.
        folder = std::wstring(temp) + L"bridge-dialogs-\u041A\u0430\u043D\u0430\u043B-\u4E2D";
        CreateDirectoryW(folder.c_str(), nullptr);
        existing = folder + L"\\existing.cfg";
        HANDLE file = CreateFileW(existing.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(file, "\xD0\x9A\r\n", 4, &written, nullptr);
        CloseHandle(file);
        function = MakeCom<RecordingFunction>();
    }

    // Calls the dialog method by name while `drive` plays the user on another thread.
    CallResult RunDialog(const wchar_t* method, const std::string& extensions,
                         std::function<void(HWND)> drive) {
        const DWORD ui = GetCurrentThreadId();
        std::thread user([&] {
            if (HWND dialog = WaitForDialog(ui))
                drive(dialog);
        });
        std::vector<Arg> args;
        args.push_back(Arg::Str(L"/" + folder));
        args.push_back(Arg::Str(std::wstring(extensions.begin(), extensions.end())));
        args.push_back(Arg::Disp(function.Get()));
        CallResult call = CallByName(dispatch.Get(), method, DISPATCH_METHOD, std::move(args));
        user.join();
        return call;
    }

    std::wstring folder;
    std::wstring existing;
    ComPtr<RecordingFunction> function;
};

// The chosen path comes back whole, the current folder stays where it was, and the page has the
// keyboard again.
TEST_F(FileDialogTest, OpenDialogAnswersTheChosenPathAfterReturning) {
    std::vector<std::string> filterItems;
    const std::wstring before = CurrentFolder();
    ASSERT_NE(before, folder);
    CallResult call = RunDialog(L"showFileDialog", "cfg,json", [&](HWND dialog) {
        filterItems = FilterItems(dialog);
        TypeName(dialog, L"existing.cfg");
        Press(dialog, IDOK);
    });
    ASSERT_EQ(call.hr, S_OK);
    EXPECT_EQ(CurrentFolder(), before);
    EXPECT_EQ(pageFocusCount, 1);
    EXPECT_EQ(call.result.vt, VT_EMPTY);
    EXPECT_TRUE(function->calls.empty()) << "the page function ran inside the page's call";
    EXPECT_EQ(filterItems, (std::vector<std::string>{"Config Files (*.cfg;*.json)", "All Files(*.*)"}));
    ASSERT_EQ(RunQueued(), 1u);
    ASSERT_EQ(function->calls.size(), 1u);
    const std::wstring want = L"/" + existing;
    EXPECT_EQ(function->calls[0].values, (std::vector<std::wstring>{want, L"1"}));

    // The answer goes straight back to readFile.
    std::vector<Arg> args;
    args.push_back(Arg::Str(want));
    const CallResult read = Call(dispatch.Get(), L"readFile", std::move(args));
    EXPECT_EQ(read.hr, S_OK);
    ASSERT_EQ(read.result.vt, VT_BSTR);
    EXPECT_STREQ(read.result.bstrVal, L"\u041A\n");
}

TEST_F(FileDialogTest, CancelAnswersZeroAndTheEmptyText) {
    CallResult call = RunDialog(L"saveFileDialog", "", [&](HWND dialog) { Press(dialog, IDCANCEL); });
    ASSERT_EQ(call.hr, S_OK);
    EXPECT_TRUE(function->calls.empty());
    ASSERT_EQ(RunQueued(), 1u);
    ASSERT_EQ(function->calls.size(), 1u);
    EXPECT_EQ(function->calls[0].values, (std::vector<std::wstring>{L"", L"0"}));
}

// The save dialog asks before replacing a file, also when the user typed the name without its hidden
// extension; the answer arrives once the user agreed.
TEST_F(FileDialogTest, SaveDialogAsksBeforeReplacingAnExistingFile) {
    bool asked = false;
    const std::wstring before = CurrentFolder();
    CallResult call = RunDialog(L"saveFileDialog", "cfg", [&](HWND dialog) {
        TypeName(dialog, L"existing");
        Press(dialog, IDOK);
        if (HWND question = WaitForOwnedDialog(GetWindowThreadProcessId(dialog, nullptr), dialog)) {
            asked = true;
            Press(question, IDYES);
        }
    });
    ASSERT_EQ(call.hr, S_OK);
    EXPECT_TRUE(asked);
    EXPECT_EQ(CurrentFolder(), before);
    EXPECT_EQ(pageFocusCount, 1);
    ASSERT_EQ(RunQueued(), 1u);
    ASSERT_EQ(function->calls.size(), 1u);
    EXPECT_EQ(function->calls[0].values[0], L"/" + existing);
}

// Hostile folder and extension texts reach a real dialog without overrunning anything; cancelling
// still answers (0, "").
TEST_F(FileDialogTest, HostileTextsStillOpenTheDialog) {
    struct Case {
        const char* name;
        std::function<Arg()> folder;
        std::function<Arg()> extensions;
    };
    const std::wstring huge(16u << 20, L'a');
    const Case cases[] = {
        {"null texts", [] { return Arg::NullStr(); }, [] { return Arg::NullStr(); }},
        {"16 MB folder", [&] { return Arg::Str(L"/C:\\" + huge); }, [] { return Arg::Str(L"cfg"); }},
        {"16 MB extensions", [] { return Arg::Str(L"/C:\\"); }, [&] { return Arg::Str(huge); }},
        {"unpaired surrogates", [] { return Arg::Str(L"/C:\\\xD800"); },
         [] { return Arg::Str(L"c\xDC00g"); }},
        {"embedded zero", [] { return Arg::Str(std::wstring_view(L"/C:\\\0x", 6)); },
         [] { return Arg::Str(std::wstring_view(L"cfg\0,json", 8)); }},
    };
    const DWORD ui = GetCurrentThreadId();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto answer = MakeCom<RecordingFunction>();
        std::atomic<bool> opened{false};
        std::thread user([&] {
            if (HWND dialog = WaitForDialog(ui)) {
                opened = true;
                Press(dialog, IDCANCEL);
            }
        });
        std::vector<Arg> args;
        args.push_back(c.folder());
        args.push_back(c.extensions());
        args.push_back(Arg::Disp(answer.Get()));
        const HRESULT hr = CallByName(dispatch.Get(), L"showFileDialog", DISPATCH_METHOD, std::move(args)).hr;
        user.join();
        EXPECT_EQ(hr, S_OK);
        EXPECT_TRUE(opened);
        EXPECT_EQ(RunQueued(), 1u);
        ASSERT_EQ(answer->calls.size(), 1u);
        EXPECT_EQ(answer->calls[0].values, (std::vector<std::wstring>{L"", L"0"}));
    }
}

// The page may ask again while a dialog is open (the dialog's loop keeps its calls flowing): refused.
std::atomic<IDispatch*> reentrantTarget{nullptr};
std::atomic<HRESULT> reentrantResult{S_OK};
std::atomic<SCODE> reentrantCode{S_OK};
std::atomic<IHostObjectNodeJs*> reentrantHost{nullptr};
std::atomic<HRESULT> reentrantDirect{S_OK};
std::atomic<int> reentrantDialogs{0};

void CALLBACK AskAgain(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    std::vector<Arg> args;
    args.push_back(Arg::Str(L"/C:\\"));
    args.push_back(Arg::Str(L"cfg"));
    args.push_back(Arg::Disp(nullptr));
    CallResult call = CallByName(reentrantTarget.load(), L"saveFileDialog", DISPATCH_METHOD, std::move(args));
    reentrantResult = call.hr;
    reentrantCode = call.exceptionCode;
    BSTR folder = SysAllocString(L"/C:\\");
    reentrantDirect = reentrantHost.load()->showFileDialog(folder, nullptr, nullptr);
    SysFreeString(folder);
    reentrantDialogs = static_cast<int>(DialogsOf(GetCurrentThreadId()).size());
}

TEST_F(FileDialogTest, SecondDialogWhileOneIsOpenFailsAndOpensNothing) {
    reentrantTarget = dispatch.Get();
    reentrantHost = host.Get();
    reentrantResult = S_OK;
    reentrantDialogs = 0;
    std::atomic<bool> asked{false};
    // A thread timer is only taken by a message loop: the first one to run is the dialog's own.
    ASSERT_NE(SetTimer(nullptr, 0, 500, AskAgain), 0u);
    CallResult call = RunDialog(L"showFileDialog", "cfg", [&](HWND dialog) {
        for (int i = 0; i < 200 && reentrantDialogs == 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        asked = reentrantDialogs != 0;
        Press(dialog, IDCANCEL);
    });
    ASSERT_EQ(call.hr, S_OK);
    EXPECT_TRUE(asked);
    // The type information reports a failing method as an exception carrying the method's code; the
    // page's call is rejected with it.
    EXPECT_EQ(reentrantResult.load(), DISP_E_EXCEPTION);
    EXPECT_EQ(reentrantCode.load(), static_cast<SCODE>(0xFFFFFFFF));
    EXPECT_EQ(reentrantDirect.load(), static_cast<HRESULT>(0xFFFFFFFF));
    EXPECT_EQ(reentrantDialogs.load(), 1);
    // Only the first dialog's answer is queued; the refused request queued nothing.
    EXPECT_EQ(RunQueued(), 1u);
    EXPECT_EQ(function->calls.size(), 1u);

    // Once closed, the next request opens normally.
    CallResult again = RunDialog(L"saveFileDialog", "cfg", [&](HWND dialog) { Press(dialog, IDCANCEL); });
    EXPECT_EQ(again.hr, S_OK);
}

} // namespace
} // namespace vendrak::test
