// Functions of Windows' own libraries that the program loads on first use instead of at start-up.
#pragma once

#include <windows.h>

namespace vendrak {

// Any thread. The export `name` of `library`, taken from the system folder only (never the program's
// folder or the current one, where a planted file of that name could lie); the library stays loaded
// until the process ends. Null when the library or the export is missing.
//
// For libraries that only a rarely used page call needs: imported, the loader would map them and the
// libraries they pull in (under Wine: winspool, compstui, dnsapi, nsi) before the window appears.
template <typename Function>
[[nodiscard]] Function SystemFunction(const wchar_t* library, const char* name) {
    const HMODULE module = LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module == nullptr)
        return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

} // namespace vendrak
