// The texts of the system-information answers, built from plain numbers (portable).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace vendrak {

// The texts the page sees when a system query fails. Defined here only.
inline constexpr std::string_view kUnknownVersionText = "Unknown";
inline constexpr std::string_view kAdapterErrorPrefix = "Failed to get adapter info. Error code: ";
inline constexpr std::string_view kWindowsModuleMissingText = "Windows unknown Err: 1\n";
inline constexpr std::string_view kWindowsCallMissingText = "Windows unknown Err: 2\n";

// Processor architectures as SYSTEM_INFO reports them (PROCESSOR_ARCHITECTURE_*).
inline constexpr std::uint16_t kArchitectureIntel = 0;
inline constexpr std::uint16_t kArchitectureIa64 = 6;
inline constexpr std::uint16_t kArchitectureAmd64 = 9;
inline constexpr std::uint16_t kArchitectureArm64 = 12;

// All functions: any thread, results owned by the caller (views point at static text).

// Bytes in upper-case hexadecimal without leading zeros, joined by ":" ("A:0:27:0:0:5"); "" for none.
std::string HardwareAddressText(std::span<const std::uint8_t> bytes);

// kAdapterErrorPrefix followed by the code in unsigned decimal, no line feed.
std::string AdapterErrorText(std::uint32_t code);

// The Windows name for a major.minor version ("Windows 10", "Windows unknown"); the build plays no part.
std::string_view WindowsVersionName(std::uint32_t major, std::uint32_t minor);

// " 64-bit " for the 64-bit architectures (AMD64, IA64, ARM64), " 32-bit " for every other value.
std::string_view BitnessText(std::uint16_t architecture);

// Name, bitness text and a line feed: "Windows 10 64-bit \n".
std::string WindowsVersionText(std::uint32_t major, std::uint32_t minor, std::uint16_t architecture);

// The four 16-bit halves of a file version (most significant double word first) as "major.minor.build.
// revision" in unsigned decimal: 3.0.12.0.
std::string FileVersionText(std::uint32_t versionMs, std::uint32_t versionLs);

} // namespace vendrak
