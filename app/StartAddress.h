// The web application's start address: assembled from the build's obfuscated copy, or the demo
// application beside the program, and the rule that decides whether a navigation reaches it.
#pragma once

#include <string>
#include <string_view>

namespace vendrak {

// UI thread, when the controller is ready. The start address set by the build option
// VENDRAK_START_ADDRESS, or, when that was empty, the file:/// address of web\index.html in the
// program's folder (FileAddressFromPath). The caller owns the returned text.
[[nodiscard]] std::wstring AssembleStartAddress();

// Any thread. True when `uri` is the start address: same length and every UTF-16 unit equal once the
// ASCII letters A-Z of both are lowered. No other folding, trimming or address normalisation.
[[nodiscard]] bool IsStartAddress(std::wstring_view uri, std::wstring_view startAddress);

} // namespace vendrak
