// Reading the registry texts that say where an installed component lives.
#pragma once

#include <windows.h>

#include <string>

namespace vendrak {

// Any thread. The REG_SZ value `valueName` of `root`\`subKey`, read in the registry view `view`
// (KEY_WOW64_32KEY or KEY_WOW64_64KEY); empty when the key or the value is missing or not text.
[[nodiscard]] std::wstring ReadRegistryText(HKEY root, const wchar_t* subKey, const wchar_t* valueName,
                                            REGSAM view);

} // namespace vendrak
