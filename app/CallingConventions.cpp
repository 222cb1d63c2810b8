// Compile-time proof that every procedure the system calls back has the stdcall (CALLBACK) type.
// On i686 a missing annotation changes the calling convention and crashes on the first call; assigning
// to the exact pointer types makes the build fail instead.
#include "app/MainWindow.h"
#include "app/MessageLoop.h"

namespace vendrak {
namespace {

[[maybe_unused]] constexpr WNDPROC kWindowProcedure = WndProc;
[[maybe_unused]] constexpr TIMERPROC kWakeProcedure = WakeVideoCheck;
[[maybe_unused]] constexpr GetMessageFunction kGetMessage = GetMessageA;

} // namespace
} // namespace vendrak
