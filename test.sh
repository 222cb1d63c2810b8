#!/usr/bin/env bash
# Builds everything and runs every test suite: native (plain, AddressSanitizer + UBSan, ThreadSanitizer),
# the Windows suites on the shipped i686 build under Wine's wow64 mode + Xvfb, and the real file dialogs
# on the x86_64 build under wine64. Ends with "N passed, N failed".
set -uo pipefail
root=$(cd "$(dirname "$0")" && pwd)
cd "$root"
./tools/deps.sh || exit 1

jobs=$(nproc)
results=$(mktemp -d)
trap 'rm -rf "$results"' EXIT
build_failures=0
start=$SECONDS

step() { printf '\n== %s\n' "$*"; }

build() { # configure-preset [build-preset]
    local target=${2:-$1}
    step "build $target"
    if ! { cmake --preset "$1" >/dev/null && cmake --build --preset "$target" -j "$jobs"; }; then
        echo "BUILD FAILED: $target"
        build_failures=$((build_failures + 1))
        return 1
    fi
}

run_tests() { # preset [runner...]
    local preset=$1
    shift
    step "test $preset"
    "$@" ctest --preset "$preset" -j "$jobs" --output-junit "$results/$preset.xml" --no-tests=ignore
    if [ ! -f "$results/$preset.xml" ]; then
        echo "NO RESULTS: $preset"
        build_failures=$((build_failures + 1))
    fi
}

build native && run_tests native
build native-asan && ASAN_OPTIONS=detect_leaks=1 \
    LSAN_OPTIONS=suppressions=$root/tests/sanitizers/lsan.supp:print_suppressions=0 \
    UBSAN_OPTIONS=print_stacktrace=1 run_tests native-asan
build native-tsan && TSAN_OPTIONS=suppressions=$root/tests/sanitizers/tsan.supp run_tests native-tsan
# The Windows suites run on the very build that is shipped. Only the real file dialogs stay on x86_64:
# in Wine's wow64 mode GetOpenFileNameA and GetSaveFileNameA of a 32-bit program return 0 at once.
windows_note=""
step "can Wine start i686 programs here?"
if ./tools/wine-session win32 true; then
    if build win32 win32-tests; then
        step "check win32 imports"
        ./tools/check-imports build/win32/bin/vendrak.exe || build_failures=$((build_failures + 1))
        run_tests win32 ./tools/wine-session win32
    fi
    build win64 win64-dialogs && run_tests win64-dialogs ./tools/wine-session win64
else
    # A kernel without 32-bit support (ia32_emulation off) runs no i686 code at all: everything that
    # the i686 suites check is then checked on the x86_64 build of the same sources.
    windows_note="the Windows suites ran on the x86_64 build: Wine cannot start i686 programs here"
    echo "$windows_note"
    # The i686 tests still build, warnings as errors, so that a 32-bit-only fault shows here too.
    build win32 win32-tests && step "check win32 imports" && ./tools/check-imports build/win32/bin/vendrak.exe \
        || build_failures=$((build_failures + 1))
    build win64 && run_tests win64 ./tools/wine-session win64
fi

passed=0 failed=$build_failures skipped=0
for xml in "$results"/*.xml; do
    [ -f "$xml" ] || continue
    # CTest writes the attributes of <testsuite> on separate lines.
    line=$(head -c 4096 "$xml" | tr '\n\t' '  ' | grep -m1 -o '<testsuite [^>]*>')
    t=$(sed -n 's/.* tests="\([0-9]*\)".*/\1/p' <<<"$line")
    f=$(sed -n 's/.* failures="\([0-9]*\)".*/\1/p' <<<"$line")
    s=$(sed -n 's/.* skipped="\([0-9]*\)".*/\1/p' <<<"$line")
    d=$(sed -n 's/.* disabled="\([0-9]*\)".*/\1/p' <<<"$line")
    skipped=$((skipped + ${s:-0} + ${d:-0}))
    failed=$((failed + ${f:-0}))
    passed=$((passed + ${t:-0} - ${f:-0} - ${s:-0} - ${d:-0}))
done

echo
[ -z "$windows_note" ] || echo "note: $windows_note"
echo "took $((SECONDS - start)) s"
summary="$passed passed, $failed failed"
((skipped)) && summary+=", $skipped skipped"
echo "$summary"
((failed == 0))
