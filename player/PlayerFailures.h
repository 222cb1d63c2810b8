// Where the portable player reports a failure it has handled: the shell hands it the failure log.
#pragma once

#include <string_view>

namespace vendrak {

using FailureReport = void (*)(const char* source, int line, long code, std::string_view what);

// Any thread; the shell sets it once at start-up (before any player exists). Until then failures are
// handled the same way but told to no one.
void SetPlayerFailureReport(FailureReport report);
// Any thread; never throws.
void ReportPlayerFailure(const char* source, int line, std::string_view what);

} // namespace vendrak
