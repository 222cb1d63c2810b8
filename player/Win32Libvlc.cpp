// Finds libvlc.dll at run time and points the libvlc table at it: beside the program, else in the
// installed VLC of the program's own bitness.
#include "player/Libvlc.h"

#include "platform/ModulePath.h"
#include "platform/Registry.h"
#include "player/LibvlcTable.h"

#include <windows.h>

#include <algorithm>
#include <string_view>
#include <vector>

namespace vendrak {
namespace {

constexpr wchar_t kLibvlcFile[] = L"libvlc.dll";
constexpr wchar_t kVlcKey[] = L"SOFTWARE\\VideoLAN\\VLC";
constexpr wchar_t kVlcFolderValue[] = L"InstallDir";
constexpr char kVersionExport[] = "libvlc_get_version";
#if defined(_WIN64)
constexpr REGSAM kVlcView = KEY_WOW64_64KEY;
#else
// On 64-bit Windows a 32-bit VLC writes its key in the 32-bit view, the one that holds a VLC this
// program can load.
constexpr REGSAM kVlcView = KEY_WOW64_32KEY;
#endif

LibvlcFunction Export(HMODULE module, const char* name) {
    return reinterpret_cast<LibvlcFunction>(GetProcAddress(module, name));
}

// Loads `folder`\libvlc.dll and, when it is a libvlc 3 with every function the player calls, fills the
// table from it and keeps it loaded for the life of the process.
LibvlcLoad TryFolder(std::wstring_view folder) {
    LibvlcLoad load;
    while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/'))
        folder.remove_suffix(1);
    if (folder.empty())
        return load;
    load.path = std::wstring(folder) + L'\\' + kLibvlcFile;
    // By full path, so that only this folder counts; the altered search path finds libvlccore.dll beside
    // it (and libvlccore its plugins\ folder).
    const HMODULE module = LoadLibraryExW(load.path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (module == nullptr) {
        load.error = static_cast<long>(GetLastError());
        return load;
    }
    std::vector<LibvlcFunction> functions(kLibvlcCount);
    for (size_t i = 0; i < kLibvlcCount; ++i) {
        functions[i] = Export(module, kLibvlcNames[i]);
        if (functions[i] == nullptr) {
            load.error = ERROR_PROC_NOT_FOUND;
            FreeLibrary(module);
            return load;
        }
    }
    using VersionFunction = const char* (*)();
    const auto version = reinterpret_cast<VersionFunction>(Export(module, kVersionExport));
    const char* text = version != nullptr ? version() : nullptr;
    load.version = text != nullptr ? text : "";
    if (!IsLibvlc3(load.version)) {
        load.state = LibvlcState::WrongVersion;
        FreeLibrary(module);
        return load;
    }
    std::copy(functions.begin(), functions.end(), LibvlcSlots());
    load.state = LibvlcState::Loaded;
    return load;
}

LibvlcLoad FindLibvlc() {
    LibvlcLoad beside = TryFolder(ProgramFolder());
    if (beside.state == LibvlcState::Loaded)
        return beside;
    LibvlcLoad installed =
        TryFolder(ReadRegistryText(HKEY_LOCAL_MACHINE, kVlcKey, kVlcFolderValue, kVlcView));
    if (installed.state == LibvlcState::Loaded)
        return installed;
    // Nothing usable: a libvlc of another version says most about what to install instead.
    if (beside.state == LibvlcState::WrongVersion || installed.path.empty())
        return beside;
    return installed;
}

} // namespace

const LibvlcLoad& LoadLibvlc() {
    static const LibvlcLoad found = FindLibvlc();
    return found;
}

} // namespace vendrak
