// The start-up of the shell: the main window, the players, the browser and the message loop.
#pragma once

#include <windows.h>

namespace vendrak {

// Creates the players for the given main window (the program passes StartPlayers).
using PlayerStarter = void (*)(HWND mainWindow);

// UI thread, once. Registers the class and creates the main window (each failure shows its message
// box and returns null), places it from the settings file, starts the players, shows the window with
// `showCommand`, keeps and detaches its menu and paints it. Sets App().mainWindow and App().savedMenu.
HWND OpenMainWindow(HINSTANCE instance, int showCommand, PlayerStarter startPlayers);

// UI thread, once. Creates both players in static storage (they live until the process ends) and puts
// them into App(). A player libvlc could not make is inert.
void StartPlayers(HWND mainWindow);

// UI thread: all of WinMain. Tells the failure log the settings folder first. Returns the process exit
// code (1 when the window cannot be made).
int RunShell(HINSTANCE instance, int showCommand);

} // namespace vendrak
