// A local application data folder of its own for each test program, and the file helpers of its tests.
#pragma once

#include <string>

namespace vendrak {

// A program that links PrivateFolders.cpp (which holds its main) sees, from before its first test to after
// its last, a fresh temporary folder as its local application data folder; the settings folder lies below
// it (not created).
const std::wstring& TestLocalAppData();
std::wstring TestSettingsFolder();

// A fresh folder below the temporary root for one test; removed with its files by RemoveTree.
std::wstring MakeTestFolder(const wchar_t* name);
void RemoveTree(const std::wstring& folder);
std::string ReadWholeFile(const std::wstring& path);
void WriteWholeFile(const std::wstring& path, const std::string& content);

} // namespace vendrak
