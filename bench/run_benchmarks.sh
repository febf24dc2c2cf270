#!/usr/bin/env bash
# Runs every benchmark of wortwerk.exe under Wine and prints a summary table. Figures only: nothing is asserted.
#   bash bench/run_benchmarks.sh [WINDOWS_BUILD_DIR]      (default build/win; built by scripts/build-windows.sh)
# Each part brings up its own Xvfb and Wine prefix (tests/e2e/lib.sh) and ends every process it started.
# Shorter runs: BENCH_PRESSES, BENCH_RUNS, BENCH_START_RUNS, BENCH_IDLE_SECS, BENCH_ARMED_SECS, BENCH_BASE_SECS,
# BENCH_DECOMP_SECS.
set -uo pipefail
WW_SRC=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$(cd "${1:-$WW_SRC/build/win}" && pwd)
cmake --build "$BUILD" --target benchstart benchtarget benchfloor >/dev/null || exit 2 # built on demand only
# The parts take half an hour and start their programs hundreds of times: they run copies, so a build meanwhile
# cannot replace a program under them (a driver that cannot start is a failed query). The Wine prefixes stay where
# they are.
WW_BIN=$(mktemp -d /tmp/ww-bench-bin.XXXXXX)
WW_TEMPLATES=$BUILD
BENCH_SUMMARY=$(mktemp /tmp/ww-bench-summary.XXXXXX)
export WW_SRC WW_BIN WW_TEMPLATES BENCH_SUMMARY
trap 'rm -rf "$BENCH_SUMMARY" "$WW_BIN"' EXIT
for exe in wortwerk wwdriver benchstart benchtarget benchfloor; do
    cp "$BUILD/$exe.exe" "$WW_BIN/" 2>/dev/null || {
        echo "missing $BUILD/$exe.exe: build the Windows side first (scripts/build-windows.sh)" >&2
        exit 2
    }
done

echo "wortwerk.exe benchmarks under $(wine --version 2>/dev/null), $(nproc) cores, $(date -u '+%Y-%m-%d %H:%M UTC')"
echo "binary: $BUILD/wortwerk.exe ($(stat -c %s "$WW_BIN/wortwerk.exe") bytes)"
# Other work on this machine competes for the two cores; the load average tells how much there was.
echo "load average at start: $(cut -d' ' -f1-3 /proc/loadavg)"
status=0
for part in startup keys cpu; do
    echo
    bash "$WW_SRC/bench/${part}_bench.sh" || {
        echo "(the $part part ended early)"
        status=1
    }
done

echo
echo "load average at end: $(cut -d' ' -f1-3 /proc/loadavg)"
echo
echo "Summary (all figures under Wine on this machine; % = percent of one core)"
awk -F'|' 'BEGIN { printf "%-62s %-44s %s\n", "figure", "value", "goal / note"
                   printf "%-62s %-44s %s\n", "------", "-----", "-----------" }
           { printf "%-62s %-44s %s\n", $1, $2, $3 }' "$BENCH_SUMMARY"
exit $status
