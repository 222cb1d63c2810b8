// Identifiers of the program's resources, shared by the resource script and the code.
#pragma once

#define IDI_VENDRAK 104
#define IDM_MAIN 105
#define IDM_TOGGLE_FULL_SCREEN 40001
#define IDM_ALWAYS_ON_TOP 40002
