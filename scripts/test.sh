#!/usr/bin/env bash
# Runs every test level: native unit tests (ASan + UBSan), the Windows-side tests under Wine, and the
# end-to-end tests that drive the real program under Wine; each Wine level in a Chinese and an English
# locale. First it proves the set-up itself: every program the scripts call comes from a package that the
# set-up installs. Exits non-zero when anything fails. Usage: scripts/test.sh [setup|native|win|e2e ...]
set -uo pipefail
source "$(dirname "$0")/lib/setup.sh"
source "$(dirname "$0")/lib/wine_env.sh"
source "$(dirname "$0")/lib/check_setup.sh"
source "$(dirname "$0")/lib/release.sh"

levels=("$@")
[ ${#levels[@]} -eq 0 ] && levels=(setup native win e2e)
want() { [[ " ${levels[*]} " == *" $1 "* ]]; }

targets=()
want native && targets+=(native)
{ want win || want e2e; } && targets+=(win64 win32)
ts_setup "${targets[@]}" || { echo "test: 0 passed, 1 failed"; exit 1; }
# The end-to-end level unpacks and starts the release archives too.
if want e2e; then
    ts_release "$TS_BUILD_ROOT/release" >/dev/null || { echo "test: 0 passed, 1 failed"; exit 1; }
fi

passed=0
failed=0
results="$TS_BUILD_ROOT/test-results"
rm -rf "$results"
mkdir -p "$results"

# check NAME COMMAND...: one test of the set-up, counted with the others.
check() {
    local name=$1 out
    shift
    if out=$("$@" 2>&1); then
        passed=$((passed + 1))
        echo "  PASS $name"
    else
        failed=$((failed + 1))
        echo "  FAIL $name"
        [ -n "$out" ] && sed 's/^/    /' <<<"$out"
    fi
}
# The check must notice a package missing from the list even where it is installed by hand.
check_catches_a_missing_package() {
    local without=() p
    for p in "${TS_PACKAGES[@]}"; do [ "$p" = wine ] || without+=("$p"); done
    local report
    report=$(ts_check_programs "${without[@]}") && { echo "a list without wine passed the check"; return 1; }
    [[ "$report" == *"'wine'"*"package 'wine'"* ]] && return 0
    echo "the report does not name wine and its package: $report"
    return 1
}
check_broken_template_is_not_trusted() {
    local fake
    fake=$(mktemp -d)
    touch "$fake/.ready"
    ts_wine_template_ok "$fake" && { rm -rf "$fake"; echo "an empty template with its ready mark was trusted"; return 1; }
    rm -rf "$fake"
    return 0
}

if want setup; then
    ts_log "set-up checks"
    check "every program the scripts call comes from a listed package" ts_check_programs "${TS_PACKAGES[@]}"
    check "the check notices a package missing from the list" check_catches_a_missing_package
    check "a half-made Wine template is not trusted" check_broken_template_is_not_trusted
fi

if want native; then
    ts_log "native unit tests"
    ctest --test-dir "$TS_BUILD_ROOT/native" -j "$(nproc)" --output-on-failure >"$results/native.log" 2>&1
    grep -E '^[0-9]+% tests passed|Failed|\*\*\*' "$results/native.log" | tail -40
    total=$(sed -n -E 's/.*tests passed, ([0-9]+) tests failed out of ([0-9]+).*/\2/p' "$results/native.log")
    bad=$(sed -n -E 's/.*tests passed, ([0-9]+) tests failed out of ([0-9]+).*/\1/p' "$results/native.log")
    if [ -z "$total" ]; then
        failed=$((failed + 1))
        tail -30 "$results/native.log"
    else
        passed=$((passed + total - bad))
        failed=$((failed + bad))
    fi
fi

if want win; then
    for lang in zh_CN.UTF-8 en_US.UTF-8; do
        ts_log "Windows-side tests under Wine ($lang)"
        log="$results/win-$lang.log"
        (
            trap 'ts_session_end' EXIT
            ts_session_start "$results/win-$lang" "$lang" || exit 1
            cd "$results/win-$lang" && timeout 600 wine "$TS_BUILD_ROOT/win64/win_tests.exe" --gtest_color=no
        ) >"$log" 2>&1
        grep -E '^\[  (PASSED|FAILED|SKIPPED) ' "$log" | sed "s/^/  [$lang] /"
        ok=$(sed -n -E 's/^\[  PASSED  \] ([0-9]+) tests?.*/\1/p' "$log" | tail -1)
        bad=$(sed -n -E 's/^\[  FAILED  \] ([0-9]+) tests?, listed below.*/\1/p' "$log" | tail -1)
        if [ -z "$ok" ] && [ -z "$bad" ]; then
            failed=$((failed + 1))
            echo "  [$lang] win_tests did not finish:"
            tail -30 "$log"
        else
            passed=$((passed + ${ok:-0}))
            failed=$((failed + ${bad:-0}))
        fi
    done
fi

if want e2e; then
    for lang in zh_CN.UTF-8 en_US.UTF-8; do
        ts_log "end-to-end tests under Wine ($lang)"
        "$TS_ROOT/tests/e2e/run.sh" "$lang" "$results/e2e-$lang"
        ok=$(cat "$results/e2e-$lang/passed" 2>/dev/null || echo 0)
        bad=$(cat "$results/e2e-$lang/failed" 2>/dev/null || echo 1)
        passed=$((passed + ok))
        failed=$((failed + bad))
    done
fi

echo "test: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
