// The texts that the host object's general methods compose for the page, each defined here only.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vendrak {

// Any thread; each returns a new string owned by the caller.

// "MethodWithParametersAndReturnValue(" text ", " number ") called."
std::wstring ComposeGreeting(std::wstring_view text, int32_t number);

// "[" index "] is " entry "." with the index in signed decimal.
std::wstring ComposeExampleStringAt(int32_t index, std::wstring_view entry);

// appVersion " (WebView2 v." browserVersion " , VLC lib v. " libvlcVersion " )" (8-bit text).
std::string ComposeVersionInfo(std::string_view appVersion, std::string_view browserVersion,
                               std::string_view libvlcVersion);

} // namespace vendrak
