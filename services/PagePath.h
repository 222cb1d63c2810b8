// The path convention between the page and the shell: paths handed back by the page are cut (portable).
#pragma once

#include <string_view>

namespace vendrak {

// Removes everything up to and including the first "/" ("/C:\x\a.txt" names C:\x\a.txt; "C:/x/a.txt"
// names x/a.txt relative to the current folder); a path without "/" is returned whole. The result is a
// view into the argument. Any thread.
std::string_view CutPagePath(std::string_view path) noexcept;

} // namespace vendrak
