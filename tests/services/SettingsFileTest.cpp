// The settings file on real windows and real files: what is read, what is written, and what survives.
#include "services/SettingsFile.h"
#include "tests/services/PrivateFolders.h"

#include <gtest/gtest.h>

#include <string>

namespace vendrak {
namespace {

struct Outer {
    int left, top, width, height;
    friend bool operator==(const Outer&, const Outer&) = default;
};

void PrintTo(const Outer& o, std::ostream* out) {
    *out << o.left << ' ' << o.top << ' ' << o.width << ' ' << o.height;
}

Outer OuterOf(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

constexpr Outer kDefaults{38, 22, 1079, 636};

// A hidden top-level window with the main window's style; its placement is all the settings file touches.
HWND CreatePlacedWindow() {
    static const ATOM windowClass = [] {
        WNDCLASSEXA c{};
        c.cbSize = sizeof(c);
        c.lpfnWndProc = DefWindowProcA;
        c.hInstance = GetModuleHandleA(nullptr);
        c.lpszClassName = "VendrakSettingsFileTest";
        return RegisterClassExA(&c);
    }();
    EXPECT_NE(windowClass, 0);
    return CreateWindowExA(0, "VendrakSettingsFileTest", "", WS_OVERLAPPEDWINDOW, 100, 100, 640, 480, nullptr,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
}

class SettingsFileTest : public testing::Test {
protected:
    void SetUp() override {
        window = CreatePlacedWindow();
        ASSERT_NE(window, nullptr);
        folder = MakeTestFolder(L"settings");
    }
    void TearDown() override {
        RemoveTree(folder);
        DestroyWindow(window);
    }
    std::wstring File() const { return folder + L"\\vendrak.ini"; }

    HWND window = nullptr;
    std::wstring folder;
};

TEST_F(SettingsFileTest, LoadPlacesTheWindowFromTheFile) {
    struct Case {
        const char* name;
        const char* content; // null: no file
        Outer want;
    };
    const Case cases[] = {
        {"no file", nullptr, kDefaults},
        {"empty file", "", kDefaults},
        {"four numbers", "100 200 800 600", {100, 200, 800, 600}},
        {"two numbers", "100 200", {100, 200, 1079, 636}},
        {"separate lines, extra blanks, trailing line feed",
         "100\r\n200\n  800\t600\n",
         {100, 200, 800, 600}},
        {"more than four", "100 200 800 600 5 6", {100, 200, 800, 600}},
        {"negative coordinates touching the screen", "-8 -8 800 600", {-8, -8, 800, 600}},
        {"left of the screen but overlapping it", "-300 120 500 400", {-300, 120, 500, 400}},
        {"malformed second number", "100 x200 800 600", {100, 22, 1079, 636}},
        {"overflowing number", "100 99999999999 800 600", {100, 22, 1079, 636}},
        {"binary", "\x01\x02\xff\xfe", kDefaults},
        {"on no monitor: far left", "-5000 100 800 600", kDefaults},
        {"on no monitor: far right", "20000 100 800 600", kDefaults},
        {"on no monitor: below", "100 20000 800 600", kDefaults},
        {"right edge beyond the 32-bit range", "2147483000 0 800 600", kDefaults},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DeleteFileW(File().c_str());
        if (c.content != nullptr)
            WriteWholeFile(File(), c.content);
        SetWindowPos(window, nullptr, 5, 5, 300, 300, SWP_NOZORDER);
        LoadWindowPlacementFrom(window, folder);
        EXPECT_EQ(OuterOf(window), c.want);
    }
}

TEST_F(SettingsFileTest, HugeFileIsReadWithoutHarm) {
    std::string huge = "300 310 640 480 ";
    huge.append(10 * 1024 * 1024, '9');
    WriteWholeFile(File(), huge);
    LoadWindowPlacementFrom(window, folder);
    EXPECT_EQ(OuterOf(window), (Outer{300, 310, 640, 480}));

    WriteWholeFile(File(), std::string(10 * 1024 * 1024, ' ') + "x");
    LoadWindowPlacementFrom(window, folder);
    EXPECT_EQ(OuterOf(window), kDefaults);
}

TEST_F(SettingsFileTest, SaveWritesExactlyFourNumbers) {
    struct Case {
        const char* name;
        Outer at;
        const char* want;
    };
    const Case cases[] = {
        {"plain", {100, 200, 800, 600}, "100 200 800 600"},
        {"negative", {-600, -8, 500, 400}, "-600 -8 500 400"},
        {"zero", {0, 0, 640, 480}, "0 0 640 480"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteWholeFile(File(), "a much longer earlier content that must be gone after the save\n\n\n");
        SetWindowPos(window, nullptr, c.at.left, c.at.top, c.at.width, c.at.height, SWP_NOZORDER);
        EXPECT_TRUE(SaveWindowPlacementIn(window, folder));
        EXPECT_EQ(ReadWholeFile(File()), c.want);
    }
}

TEST_F(SettingsFileTest, NegativeCoordinatesRoundTrip) {
    SetWindowPos(window, nullptr, -300, 120, 500, 400, SWP_NOZORDER);
    ASSERT_TRUE(SaveWindowPlacementIn(window, folder));
    SetWindowPos(window, nullptr, 10, 10, 200, 200, SWP_NOZORDER);
    LoadWindowPlacementFrom(window, folder);
    EXPECT_EQ(OuterOf(window), (Outer{-300, 120, 500, 400}));
}

TEST_F(SettingsFileTest, MinimisedCloseStoresTheRestoredRectangle) {
    SetWindowPos(window, nullptr, 150, 160, 700, 500, SWP_NOZORDER);
    ShowWindow(window, SW_SHOWNORMAL);
    ShowWindow(window, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(window));
    ASSERT_TRUE(SaveWindowPlacementIn(window, folder));
    EXPECT_EQ(ReadWholeFile(File()), "150 160 700 500");
}

TEST_F(SettingsFileTest, FullScreenSizedWindowIsStoredAsItIs) {
    SetWindowPos(window, nullptr, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                 SWP_NOZORDER);
    ASSERT_TRUE(SaveWindowPlacementIn(window, folder));
    EXPECT_EQ(ReadWholeFile(File()), "0 0 " + std::to_string(GetSystemMetrics(SM_CXSCREEN)) + " " +
                                         std::to_string(GetSystemMetrics(SM_CYSCREEN)));
}

TEST_F(SettingsFileTest, FailedWriteLeavesTheOldFileAndNoLeftovers) {
    const std::wstring temporary = File() + L"." + std::to_wstring(GetCurrentProcessId()) + L".tmp";
    struct Case {
        const char* name;
        bool blockTemporary; // a folder where the temporary file would go: it cannot be written
        bool holdOpen;       // another program holds the file open without sharing it
    };
    const Case cases[] = {
        {"temporary file cannot be made", true, false},
        {"old file held open", false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteWholeFile(File(), "1 2 3 4");
        if (c.blockTemporary)
            CreateDirectoryW(temporary.c_str(), nullptr);
        const HANDLE held =
            c.holdOpen ? CreateFileW(File().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)
                       : INVALID_HANDLE_VALUE;
        SetWindowPos(window, nullptr, 100, 200, 800, 600, SWP_NOZORDER);
        EXPECT_FALSE(SaveWindowPlacementIn(window, folder));
        if (held != INVALID_HANDLE_VALUE)
            CloseHandle(held);
        EXPECT_EQ(ReadWholeFile(File()), "1 2 3 4");
        if (c.blockTemporary) {
            RemoveDirectoryW(temporary.c_str());
        } else {
            EXPECT_EQ(GetFileAttributesW(temporary.c_str()), INVALID_FILE_ATTRIBUTES) << "no leftover";
        }
    }
}

TEST_F(SettingsFileTest, MissingFolderIsNeitherCreatedNorWritten) {
    const std::wstring missing = folder + L"\\not-there";
    EXPECT_FALSE(SaveWindowPlacementIn(window, missing));
    EXPECT_EQ(GetFileAttributesW(missing.c_str()), INVALID_FILE_ATTRIBUTES);
    SetWindowPos(window, nullptr, 5, 5, 300, 300, SWP_NOZORDER);
    LoadWindowPlacementFrom(window, missing);
    EXPECT_EQ(OuterOf(window), kDefaults);
}

TEST_F(SettingsFileTest, SettingsFolderIsTheLocalAppDataFolderPlusSuffixAndIsNotCreated) {
    EXPECT_EQ(GetSettingsFolder(), TestLocalAppData() + L"\\vendrak-32");
    EXPECT_EQ(GetFileAttributesW(GetSettingsFolder().c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(SettingsFileTest, PublicCallsUseTheSettingsFolder) {
    CreateDirectoryW(TestSettingsFolder().c_str(), nullptr);
    WriteWholeFile(TestSettingsFolder() + L"\\vendrak.ini", "120 130 640 480");
    LoadWindowPlacement(window);
    EXPECT_EQ(OuterOf(window), (Outer{120, 130, 640, 480}));
    SetWindowPos(window, nullptr, 50, 60, 700, 500, SWP_NOZORDER);
    SaveWindowPlacement(window);
    EXPECT_EQ(ReadWholeFile(TestSettingsFolder() + L"\\vendrak.ini"), "50 60 700 500");
    RemoveTree(TestSettingsFolder());
}

} // namespace
} // namespace vendrak
