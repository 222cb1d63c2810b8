// Ends the process at once on a failed HRESULT.
#include "app/CheckFailure.h"

#include "platform/FailureLog.h"

namespace vendrak {
namespace {

// STATUS_FAIL_FAST_EXCEPTION; ntstatus.h cannot be included beside windows.h.
constexpr DWORD kFailFastExceptionCode = 0xC0000602;

} // namespace

void CheckFailure(HRESULT hr) {
    if (SUCCEEDED(hr))
        return;
    // Leave a trace for a debugger or the log before the process disappears without unwinding.
    VENDRAK_LOG_FAILURE("CheckFailure", hr, "fail-fast on a failed browser call");
    EXCEPTION_RECORD record{};
    record.ExceptionCode = kFailFastExceptionCode;
    record.ExceptionFlags = EXCEPTION_NONCONTINUABLE;
    record.NumberParameters = 1;
    record.ExceptionInformation[0] = static_cast<ULONG_PTR>(static_cast<DWORD>(hr));
    RaiseFailFastException(&record, nullptr, 0);
    // Should RaiseFailFastException ever return (an old Wine), still never continue.
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(hr));
}

} // namespace vendrak
