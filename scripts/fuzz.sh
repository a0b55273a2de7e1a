#!/usr/bin/env bash
# Builds the libFuzzer targets (tests/fuzz/*.cpp) natively with clang, ASan and UBSan, in a build
# directory of their own, and runs each for a bounded time. The corpus is kept between runs.
# Usage: scripts/fuzz.sh [seconds per target, default 300] [target ...]
# With TS_FUZZ_RUNS set, a target also stops after that many executions. Inputs are at most
# TS_FUZZ_MAX_LEN bytes (default 1024): settings files and field texts are small, and short inputs run
# several times faster.
# Exits non-zero when a target crashes; the input that did it is kept under <build>/crashes.
set -euo pipefail
source "$(dirname "$0")/lib/setup.sh"

seconds=${1:-300}
[ $# -gt 0 ] && shift
build=${TS_FUZZ_BUILD:-$TS_BUILD_ROOT/fuzz}

ts_install_packages

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for f in "$TS_ROOT"/tests/fuzz/*.cpp; do targets+=("$(basename "$f" .cpp)"); done
fi

ts_log "building ${targets[*]} in $build"
# The library gets coverage instrumentation too, or the fuzzer would be blind inside it.
mkdir -p "$(dirname "$build")"
CC=clang CXX=clang++ ts_configure "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTS_BUILD_FUZZ=ON -DTS_BUILD_TESTS=OFF \
    -DCMAKE_C_FLAGS=-fsanitize=fuzzer-no-link -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link || exit 1
ninja -C "$build" "${targets[@]}" >"$build/build.log" 2>&1 || { tail -40 "$build/build.log"; exit 1; }

crashed=0
for name in "${targets[@]}"; do
    corpus="$build/corpus/$name"
    mkdir -p "$corpus" "$build/crashes"
    dict=()
    [ -f "$TS_ROOT/tests/fuzz/$name.dict" ] && dict=(-dict="$TS_ROOT/tests/fuzz/$name.dict")
    log="$build/$name.log"
    ts_log "running $name for $seconds s"
    status=0
    runs_limit=()
    [ -n "${TS_FUZZ_RUNS:-}" ] && runs_limit=(-runs="$TS_FUZZ_RUNS")
    "$build/$name" "${dict[@]}" "${runs_limit[@]}" -max_len="${TS_FUZZ_MAX_LEN:-1024}" -max_total_time="$seconds" \
        -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$build/crashes/$name-" "$corpus" >"$log" 2>&1 || status=$?
    runs=$(sed -n -E 's/^stat::number_of_executed_units: *([0-9]+).*/\1/p' "$log" | tail -1)
    [ -z "$runs" ] && runs=$(sed -n -E 's/^Done ([0-9]+) runs.*/\1/p' "$log" | tail -1)
    if [ "$status" -ne 0 ]; then
        crashed=1
        echo "$name: CRASH after ${runs:-?} executions (exit $status)"
        grep -E '^(==[0-9]+==ERROR|SUMMARY|artifact_prefix|Test unit written)' "$log" | head -10
    else
        echo "$name: ${runs:-?} executions in $seconds s, no crash (corpus: $(ls "$corpus" | wc -l) inputs)"
    fi
done
exit "$crashed"
