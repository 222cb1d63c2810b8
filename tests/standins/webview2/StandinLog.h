// The stand-in browser's call log: one line per call, read by the end-to-end tests.
//
// Line format (UTF-8): milliseconds since the stand-in loaded, a tab, the call's name, then each argument
// after a tab. Arguments are escaped so that a line stays one line: "\\" for a backslash, "\t", "\n",
// "\r", and "\xNN" for other control characters; everything else is kept byte for byte.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>
#include <string_view>

namespace standin {

// The folder holding the stand-in DLL (its scenario and log live there), with a trailing backslash.
const std::wstring& StandinFolder();

// Any thread. Appends one line and writes it through at once, so that nothing is lost when the program
// ends abruptly (fail-fast).
void Log(std::string_view call, std::initializer_list<std::string> arguments = {});

std::string Utf8(std::wstring_view text);
std::string Utf8(const wchar_t* text); // "(null)" for a null pointer
std::string Hex(unsigned long value);  // "0x" and eight hex digits
std::string Escape(std::string_view text);

} // namespace standin
