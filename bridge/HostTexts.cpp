// The general methods' page texts (see HostTexts.h).
#include "bridge/HostTexts.h"

namespace vendrak {

std::wstring ComposeGreeting(std::wstring_view text, int32_t number) {
    std::wstring result = L"MethodWithParametersAndReturnValue(";
    result += text;
    result += L", ";
    result += std::to_wstring(number);
    result += L") called.";
    return result;
}

std::wstring ComposeExampleStringAt(int32_t index, std::wstring_view entry) {
    std::wstring result = L"[";
    result += std::to_wstring(index);
    result += L"] is ";
    result += entry;
    result += L".";
    return result;
}

std::string ComposeVersionInfo(std::string_view appVersion, std::string_view browserVersion,
                               std::string_view libvlcVersion) {
    std::string result{appVersion};
    result += " (WebView2 v.";
    result += browserVersion;
    result += " , VLC lib v. ";
    result += libvlcVersion;
    result += " )";
    return result;
}

} // namespace vendrak
