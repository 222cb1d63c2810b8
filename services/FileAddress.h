// The file:/// address of a Windows path, written as the browser writes it (portable).
#pragma once

#include <string>
#include <string_view>

namespace vendrak {

// Any thread. The file:/// address of a Windows path given in UTF-8, in the canonical form Chromium
// reports for it: backslashes become "/", a drive path gets "file:///", a UNC path "file://server/share/...",
// the "\\?\" prefix is dropped, and the bytes Chromium escapes in an address path (controls, blank,
// '"', '#', '%', '<', '>', '?', '^', '`', '{', '|', '}', DEL and every byte beyond ASCII) are
// percent-encoded with upper-case hex digits.
[[nodiscard]] std::string FileAddressFromPath(std::string_view path);

} // namespace vendrak
