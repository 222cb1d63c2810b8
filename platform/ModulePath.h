// Where the running program's file lies: the one place that asks Windows for the module path.
#pragma once

#include <string>

namespace vendrak {

// Any thread. The full path of the running program's file, however long; empty when Windows cannot
// give it.
[[nodiscard]] std::wstring ProgramPath();

// Any thread. The folder holding the running program, without a trailing backslash; empty when the
// program's path cannot be read.
[[nodiscard]] std::wstring ProgramFolder();

} // namespace vendrak
