// The text conversions between UTF-16, UTF-8 and the ANSI code page.
#include "services/TextHelpers.h"

#include <windows.h>

#include <climits>

namespace vendrak {

std::string Utf8ToAnsi(const std::string& utf8) {
    // Both stages stop at the first zero byte: the wide text is what comes before it, and holds no zero.
    const std::wstring wide = Utf8ToWide(std::string_view(utf8.c_str()));
    if (wide.empty())
        return {};
    const int ansiSize = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (ansiSize <= 0)
        return {};
    std::string ansi(static_cast<size_t>(ansiSize) - 1, '\0');
    if (WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, ansi.data(), ansiSize, nullptr, nullptr) == 0)
        return {};
    return ansi;
}

std::wstring Utf8ToWide(std::string_view utf8) {
    return CodePageToWide(CP_UTF8, utf8);
}

std::wstring CodePageToWide(unsigned int codePage, std::string_view bytes) {
    if (bytes.empty() || bytes.size() > INT_MAX)
        return {};
    const int sourceBytes = static_cast<int>(bytes.size());
    const int units = MultiByteToWideChar(codePage, 0, bytes.data(), sourceBytes, nullptr, 0);
    if (units <= 0)
        return {};
    std::wstring wide(static_cast<size_t>(units), L'\0');
    if (MultiByteToWideChar(codePage, 0, bytes.data(), sourceBytes, wide.data(), units) != units)
        return {};
    return wide;
}

std::string WideToUtf8(std::wstring_view wide) {
    if (wide.empty() || wide.size() > INT_MAX)
        return {};
    const int sourceUnits = static_cast<int>(wide.size());
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide.data(), sourceUnits, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return {};
    std::string utf8(static_cast<size_t>(bytes), '\0');
    if (WideCharToMultiByte(CP_UTF8, 0, wide.data(), sourceUnits, utf8.data(), bytes, nullptr, nullptr) !=
        bytes)
        return {};
    return utf8;
}

} // namespace vendrak
