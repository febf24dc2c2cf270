# Sourced by the soak benchmark after tests/e2e/lib.sh: kills a process that saves the assignment files in a loop
# through the program's own store, at random moments, and records what each kill left behind once the files are
# read as the next start reads them.

# kill_during_save RUNS DIR LOG: one line per run in LOG, "tipp=A|B|bad tipps=A|B|bad scratch=N / killed: ..." (see
# saveloop check).
kill_during_save() {
    local runs=$1 dir=$2 log=$3 run pid out=$E2E_WORK/saveloop.out
    local where="Z:${2//\//\\}"
    mkdir -p "$dir"
    : >"$log"
    for run in $(seq 1 "$runs"); do
        wine "$WW_BIN/saveloop.exe" loop "$where" >"$out" 2>&1 &
        pid=$!
        wait_for "grep -qs saving '$out'" 30 || echo "run $run: the save loop did not start: $(cat "$out")"
        # Somewhere in the next quarter second: dozens of saves, so the kill lands at any step of one.
        sleep "0.$(printf '%03d' $((RANDOM % 250)))"
        kill -9 "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
        saved_state "$where" >>"$log"
    done
}

# saved_state WINDIR: the check's line for WINDIR. Finishing a save again changes nothing, so a Wine start that
# fails (seen once on a loaded machine right after a kill) is tried again; if it keeps failing the line says why, and
# the counts fail.
saved_state() {
    local rc out=$E2E_WORK/check.out err=$E2E_WORK/check.err
    for _ in 1 2 3; do
        rc=0
        wine "$WW_BIN/saveloop.exe" check "$1" >"$out" 2>"$err" || rc=$?
        if [ "$rc" = 0 ] && grep -q '^tipp=' "$out"; then
            tr -d '\r' <"$out"
            return 0
        fi
        sleep 0.5
    done
    echo "check failed, exit $rc: $(tr -d '\r' <"$err" | tail -n 3 | tr '\n' ' ')"
}

# The outcomes of a log, counted: "N tipp=A tipps=A scratch=0 / killed: tipp=A tipps=B scratch=2" lines.
tally_kills() { sort "$1" | uniq -c | sed 's/^ *//'; }
