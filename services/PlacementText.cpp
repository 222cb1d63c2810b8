// The text form of the main window's placement in the settings file.
#include "services/PlacementText.h"

#include <cctype>
#include <charconv>

namespace vendrak {
namespace {

// Formatted integer input as a C++ stream does it: skip white space, optional sign, decimal digits.
// std::from_chars is locale-independent, which keeps the file readable whatever the regional settings.
bool ReadInt(std::string_view& text, int& value) {
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    // from_chars takes '-' but not '+'; a stream takes both, never both at once.
    if (i + 1 < text.size() && text[i] == '+' && std::isdigit(static_cast<unsigned char>(text[i + 1])))
        ++i;
    int parsed = 0;
    auto [end, error] = std::from_chars(text.data() + i, text.data() + text.size(), parsed);
    if (error != std::errc{})
        return false;
    value = parsed;
    text.remove_prefix(static_cast<size_t>(end - text.data()));
    return true;
}

} // namespace

WindowPlacement ParsePlacement(std::string_view text) {
    WindowPlacement placement;
    for (int* field : {&placement.left, &placement.top, &placement.width, &placement.height}) {
        if (!ReadInt(text, *field))
            break;
    }
    return placement;
}

std::string FormatPlacement(const WindowPlacement& placement) {
    return std::to_string(placement.left) + ' ' + std::to_string(placement.top) + ' ' +
           std::to_string(placement.width) + ' ' + std::to_string(placement.height);
}

} // namespace vendrak
