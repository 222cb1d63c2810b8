// Registry texts, read whatever their length and however they end.
#include "platform/Registry.h"

#include "platform/Handles.h"

#include <vector>

namespace vendrak {

std::wstring ReadRegistryText(HKEY root, const wchar_t* subKey, const wchar_t* valueName, REGSAM view) {
    RegistryKey key;
    if (RegOpenKeyExW(root, subKey, 0, KEY_READ | view, key.Put()) != ERROR_SUCCESS)
        return {};
    std::vector<wchar_t> buffer(MAX_PATH + 1);
    DWORD type = 0;
    DWORD bytes = static_cast<DWORD>((buffer.size() - 1) * sizeof(wchar_t));
    LSTATUS status = RegQueryValueExW(key.Get(), valueName, nullptr, &type,
                                      reinterpret_cast<BYTE*>(buffer.data()), &bytes);
    if (status == ERROR_MORE_DATA) {
        buffer.resize(bytes / sizeof(wchar_t) + 2);
        bytes = static_cast<DWORD>((buffer.size() - 1) * sizeof(wchar_t));
        status = RegQueryValueExW(key.Get(), valueName, nullptr, &type,
                                  reinterpret_cast<BYTE*>(buffer.data()), &bytes);
    }
    if (status != ERROR_SUCCESS || type != REG_SZ)
        return {};
    // A registry string need not end with a zero; the byte count says where it ends.
    std::wstring text(buffer.data(), bytes / sizeof(wchar_t));
    while (!text.empty() && text.back() == L'\0')
        text.pop_back();
    return text;
}

} // namespace vendrak
