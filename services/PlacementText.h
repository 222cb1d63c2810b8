// The text form of the main window's placement in the settings file (portable).
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace vendrak {

// left, top, width, height of the window's outer rectangle, in screen pixels.
struct WindowPlacement {
    int left = 38;
    int top = 22;
    int width = 1079;
    int height = 636;

    friend bool operator==(const WindowPlacement&, const WindowPlacement&) = default;
};

// Reads up to four whitespace-separated decimal integers in the order left, top, width, height. Reading
// stops at the first number that cannot be read (end of text, not a number, out of the 32-bit range);
// that number and all after it keep their defaults. Never fails.
WindowPlacement ParsePlacement(std::string_view text);

// "left top width height": single spaces, classic-locale digits, no line feed.
std::string FormatPlacement(const WindowPlacement& placement);

} // namespace vendrak
