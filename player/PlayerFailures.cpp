// The player's one way to the shell's failure log.
#include "player/PlayerFailures.h"

#include <atomic>

namespace vendrak {
namespace {

std::atomic<FailureReport> theReport{nullptr};

constexpr long kPlayerFailureCode =
    static_cast<long>(0x80004005u); // E_FAIL: the player's failures carry no code of their own

} // namespace

void SetPlayerFailureReport(FailureReport report) {
    theReport.store(report);
}

void ReportPlayerFailure(const char* source, int line, std::string_view what) {
    if (FailureReport report = theReport.load()) {
        report(source, line, kPlayerFailureCode, what);
    }
}

} // namespace vendrak
