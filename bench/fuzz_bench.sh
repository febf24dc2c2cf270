#!/usr/bin/env bash
# Fuzzes the platform-free core with libFuzzer (clang, AddressSanitizer, UndefinedBehaviorSanitizer) and prints, per
# target, the executions and the crashes, leaks and timeouts found. Exits non-zero if any target found one.
#   bash bench/fuzz_bench.sh [RUNS]          each target for RUNS executions (default 10,000,000), one after another
#   bash bench/fuzz_bench.sh --seconds S     each target for S seconds (scripts/test.sh runs this with 5)
# FUZZ_TARGETS="file_decode file_load" picks targets; FUZZ_MAX_LEN=N caps the input length (libFuzzer's -max_len, by
# default the largest seed or 4096). Each target starts from its seeds (fuzz/make_seeds.py writes them into
# build/fuzz/seeds) plus what earlier runs found (build/fuzz/corpus); an input that fails is kept in
# build/fuzz/artifacts/<target>/ and is replayed with: build/fuzz/<target>_fuzz <file>. libFuzzer stops a target
# at its first failure.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/fuzz
limit=(-runs=10000000)
[ -z "${FUZZ_MAX_LEN:-}" ] || limit+=(-max_len="$FUZZ_MAX_LEN")
case "${1:-}" in
--seconds) limit[0]=-max_total_time="${2:?--seconds needs a number}" ;;
"") ;;
*) limit[0]=-runs="$1" ;;
esac

mkdir -p "$build"
{ cmake -S "$root/fuzz" -B "$build" -DCMAKE_CXX_COMPILER=clang++ && cmake --build "$build" -j2; } >"$build/build.log" 2>&1 ||
    { cat "$build/build.log"; exit 1; }
rm -rf "$build/seeds" && python3 "$root/fuzz/make_seeds.py" "$build/seeds"
# The targets of the sources (an old build folder may still hold a removed one).
targets=${FUZZ_TARGETS:-$(cd "$root/fuzz" && ls -- *_fuzz.cpp | sed 's/_fuzz\.cpp$//' | sort | tr '\n' ' ')}

# What stopped a target, from libFuzzer's and the sanitizers' own reports: a leak, a timeout, running out of memory,
# or else a crash (a sanitizer's error, a signal, a failed property).
found() { grep -q -E "$1" "$log" && echo 1 || echo 0; }
status=0
rows=()
stamp=$(date +%Y%m%d-%H%M%S)-$$
for t in $targets; do
    corpus=$build/corpus/$t
    artifacts=$build/artifacts/$t
    log=$build/logs/$stamp-$t.log # one per run: a short run beside a long one must not write into its log
    mkdir -p "$corpus" "$artifacts" "$(dirname "$log")"
    echo "== $t: ${limit[*]}"
    start=$(date +%s)
    rc=0
    # New inputs go into the first folder only, so the seeds stay as they are.
    nice -n 10 "$build/${t}_fuzz" "${limit[@]}" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$artifacts/" "$corpus" "$build/seeds/$t" >"$log" 2>&1 || rc=$?
    secs=$(($(date +%s) - start))
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    [ -n "$execs" ] || execs=$(grep -o -E '^#[0-9]+' "$log" | tail -n 1 | tr -d '#')
    leaks=$(found 'ERROR: LeakSanitizer')
    timeouts=$(found 'ERROR: libFuzzer: timeout')
    ooms=$(found 'ERROR: libFuzzer: (out-of-memory|malloc)')
    crashes=0
    if [ "$rc" -ne 0 ] && [ $((leaks + timeouts + ooms)) -eq 0 ]; then crashes=1; fi
    if [ $((crashes + leaks + timeouts + ooms)) -gt 0 ]; then
        status=1
        grep -E 'ERROR:|runtime error:|PROPERTY FAILED|SUMMARY|Test unit written' "$log" | head -n 8 | sed 's/^/   /'
        echo "   (whole log: $log)"
    fi
    rows+=("$(printf '%-16s %14s %8s %9s %8s %6s %9s %6s' "$t" "${execs:-0}" "$secs" \
        "$((${execs:-0} / (secs > 0 ? secs : 1)))" "$crashes" "$leaks" "$timeouts" "$ooms")")
done

echo
printf '%-16s %14s %8s %9s %8s %6s %9s %6s\n' target executions seconds "exec/s" crashes leaks timeouts ooms
printf '%s\n' "${rows[@]}"
exit $status
