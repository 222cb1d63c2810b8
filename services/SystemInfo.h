// The machine facts the page asks for: hardware address, the program's version, the Windows version.
#pragma once

#include <string>

namespace vendrak {

// Each queries the system anew on every call, never fails (failures are folded into the text) and
// returns an 8-bit ASCII text owned by the caller. Any thread; the host object calls them on the UI
// thread.

// The first network adapter's hardware address ("DE:AD:BE:EF:0:1": upper-case hexadecimal bytes
// without leading zeros), the empty string when it has none, or
// "Failed to get adapter info. Error code: <n>".
std::string GetMacAddressText();

// The running program's file version from its version resource ("3.0.12.0"), or "Unknown".
std::string GetAppVersionText();

// "Windows 10 64-bit \n" style: the name, " 64-bit " or " 32-bit ", a line feed; or
// "Windows unknown Err: 1\n" / "Windows unknown Err: 2\n" when the version call cannot be found.
std::string GetWindowsVersionText();

} // namespace vendrak
