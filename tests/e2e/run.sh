#!/usr/bin/env bash
# Runs every end-to-end scenario (tests/e2e/scenarios/*.sh, functions named test_*) in one locale,
# two at a time, each in a Wine session of its own. Usage: run.sh LANG RESULTS_DIR [FILTER]
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
lang=${1:-zh_CN.UTF-8}
out=${2:-/tmp/e2e-results}
filter=${3:-${TS_E2E_FILTER:-}}
rm -rf "$out"
mkdir -p "$out"

list="$out/tests.txt"
: >"$list"
for file in "$here"/scenarios/*.sh; do
    for fn in $(grep -oE '^test_[A-Za-z0-9_]+\(\)' "$file" | tr -d '()'); do
        [ -n "$filter" ] && [[ "$fn" != *$filter* ]] && continue
        echo "$file $fn" >>"$list"
    done
done

run_one() {
    local file=$1 fn=$2 lang=$3 out=$4
    local dir="$out/$fn"
    mkdir -p "$dir"
    local start=$SECONDS
    if timeout -k 5 180 bash -c 'source "$1"; source "$2"; e2e_run "$3" "$4" "$5"' _ \
        "$(dirname "$file")/../lib.sh" "$file" "$fn" "$lang" "$dir" >"$dir/log" 2>&1; then
        echo "PASS $fn ($((SECONDS - start)) s)"
        touch "$dir/passed"
    else
        echo "FAIL $fn ($((SECONDS - start)) s)"
        sed 's/^/    /' "$dir/log" | tail -25
    fi
}
export -f run_one

jobs=${TS_E2E_JOBS:-2}
while read -r file fn; do
    printf '%s\0%s\0%s\0%s\0' "$file" "$fn" "$lang" "$out"
done <"$list" | xargs -r -0 -n 4 -P "$jobs" bash -c 'run_one "$@"' _ | sed "s/^/  [$lang] /"

total=$(wc -l <"$list")
ok=$(find "$out" -name passed | wc -l)
echo "$ok" >"$out/passed"
echo $((total - ok)) >"$out/failed"
[ "$ok" -eq "$total" ]
