// A local application data folder of its own for each test program, and the main of the programs that use it.
#include "tests/services/PrivateFolders.h"

#include "tests/services/ScratchFolder.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace vendrak {
namespace {

std::wstring g_root;
std::wstring g_localAppData;
std::wstring g_hiveName;

// The shell asks SHGetKnownFolderPath for the local application data folder, which reads it from
// HKCU's "User Shell Folders". Overriding HKCU for this process with a private key points it at a
// temporary folder, so that no test reads or writes the prefix user's real settings.
void RedirectLocalAppData() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    g_root = std::wstring(temp) + L"vendrak-tests-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(g_root.c_str(), nullptr);
    g_localAppData = g_root + L"\\Local";
    CreateDirectoryW(g_localAppData.c_str(), nullptr);

    g_hiveName = L"Software\\VendrakTestHive" + std::to_wstring(GetCurrentProcessId());
    HKEY hive = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, g_hiveName.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &hive, nullptr),
              ERROR_SUCCESS);
    HKEY folders = nullptr;
    ASSERT_EQ(RegCreateKeyExW(hive,
                              L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
                              0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &folders, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(folders, L"Local AppData", 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(g_localAppData.c_str()),
                   static_cast<DWORD>((g_localAppData.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(folders);
    ASSERT_EQ(RegOverridePredefKey(HKEY_CURRENT_USER, hive), ERROR_SUCCESS);
    RegCloseKey(hive);
}

void UndoRedirect() {
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    RegDeleteTreeW(HKEY_CURRENT_USER, g_hiveName.c_str());
    RemoveTree(g_root);
}

} // namespace

const std::wstring& TestLocalAppData() {
    return g_localAppData;
}

std::wstring TestSettingsFolder() {
    return g_localAppData + L"\\vendrak-32";
}

std::wstring MakeTestFolder(const wchar_t* name) {
    const std::wstring folder = g_root + L"\\" + name;
    RemoveTree(folder);
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

void RemoveTree(const std::wstring& folder) {
    testing::RemoveTree(folder);
}

std::string ReadWholeFile(const std::wstring& path) {
    return testing::ReadBytes(path);
}

void WriteWholeFile(const std::wstring& path, const std::string& content) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr));
    CloseHandle(file);
}

} // namespace vendrak

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    vendrak::RedirectLocalAppData();
    const int result = RUN_ALL_TESTS();
    vendrak::UndoRedirect();
    return result;
}
