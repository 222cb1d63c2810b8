// The system-information texts from plain numbers, byte for byte.
#include "services/SystemInfoText.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

namespace vendrak {
namespace {

TEST(HardwareAddressText, UpperCaseHexWithoutLeadingZeros) {
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
        std::string want;
    } cases[] = {
        {"leading zeros dropped", {0x0A, 0x00, 0x27, 0x00, 0x00, 0x05}, "A:0:27:0:0:5"},
        {"upper case", {0xDE, 0xAD, 0xBE, 0xEF, 0x00, 0x01}, "DE:AD:BE:EF:0:1"},
        {"every width", {0x00, 0x0F, 0x10, 0x1A, 0xF0, 0xFF}, "0:F:10:1A:F0:FF"},
        {"no address", {}, ""},
        {"one byte", {0x7F}, "7F"},
        {"eight bytes (the record's room)", {1, 2, 3, 4, 5, 6, 7, 0xAB}, "1:2:3:4:5:6:7:AB"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(HardwareAddressText(c.bytes), c.want);
    }
}

TEST(AdapterErrorText, CodeInUnsignedDecimalWithoutLineFeed) {
    struct Case {
        std::uint32_t code;
        std::string want;
    } cases[] = {
        {232, "Failed to get adapter info. Error code: 232"},
        {111, "Failed to get adapter info. Error code: 111"},
        {0, "Failed to get adapter info. Error code: 0"},
        {std::numeric_limits<std::uint32_t>::max(), "Failed to get adapter info. Error code: 4294967295"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(AdapterErrorText(c.code), c.want);
    }
}

TEST(WindowsVersionText, EveryRowOfTheNameTable) {
    struct Case {
        std::uint32_t major;
        std::uint32_t minor;
        std::string_view want;
    } cases[] = {
        {5, 2, "Windows Server 2003"},
        {5, 1, "Windows XP"},
        {5, 0, "Windows 2000"},
        {5, 3, "Windows 2000"},
        {5, 0xFFFFFFFF, "Windows 2000"},
        {6, 3, "Windows 8.1"},
        {6, 2, "Windows 8"},
        {6, 1, "Windows 7"},
        {6, 0, "Windows Vista or Server 2008"},
        {6, 4, "Windows Vista or Server 2008"},
        {10, 0, "Windows 10"},
        {10, 1, "Windows 11"},
        {10, 22000, "Windows 11"},
        {11, 0, "Windows unknown"},
        {4, 0, "Windows unknown"},
        {0, 0, "Windows unknown"},
        {7, 1, "Windows unknown"},
        {0xFFFFFFFF, 0, "Windows unknown"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.major) + "." + std::to_string(c.minor));
        EXPECT_EQ(WindowsVersionName(c.major, c.minor), c.want);
        // The full text: name, the eight-character bitness text, line feed; an unknown major included.
        EXPECT_EQ(WindowsVersionText(c.major, c.minor, kArchitectureAmd64),
                  std::string(c.want) + " 64-bit \n");
        EXPECT_EQ(WindowsVersionText(c.major, c.minor, kArchitectureIntel),
                  std::string(c.want) + " 32-bit \n");
    }
}

TEST(WindowsVersionText, BitnessByArchitecture) {
    struct Case {
        std::uint16_t architecture;
        std::string_view want;
    } cases[] = {
        {kArchitectureAmd64, " 64-bit "},   {kArchitectureIa64, " 64-bit "},
        {kArchitectureArm64, " 64-bit "},   {kArchitectureIntel, " 32-bit "},
        {5 /* ARM */, " 32-bit "},          {10 /* IA32 on Win64 */, " 32-bit "},
        {0xFFFF /* unknown */, " 32-bit "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.architecture);
        EXPECT_EQ(BitnessText(c.architecture), c.want);
        EXPECT_EQ(BitnessText(c.architecture).size(), 8u);
    }
    EXPECT_EQ(WindowsVersionText(10, 0, kArchitectureAmd64), "Windows 10 64-bit \n");
}

TEST(FileVersionText, FourDottedHalvesMostSignificantFirst) {
    struct Case {
        const char* name;
        std::uint32_t ms;
        std::uint32_t ls;
        std::string want;
    } cases[] = {
        {"trailing zero kept", 0x00030000, 0x000C0000, "3.0.12.0"},
        {"all four", 0x00010002, 0x00030004, "1.2.3.4"},
        {"zeros", 0, 0, "0.0.0.0"},
        {"halves are unsigned", 0xFFFFFFFF, 0x8000FFFF, "65535.65535.32768.65535"},
        {"no leading zeros", 0x0002000A, 0x00000F00, "2.10.0.3840"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FileVersionText(c.ms, c.ls), c.want);
    }
}

} // namespace
} // namespace vendrak
