#!/usr/bin/env bash
# Start-up time of wortwerk.exe: from CreateProcess until its icon is in Wine's standalone tray, measured inside
# Wine by benchstart.exe (polls every ~2 ms). The first launch in a fresh prefix is shown apart. Figures only.
E2E_MODE=plain
source "$WW_SRC/tests/e2e/lib.sh"
RUNS=${BENCH_START_RUNS:-10}
DIR=$E2E_WORK/data
mkdir -p "$DIR"
# A folder as after the first start: both assignment files and the first-start marker exist.
python3 "$WW_SRC/bench/analyze.py" data "$DIR"
winpath() { printf 'Z:%s' "${1//\//\\}"; }

echo "== Start-up: launch -> tray icon, 1 first launch + $RUNS runs (each copy is killed with TerminateProcess)"
wine "$WW_BIN/benchstart.exe" "$(winpath "$WW_BIN/wortwerk.exe")" "$(winpath "$DIR")" $((RUNS + 1)) 2>/dev/null |
    tee "$E2E_WORK/startup.txt" | sed 's/^/  /'
python3 - "$E2E_WORK/startup.txt" <<'PY'
import os, statistics, sys
rows = [dict(zip(l.split()[0::2], l.split()[1::2])) for l in open(sys.argv[1]) if l.startswith("run ")]
first, rest = rows[0], rows[1:]
icon = [float(r["icon_ms"]) for r in rest if float(r["icon_ms"]) >= 0]
window = [float(r["window_ms"]) for r in rest if float(r["window_ms"]) >= 0]
stall = [float(r["desktop_stall_ms"]) for r in rest]
missing = len(rest) - len(icon)
print(f"  first launch in the fresh prefix: icon after {float(first['icon_ms']):.1f} ms")
print(f"  launch -> main window exists: median {statistics.median(window):.1f} ms, "
      f"min {min(window):.1f}, max {max(window):.1f}")
print(f"  launch -> tray icon: median {statistics.median(icon):.1f} ms, min {min(icon):.1f}, max {max(icon):.1f}"
      f" ({len(icon)} runs, {missing} without icon)")
print(f"  after each kill Wine's desktop thread stalled {statistics.median(stall):.0f} ms (median); "
      "the next launch waited for it to end")
path = os.environ.get("BENCH_SUMMARY")
if path:
    with open(path, "a", encoding="utf-8") as f:
        f.write(f"Start-up to tray icon: median / min / max|{statistics.median(icon):.1f} / {min(icon):.1f} / "
                f"{max(icon):.1f} ms|{len(icon)} runs; first launch {float(first['icon_ms']):.1f} ms\n")
PY
