// Keeps C++ exceptions inside the host object: each method body runs through GuardHostCall.
#pragma once

#include <windows.h>

#include <new>
#include <string_view>

#include "platform/FailureLog.h"

namespace vendrak {

// Runs body (returning HRESULT) and returns its code. An exception thrown by it is written to the
// failure log under `source` and the caller's line and becomes E_OUTOFMEMORY or E_UNEXPECTED, because
// the browser's side of the call cannot unwind C++ exceptions.
template <typename Body>
HRESULT GuardHostCall(const char* source, int line, Body&& body) noexcept {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        LogFailure(source, line, E_OUTOFMEMORY, "out of memory");
        return E_OUTOFMEMORY;
    } catch (...) {
        LogFailure(source, line, E_UNEXPECTED, "unexpected exception");
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
