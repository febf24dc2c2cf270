# Sourced after lib.sh: kills a process that saves the assignment files in a loop through the program's own store,
# at random moments, and records what each kill left behind.

# kill_during_save RUNS DIR LOG: one line per run in LOG, "tipp=A|B|bad tipps=A|B|bad scratch=N" (see saveloop).
kill_during_save() {
    local runs=$1 dir=$2 log=$3 run pid out=$E2E_WORK/saveloop.out
    local where="Z:${2//\//\\}"
    mkdir -p "$dir"
    : >"$log"
    for run in $(seq 1 "$runs"); do
        wine "$WW_BIN/saveloop.exe" loop "$where" >"$out" 2>&1 &
        pid=$!
        wait_for "grep -q saving '$out'" 30 || echo "run $run: the save loop did not start: $(cat "$out")"
        # Somewhere in the next quarter second: dozens of saves, so the kill lands at any step of one.
        sleep "0.$(printf '%03d' $((RANDOM % 250)))"
        kill -9 "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
        wine "$WW_BIN/saveloop.exe" check "$where" 2>/dev/null | tr -d '\r' >>"$log"
    done
}

# The outcomes of a log, counted: "N tipp=A tipps=B scratch=0" lines.
tally_kills() { sort "$1" | uniq -c | sed 's/^ *//'; }
