// Shared set-up of the window tests: a private settings folder, the main window, a clean AppState.
#pragma once

#include <windows.h>

#include <string>

namespace vendrak {

// The local application data folder this test process sees (a fresh temporary folder), and the
// settings folder below it (not created).
const std::wstring& TestLocalAppData();
std::wstring TestSettingsFolder();

// A fresh folder below the temporary root for one test; removed with its files by RemoveTree.
std::wstring MakeTestFolder(const wchar_t* name);
void RemoveTree(const std::wstring& folder);
std::string ReadWholeFile(const std::wstring& path);
void WriteWholeFile(const std::wstring& path, const std::string& content);

// Creates the main window as start-up does (class registered once per process), hidden, and puts it
// into a cleared AppState with the menu detached and kept. DestroyMainWindow undoes it and drains WM_QUIT.
HWND CreateTestMainWindow();
void DestroyMainWindow(HWND window);

// Handles every message waiting for this thread (none is WM_QUIT).
void PumpMessages();

RECT OuterRect(HWND window);

} // namespace vendrak
