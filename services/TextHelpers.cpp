// The text conversions between the page's UTF-16, UTF-8 and the ANSI code page.
#include "services/TextHelpers.h"

#include <climits>
#include <cstring>
#include <cwchar>

namespace vendrak {

std::unique_ptr<char[]> BstrToUtf8(BSTR text) {
    // SysStringLen answers 0 for a null BSTR. The text ends at its first zero code unit even though the
    // length prefix may say more: what follows a zero is never handed on.
    const UINT length = SysStringLen(text);
    const std::string utf8 = WideToUtf8({text, length == 0 ? 0 : wcsnlen(text, length)});
    auto result = std::make_unique<char[]>(utf8.size() + 1); // zero-filled: the terminator is there
    std::memcpy(result.get(), utf8.data(), utf8.size());
    return result;
}

BSTR AnsiToBstr(const char* text) {
    const size_t bytes = text == nullptr ? 0 : std::strlen(text);
    if (bytes == 0 || bytes > INT_MAX)
        return SysAllocStringLen(L"", 0);
    const int sourceBytes = static_cast<int>(bytes);
    const int units = MultiByteToWideChar(CP_ACP, 0, text, sourceBytes, nullptr, 0);
    if (units <= 0)
        return SysAllocStringLen(L"", 0);
    // SysAllocStringLen with no source reserves the units and the terminating zero; convert in place.
    BSTR result = SysAllocStringLen(nullptr, static_cast<UINT>(units));
    if (result == nullptr)
        return nullptr;
    const int written = MultiByteToWideChar(CP_ACP, 0, text, sourceBytes, result, units);
    if (written != units) {
        SysFreeString(result);
        return SysAllocStringLen(L"", 0);
    }
    return result;
}

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
    if (utf8.empty() || utf8.size() > INT_MAX)
        return {};
    const int sourceBytes = static_cast<int>(utf8.size());
    const int units = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), sourceBytes, nullptr, 0);
    if (units <= 0)
        return {};
    std::wstring wide(static_cast<size_t>(units), L'\0');
    if (MultiByteToWideChar(CP_UTF8, 0, utf8.data(), sourceBytes, wide.data(), units) != units)
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
