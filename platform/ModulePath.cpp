// Where the running program's file lies: the one place that asks Windows for the module path.
#include "platform/ModulePath.h"

#include <windows.h>

namespace vendrak {
namespace {

constexpr size_t kLongestPath = 32768; // the longest path Windows has, in UTF-16 units

} // namespace

std::wstring ProgramPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        // A full buffer means the path was cut (long paths): try again with more room.
        if (path.size() >= kLongestPath)
            return {};
        path.resize(path.size() * 2);
    }
}

std::wstring ProgramFolder() {
    std::wstring path = ProgramPath();
    const size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos)
        return {};
    path.resize(slash);
    return path;
}

} // namespace vendrak
