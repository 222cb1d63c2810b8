// The page's automation strings to and from UTF-8 and the ANSI code page.
#include "bridge/BstrText.h"

#include "services/TextHelpers.h"

#include <climits>
#include <cstring>
#include <cwchar>
#include <string>

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

} // namespace vendrak
