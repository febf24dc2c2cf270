#!/usr/bin/env bash
# Detection latency and text delivery of the real wortwerk.exe: X key presses by xdotool go to a benchmark target
# window whose edit control records the arrival time of every key message; the delivery is measured again with a
# target that keeps the characters itself, to separate Wine's input path from the edit control's own cost. Each
# delivery has its floor beside it: the same events in one bare SendInput call (benchfloor.exe) into the same
# target, in the same run. Figures only, nothing asserted.
E2E_MODE=plain
source "$WW_SRC/tests/e2e/lib.sh"
TITLE="Wortwerk V.2.0"
TARGET="WW Bench Target"
PRESSES=${BENCH_PRESSES:-50}
RUNS=${BENCH_RUNS:-5}
DIR=$E2E_WORK/data
OUT=$E2E_WORK/out
mkdir -p "$DIR" "$OUT"
A=$WW_SRC/bench/analyze.py
winpath() { printf 'Z:%s' "${1//\//\\}"; }
RECORD=$OUT/record.txt
TEXT=$OUT/text.txt

# Keys 1, 2 and 3 of the main keyboard carry the long texts; every other key types "lat".
LENGTHS=([1]=100 [2]=1000 [3]=5000)
python3 "$A" data "$DIR" "1=${LENGTHS[1]}" "2=${LENGTHS[2]}" "3=${LENGTHS[3]}"

# query MSG: one message to the target, answered with a number. A single query can fail (the driver could not be
# started, or the target missed the driver's deadline); the reason goes to driver.log.
query() { wine "$WW_BIN/wwdriver.exe" send "$TARGET" "$@" 2>>"$OUT/driver.log"; }
# target MSG: a query that is asked again before the part gives up, so one failure costs no figure.
target() {
    local try
    for try in 1 2 3; do
        query "$@" && return 0
        echo "  (the target did not answer $1, try $try: $(tail -n 1 "$OUT/driver.log" 2>/dev/null))" >&2
        sleep 1
    done
    return 1
}
dump() { target 0x8001 >/dev/null && target 0x8002 >/dev/null; }
clear_target() { target 0x8003 >/dev/null; }
# One xdotool process holds the key 100 ms: the engine polls and would miss shorter presses.
press() { xdotool keydown "$1" sleep 0.1 keyup "$1"; }

start_wortwerk "$DIR"
drv wait "$TITLE" 15 >/dev/null
sleep 0.5
drv close "$TITLE"
# Hiding a window without a window manager blocks its thread ~2 s in Wine; keys pressed meanwhile are not polled.
drv send "$TITLE" 0 >/dev/null

# start_target [sink]: the benchmark target in the foreground, with X focus on its window.
start_target() {
    (exec wine "$WW_BIN/benchtarget.exe" window "$(winpath "$RECORD")" "$(winpath "$TEXT")" "$@" >/dev/null 2>&1) &
    TARGET_PID=$!
    drv wait "$TARGET" 15 >/dev/null
    xdotool windowfocus --sync "$(xdotool search --name "$TARGET" | head -n 1)"
    drv foreground "$TARGET" >/dev/null
    sleep 0.5
}
stop_target() {
    drv close "$TARGET"
    wait "$TARGET_PID" || true
}
start_target
# Warm-up: the first X key event also brings Wine's Num Lock in line with the X server's.
press KP_Insert
sleep 0.3
press l
sleep 0.3
clear_target

echo "== Injection path alone (a helper process sends Shift by SendInput, 20 times)"
wine "$WW_BIN/benchtarget.exe" probe 20 0x10 0 100 2>/dev/null | sed 's/^/probe /' >"$OUT/probe.times"
dump
python3 "$A" probe "$RECORD" "$OUT/probe.times"
clear_target

echo "== Detection latency ($PRESSES presses each of keypad 0 and then the letter L)"
: >"$OUT/latency.times"
for _ in $(seq 1 "$PRESSES"); do
    echo "trigger $EPOCHREALTIME" >>"$OUT/latency.times"
    press KP_Insert
    sleep 0.2
    echo "scan $EPOCHREALTIME" >>"$OUT/latency.times"
    press l
    sleep 0.2
done
sleep 0.3
dump
python3 "$A" latency "$RECORD" "$OUT/latency.times" 0x4C
echo "  (b is the wait for the engine's next poll that reaches wineserver, plus the injection path above. Wine"
echo "   answers GetAsyncKeyState for 50 ms from a per-thread cache, so a 50 ms tick can read a stale 'up'.)"
lat=$(cat "$TEXT")
expected=$(printf 'lat%.0s' $(seq 1 "$PRESSES"))
if [ "$lat" = "$expected" ]; then
    echo "  text after all presses is as expected"
else
    echo "  text after all presses is NOT as expected: ${#lat} characters, want ${#expected}"
fi
clear_target

# wait_settled LENGTH: until the target's text has LENGTH characters, or its length stays put for ~1 s (at most about
# 300 polls). A poll the busy target does not answer counts as "still changing".
wait_settled() {
    local last=-1 now same=0
    for _ in $(seq 1 300); do
        sleep 0.2
        now=$(query 0x8004) || now=busy
        [ "$now" = "$1" ] && return 0
        if [ "$now" = "$last" ]; then same=$((same + 1)); else same=0; fi
        [ "$same" -ge 4 ] && return 0
        last=$now
    done
}
chars_in() { python3 -c 'import sys; print(len(open(sys.argv[1], encoding="utf-8", newline="").read()))' "$1"; }
# deliver WHO KEY RUN: KEY's text into the current target, by wortwerk.exe (keypad 0, then the key) or by the floor
# (benchfloor.exe: the same events in one SendInput call); the figures go to $OUT/WHERE_WHO_KEY_RUN.txt.
deliver() {
    local who=$1 key=$2 run=$3 line="" floor_pid=""
    local want=$DIR/expected_$key.txt label="${LENGTHS[$key]} characters, $1 run $3"
    clear_target
    if [ "$who" = wortwerk ]; then
        press KP_Insert
        sleep 0.3
        echo "delivery $EPOCHREALTIME" >"$OUT/delivery.times"
        press "$key"
    else
        : >"$OUT/floor.line"
        (cd "$DIR" && exec wine "$WW_BIN/benchfloor.exe" send "$key" >"$OUT/floor.line" 2>>"$OUT/driver.log") &
        floor_pid=$!
        wait_for '[ -s "$OUT/floor.line" ] || ! kill -0 $floor_pid 2>/dev/null' 30 || true
    fi
    wait_settled "$(chars_in "$want")"
    dump
    if [ -n "$floor_pid" ]; then
        wait "$floor_pid" || true
        line=$(cat "$OUT/floor.line")
    fi
    if [ "$who" = wortwerk ]; then
        python3 "$A" delivery "$RECORD" "$OUT/delivery.times" "0x3$key" "$want" "$TEXT" "$label"
    elif [ -n "$line" ]; then
        python3 "$A" floor "$RECORD" "$line" "$want" "$TEXT" "$label"
    else
        echo "  $label: benchfloor.exe could not send"
    fi | tee "$OUT/${WHERE}_${who}_${key}_$run.txt" | grep -v '^RESULT'
}

# delivery WHERE: each long text RUNS times into the current target, wortwerk.exe and its floor taking turns.
delivery() {
    local key run goal
    WHERE=$1
    for key in 1 2 3; do
        for run in $(seq 1 "$RUNS"); do
            deliver wortwerk "$key" "$run"
            deliver floor "$key" "$run"
        done
        goal=""
        [ "$key" = 3 ] && goal="goal < 200 ms"
        python3 "$A" compare "${LENGTHS[$key]} chars, $WHERE" "$goal" "$OUT/${WHERE}_wortwerk_${key}"_*.txt -- \
            "$OUT/${WHERE}_floor_${key}"_*.txt
    done
    clear_target
}

echo "== Delivery into a multi-line edit control: key texts of 100, 1000 and 5000 characters, $RUNS runs each"
delivery "edit"
stop_target

echo "== Delivery into a sink window (characters kept in memory, no edit control), $RUNS runs each"
start_target sink
press l # this target's first X key event brings Num Lock in line again
sleep 0.3
delivery "sink"
stop_target
