// The texts of the system-information answers, built from plain numbers.
#include "services/SystemInfoText.h"

#include <charconv>

namespace vendrak {
namespace {

void AppendUnsigned(std::string& text, std::uint32_t value, int base = 10) {
    char digits[16];
    auto [end, error] = std::to_chars(digits, digits + sizeof digits, value, base);
    (void)error; // 16 characters hold any 32-bit value in base 10 or 16
    for (const char* digit = digits; digit != end; ++digit)
        text += (*digit >= 'a' && *digit <= 'f') ? static_cast<char>(*digit - 'a' + 'A') : *digit;
}

} // namespace

std::string HardwareAddressText(std::span<const std::uint8_t> bytes) {
    std::string text;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0)
            text += ':';
        AppendUnsigned(text, bytes[i], 16);
    }
    return text;
}

std::string AdapterErrorText(std::uint32_t code) {
    std::string text(kAdapterErrorPrefix);
    AppendUnsigned(text, code);
    return text;
}

std::string_view WindowsVersionName(std::uint32_t major, std::uint32_t minor) {
    switch (major) {
    case 5:
        return minor == 2 ? "Windows Server 2003" : minor == 1 ? "Windows XP" : "Windows 2000";
    case 6:
        switch (minor) {
        case 3:
            return "Windows 8.1";
        case 2:
            return "Windows 8";
        case 1:
            return "Windows 7";
        default:
            return "Windows Vista or Server 2008";
        }
    case 10:
        // Windows 11 still reports 10.0; only its build number tells it apart, and the build is not used.
        return minor == 0 ? "Windows 10" : "Windows 11";
    default:
        return "Windows unknown";
    }
}

std::string_view BitnessText(std::uint16_t architecture) {
    switch (architecture) {
    case kArchitectureAmd64:
    case kArchitectureIa64:
    case kArchitectureArm64:
        return " 64-bit ";
    default:
        return " 32-bit ";
    }
}

std::string WindowsVersionText(std::uint32_t major, std::uint32_t minor, std::uint16_t architecture) {
    std::string text(WindowsVersionName(major, minor));
    text += BitnessText(architecture);
    text += '\n';
    return text;
}

std::string FileVersionText(std::uint32_t versionMs, std::uint32_t versionLs) {
    std::string text;
    const std::uint32_t parts[] = {versionMs >> 16, versionMs & 0xFFFFu, versionLs >> 16,
                                   versionLs & 0xFFFFu};
    for (std::uint32_t part : parts) {
        if (!text.empty())
            text += '.';
        AppendUnsigned(text, part);
    }
    return text;
}

} // namespace vendrak
