// The file:/// address of a Windows path, written as the browser writes it.
#include "services/FileAddress.h"

namespace vendrak {
namespace {

// Chromium's path escaping (checked against Chromium 156 for every printable ASCII byte): the WHATWG
// path set plus '^' and '|', which Chromium escapes and the WHATWG rules leave alone.
bool NeedsEscape(unsigned char byte) {
    if (byte <= 0x20 || byte >= 0x7F)
        return true;
    switch (byte) {
    case '"':
    case '#':
    case '%':
    case '<':
    case '>':
    case '?':
    case '^':
    case '`':
    case '{':
    case '|':
    case '}':
        return true;
    default:
        return false;
    }
}

} // namespace

std::string FileAddressFromPath(std::string_view path) {
    std::string_view rest = path;
    std::string address = "file:///";
    if (rest.starts_with("\\\\?\\UNC\\")) {
        rest.remove_prefix(8);
        address = "file://";
    } else if (rest.starts_with("\\\\?\\")) {
        rest.remove_prefix(4);
    } else if (rest.starts_with("\\\\")) {
        rest.remove_prefix(2);
        address = "file://";
    }
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (const char c : rest) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == '\\') {
            address += '/';
        } else if (NeedsEscape(byte)) {
            address += '%';
            address += kHex[byte >> 4];
            address += kHex[byte & 0x0F];
        } else {
            address += c;
        }
    }
    return address;
}

} // namespace vendrak
