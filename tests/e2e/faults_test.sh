#!/usr/bin/env bash
# The program killed while it saves: a process saves the assignment files in a loop through the program's own
# store (two different sets by turns) and is killed with SIGKILL at random moments. Each time, once the files are
# read as the next start reads them, both must hold the same set, whole, with no scratch file left. The full 100
# kills are in bench/soak_bench.sh.
source "$WW_SRC/tests/e2e/lib.sh"
source "$WW_SRC/tests/e2e/savekill_lib.sh"
RUNS=${FAULT_KILLS:-20}
DIR=$E2E_WORK/data
LOG=$E2E_WORK/kills.txt
mkdir -p "$DIR"

echo "saves per second: $(wine "$WW_BIN/saveloop.exe" rate "Z:${DIR//\//\\}" 2>/dev/null | tr -d '\r')"
kill_during_save "$RUNS" "$DIR" "$LOG"
tally_kills "$LOG" | sed 's/^/  /'
check_eq "every kill left both files from one save, whole, and no scratch file" \
    "$(grep -c -e '^tipp=A tipps=A scratch=0 ' -e '^tipp=B tipps=B scratch=0 ' "$LOG" || true)" "$RUNS"
finish
