// The page's automation strings (BSTR) to and from the shell's UTF-8 and 8-bit texts.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <memory>

namespace vendrak {

// Both run on their caller's thread and keep no state; bad input gives U+FFFD replacements or the empty
// text. Only std::bad_alloc may escape.

// UTF-16 page text -> zero-terminated UTF-8, no byte order mark. Stops at the first zero code unit;
// unpaired surrogates become U+FFFD; a null or empty BSTR gives an array holding only the zero.
// The caller owns the array.
std::unique_ptr<char[]> BstrToUtf8(BSTR text);

// Zero-terminated 8-bit text read in the system's ANSI code page (every byte, UTF-8 or not) -> new
// BSTR; the caller owns it (normally an out value for the page). Empty or null text gives an empty,
// non-null BSTR; null only when memory runs out.
BSTR AnsiToBstr(const char* text);

} // namespace vendrak
