// The program's entry point.
#include "app/Startup.h"

#include <windows.h>

// There is no command line and no single-instance check: several copies may run at once.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    return vendrak::RunShell(instance, showCommand);
}
