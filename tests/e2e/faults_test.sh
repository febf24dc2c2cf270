#!/usr/bin/env bash
# The program killed while it saves: a process saves the assignment files in a loop through the program's own
# store (two different sets by turns) and is killed with SIGKILL at random moments. Each time both files must hold
# one set or the other, whole. The full 100 kills are in bench/soak_bench.sh.
source "$WW_SRC/tests/e2e/lib.sh"
source "$WW_SRC/tests/e2e/savekill_lib.sh"
RUNS=${FAULT_KILLS:-20}
DIR=$E2E_WORK/data
LOG=$E2E_WORK/kills.txt
mkdir -p "$DIR"

echo "saves per second: $(wine "$WW_BIN/saveloop.exe" rate "Z:${DIR//\//\\}" 2>/dev/null | tr -d '\r')"
kill_during_save "$RUNS" "$DIR" "$LOG"
tally_kills "$LOG" | sed 's/^/  /'
check_eq "every kill left tipp.dat whole, old or new" "$(grep -c 'tipp=[AB] ' "$LOG")" "$RUNS"
check_eq "every kill left tipps.dat whole, old or new" "$(grep -c 'tipps=[AB] ' "$LOG")" "$RUNS"
# What a kill leaves in scratch files is taken over by the next save.
wine "$WW_BIN/saveloop.exe" rate "Z:${DIR//\//\\}" >/dev/null 2>&1
check_eq "the next save clears what the kills left" "$(saved_state "Z:${DIR//\//\\}" | grep -o 'scratch=[0-9]*')" scratch=0
finish
