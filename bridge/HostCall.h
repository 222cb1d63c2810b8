// Keeps C++ exceptions inside the host object: each method body runs through HostCall.
#pragma once

#include <windows.h>

#include <new>
#include <source_location>
#include <string_view>

#include "platform/FailureLog.h"

namespace vendrak {

// The source name under which the host object's failures reach the failure log.
inline constexpr char kHostObjectSource[] = "HostObjectNodeJsImpl";

// The line of a host-object call, taken at compile time from std::source_location at the call site.
// Only the line is kept: the location's file name is a path on the building machine, and keeping the
// whole location would put that path into the program.
struct CallerLine {
    int line;
    consteval CallerLine(std::source_location where = std::source_location::current()) noexcept
        : line(static_cast<int>(where.line())) {}
};

// A failure of the host object, logged under kHostObjectSource and the caller's line.
inline void LogHostFailure(long code, std::string_view what, CallerLine caller = {}) noexcept {
    LogFailure(kHostObjectSource, caller.line, code, what);
}

// Runs body (returning HRESULT) and returns its code. An exception thrown by it is written to the
// failure log under the caller's line and becomes E_OUTOFMEMORY or E_UNEXPECTED, because the browser's
// side of the call cannot unwind C++ exceptions.
template <typename Body>
HRESULT HostCall(Body&& body, CallerLine caller = {}) noexcept {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        LogHostFailure(E_OUTOFMEMORY, "out of memory", caller);
        return E_OUTOFMEMORY;
    } catch (...) {
        LogHostFailure(E_UNEXPECTED, "unexpected exception", caller);
        return E_UNEXPECTED;
    }
}

// A text result for the page: E_OUTOFMEMORY when the BSTR could not be made (the page must not see a
// null text as success). The caller has already refused a missing place for it with E_POINTER, before
// doing the work that makes the text.
inline HRESULT StoreText(BSTR text, BSTR* out) noexcept {
    if (text == nullptr)
        return E_OUTOFMEMORY;
    *out = text;
    return S_OK;
}

} // namespace vendrak
