// The shell's check on browser start-up calls that must not fail.
#pragma once

#include <windows.h>

namespace vendrak {

// Any thread. Returns at once when `hr` is not a failure; otherwise ends the process on the spot through
// the platform's fail-fast mechanism (no message, no clean-up, nothing saved): a browser that refused
// these calls cannot show the page in the state the shell relies on.
void CheckFailure(HRESULT hr);

} // namespace vendrak
