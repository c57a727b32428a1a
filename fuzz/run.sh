#!/usr/bin/env bash
# Runs every fuzz target for FUZZ_SECONDS (default 60) on a working copy of its corpus, then the monkey's
# long stream (MONKEY_SEEDS x MONKEY_EVENTS, default 10 x 10,000 events) in the sanitizer build. Inputs that
# break an invariant land in FUZZ_BUILD/fuzz-artifacts; the figures for fuzz/RESULTS.md are printed at the end.
# Usage: fuzz/run.sh FUZZ_BUILD ASAN_BUILD
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
fuzz_build=$(cd "$1" && pwd)
asan_build=$(cd "$2" && pwd)
seconds=${FUZZ_SECONDS:-60}
monkey_seeds=${MONKEY_SEEDS:-101,102,103,104,105,106,107,108,109,110}
monkey_events=${MONKEY_EVENTS:-10000}

export QT_QPA_PLATFORM=offscreen LANG=C.UTF-8
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export LSAN_OPTIONS=suppressions=$root/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

artifacts=$fuzz_build/fuzz-artifacts
mkdir -p "$artifacts"
summary=()
failed=0

for target in numericedit hexedit memo; do
    work=$fuzz_build/fuzz-corpus/$target
    log=$fuzz_build/fuzz-$target.log
    mkdir -p "$work"
    case $target in
        memo) max_len=70 ;;
        *) max_len=256 ;;
    esac
    echo "== fuzz_$target for ${seconds}s"
    status=0
    "$fuzz_build/fuzz/fuzz_$target" -max_total_time="$seconds" -max_len="$max_len" -rss_limit_mb=4096 \
        -print_final_stats=1 -artifact_prefix="$artifacts/$target-" "$work" "$root/fuzz/corpus/$target" \
        >"$log" 2>&1 || status=$?
    grep -E '^#[0-9]+[[:space:]]+(INITED|DONE)|Invariant broken|ERROR:|^[*]{3}' "$log" || true
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    per_second=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
    coverage=$(grep -E '^#[0-9]+[[:space:]]+(DONE|NEW|REDUCE|pulse|INITED)' "$log" | tail -1 | sed -n 's/.*cov: \([0-9]*\) ft: \([0-9]*\) corp: \([0-9]*\).*/\1 edges, \2 features, corpus \3/p' || true)
    if [ "$status" -ne 0 ]; then
        failed=1
        summary+=("fuzz_$target: FOUND A PROBLEM (exit $status), see $log and $artifacts")
    else
        summary+=("fuzz_$target: ${runs:-?} runs (${per_second:-?}/s), ${coverage:-coverage unknown}, no finding")
    fi
done

echo "== monkey: seeds $monkey_seeds, $monkey_events events each"
monkey_log=$fuzz_build/monkey.log
status=0
TINTORA_MONKEY_SEEDS=$monkey_seeds TINTORA_MONKEY_EVENTS=$monkey_events \
    "$asan_build/tests/tst_monkey" survivesRandomEvents >"$monkey_log" 2>&1 || status=$?
grep -E 'QINFO|FAIL|Totals|ERROR' "$monkey_log" || true
seed_count=$(tr ',' '\n' <<<"$monkey_seeds" | grep -c .)
if [ "$status" -ne 0 ]; then
    failed=1
    summary+=("monkey: FOUND A PROBLEM (exit $status), see $monkey_log")
else
    summary+=("monkey: $((seed_count * monkey_events)) events ($seed_count seeds), no finding")
fi

echo
echo "== Summary"
printf '%s\n' "${summary[@]}"
exit "$failed"
