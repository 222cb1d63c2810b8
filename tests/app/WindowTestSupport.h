// Shared set-up of the window tests: a private settings folder, the main window, a clean AppState.
#pragma once

#include "tests/services/PrivateFolders.h"

#include <windows.h>

#include <string>

namespace vendrak {

// Creates the main window as start-up does (class registered once per process), hidden, and puts it
// into a cleared AppState with the menu detached and kept. DestroyMainWindow undoes it and drains WM_QUIT.
HWND CreateTestMainWindow();
void DestroyMainWindow(HWND window);

// Handles every message waiting for this thread (none is WM_QUIT).
void PumpMessages();

RECT OuterRect(HWND window);

} // namespace vendrak
