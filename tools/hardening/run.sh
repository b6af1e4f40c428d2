#!/usr/bin/env bash
# The hardening run: the whole test suite built with AddressSanitizer and
# UndefinedBehaviorSanitizer, then every fuzz target for a bounded time over
# its seed corpus. Fails on any test failure and on any fuzzer finding.
#
#   tools/hardening/run.sh [all|asan|fuzz]     (default: all)
#
# Environment:
#   WEXAL_FUZZ_SECONDS     seconds per fuzz target (default 60)
#   WEXAL_FUZZ_JOBS        targets run at once (default: the number of cores)
#   WEXAL_FUZZ_TARGETS     names of the targets to run (default: every folder
#                          under fuzz/corpus/)
#   WEXAL_ASAN_BUILD_DIR   sanitizer build (default build-asan/)
#   WEXAL_FUZZ_BUILD_DIR   fuzz build (default build-fuzz/); the corpus each
#                          target grows is kept in its corpus/ folder, what it
#                          finds in findings/, its output in logs/
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
asan_build="${WEXAL_ASAN_BUILD_DIR:-$root/build-asan}"
fuzz_build="${WEXAL_FUZZ_BUILD_DIR:-$root/build-fuzz}"
seconds="${WEXAL_FUZZ_SECONDS:-60}"
jobs=$(nproc)
fuzz_jobs="${WEXAL_FUZZ_JOBS:-$jobs}"

# Leaks are findings; the suppressions cover only caches of system libraries.
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:check_initialization_order=1:strict_init_order=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$here/lsan.supp:print_suppressions=0"
export QT_QPA_PLATFORM=offscreen

run_asan() {
    echo "== Sanitizer build in $asan_build"
    cmake -S "$root" -B "$asan_build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWEXAL_SANITIZE=ON
    cmake --build "$asan_build" --parallel "$jobs"
    (cd "$asan_build" && ctest --output-on-failure --parallel "$jobs")
}

# Runs one target; its summary line goes to logs/<name>.summary.
fuzz_one() {
    local name=$1
    local binary="$fuzz_build/fuzz/fuzz_$name"
    local seeds="$root/fuzz/corpus/$name"
    local work="$fuzz_build/corpus/$name"
    local findings="$fuzz_build/findings/$name"
    local log="$fuzz_build/logs/$name.log"
    mkdir -p "$work" "$findings"
    # An input that runs 20 s is a finding (a hang); one that runs 10 s is
    # kept as slow-unit-... and named in the summary, but fails nothing.
    local args=(-max_total_time="$seconds" -timeout=20 -report_slow_units=10 -rss_limit_mb=2560
                -print_final_stats=1 -artifact_prefix="$findings/")
    [ -f "$root/fuzz/$name.dict" ] && args+=(-dict="$root/fuzz/$name.dict")
    local rc=0
    # New inputs go to the work corpus (the first folder), never to the seeds.
    "$binary" "${args[@]}" "$work" "$seeds" >"$log" 2>&1 || rc=$?
    local runs cov ft
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    cov=$(grep -Eo 'cov: [0-9]+' "$log" | tail -n 1 | cut -d' ' -f2)
    ft=$(grep -Eo 'ft: [0-9]+' "$log" | tail -n 1 | cut -d' ' -f2)
    local found slow
    found=$(find "$findings" -type f ! -name 'slow-unit-*' | wc -l)
    slow=$(find "$findings" -type f -name 'slow-unit-*' | wc -l)
    local verdict=ok
    if [ "$rc" -ne 0 ] || [ "$found" -ne 0 ]; then
        verdict="FAILED (exit $rc, $found finding(s) in $findings)"
    elif [ "$slow" -ne 0 ]; then
        verdict="$slow slow input(s) in $findings, ok"
    fi
    printf '%-16s runs %-10s cov %-6s ft %-7s %s\n' "$name" "${runs:-?}" "${cov:-?}" "${ft:-?}" "$verdict" \
        >"$fuzz_build/logs/$name.summary"
    [[ "$verdict" == *" ok" || "$verdict" == ok ]]
}

run_fuzz() {
    echo "== Fuzz build in $fuzz_build"
    cmake -S "$root" -B "$fuzz_build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_COMPILER=clang++ -DWEXAL_FUZZ=ON -DBUILD_TESTING=OFF
    cmake --build "$fuzz_build" --target wexal_fuzzers --parallel "$jobs"

    local targets=()
    if [ -n "${WEXAL_FUZZ_TARGETS:-}" ]; then
        read -r -a targets <<<"$WEXAL_FUZZ_TARGETS"
    else
        for dir in "$root"/fuzz/corpus/*/; do
            targets+=("$(basename "$dir")")
        done
    fi
    mkdir -p "$fuzz_build/logs"
    rm -rf "$fuzz_build/findings"
    echo "== Fuzzing ${#targets[@]} targets for ${seconds}s each, $fuzz_jobs at a time"
    # One target per core; each is single-threaded. A target's verdict is
    # read from its summary, so that no exit status is lost to the throttle.
    local names=() failed=0
    for name in "${targets[@]}"; do
        rm -f "$fuzz_build/logs/$name.summary"
        if [ ! -x "$fuzz_build/fuzz/fuzz_$name" ]; then
            echo "no fuzz target fuzz_$name for fuzz/corpus/$name" >&2
            failed=1
            continue
        fi
        while [ "$(jobs -rp | wc -l)" -ge "$fuzz_jobs" ]; do
            wait -n || true
        done
        fuzz_one "$name" &
        names+=("$name")
    done
    wait || true
    for name in "${names[@]}"; do
        local summary="$fuzz_build/logs/$name.summary"
        if [ -f "$summary" ] && [[ "$(cat "$summary")" == *" ok" ]]; then
            continue
        fi
        failed=1
        echo "-- $name: last lines of $fuzz_build/logs/$name.log" >&2
        tail -n 40 "$fuzz_build/logs/$name.log" >&2
    done
    for name in "${names[@]}"; do
        cat "$fuzz_build/logs/$name.summary" 2>/dev/null || echo "$name: no result"
    done
    return "$failed"
}

case "${1:-all}" in
all)
    run_asan
    run_fuzz
    ;;
asan)
    run_asan
    ;;
fuzz)
    run_fuzz
    ;;
*)
    echo "usage: $0 [all|asan|fuzz]" >&2
    exit 2
    ;;
esac
