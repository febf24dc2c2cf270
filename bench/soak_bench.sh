#!/usr/bin/env bash
# Long use and faults, with figures and checks (exit status 1 if one fails):
#   bash bench/soak_bench.sh [WINDOWS_BUILD_DIR]      (default build/win; built by scripts/build-windows.sh)
# 1. Soak: SOAK_EXPANSIONS (10,000) expansions of mixed texts into a window, every fourth with Shift, Ctrl or Alt
#    held, then SOAK_CYCLES (200) open/close cycles of the tray menu, editor, overview, pick list and help; the
#    program's USER and GDI objects, handles and private bytes before, during and after, and the modifier checks.
#    Checks: every text typed exactly, no modifier left down, held ones down again, no lone Alt, every cycle done,
#    no count grown, private memory grown by at most 1 MiB.
# 2. Kill during save: SOAK_KILLS (100) times a loop of saves through the program's store is killed with SIGKILL
#    at a random moment; what each kill left behind once the files are read as the next start reads them. Check:
#    after every kill both files hold one save, whole, with no scratch file left.
# About 45 minutes on two cores under Wine 8. SOAK_EXPANSIONS=0 SOAK_CYCLES=0 runs only part 2.
set -uo pipefail
WW_SRC=$(cd "$(dirname "$0")/.." && pwd)
WW_BIN=$(cd "${1:-$WW_SRC/build/win}" && pwd)
cmake --build "$WW_BIN" --target soakdriver saveloop >/dev/null || exit 2 # built on demand only
export WW_SRC WW_BIN
for exe in wortwerk wwdriver soakdriver saveloop; do
    [ -f "$WW_BIN/$exe.exe" ] || {
        echo "missing $WW_BIN/$exe.exe: build the Windows side first" >&2
        exit 2
    }
done
source "$WW_SRC/tests/e2e/lib.sh"
source "$WW_SRC/bench/soak/soak_lib.sh"
source "$WW_SRC/bench/soak/savekill_lib.sh"
EXPANSIONS=${SOAK_EXPANSIONS:-10000}
CYCLES=${SOAK_CYCLES:-200}
KILLS=${SOAK_KILLS:-100}
OUT=$E2E_WORK/soak.txt
echo "wortwerk.exe soak under $(wine --version 2>/dev/null), $(nproc) cores, $(date -u '+%Y-%m-%d %H:%M UTC')," \
    "load average $(cut -d' ' -f1-3 /proc/loadavg)"

if [ "$EXPANSIONS$CYCLES" != 00 ]; then
    echo "== Soak: $EXPANSIONS expansions, then $CYCLES open/close cycles of each window"
    soak_run "$EXPANSIONS" "$CYCLES" "$OUT" >/dev/null || echo "(the driver ended early)"
    python3 - "$OUT" <<'PY'
import re, sys
rows, facts = [], {}
for line in open(sys.argv[1], encoding="utf-8"):
    label, _, rest = line.strip().partition(" ")
    pairs = dict(re.findall(r"(\w+)=(\S+)", rest))
    if "gdi_table" in pairs:
        rows.append((label.replace("during", "during " + rest.split()[0]) if label == "during" else label, pairs))
    elif label in ("expansions", "modifier_checks", "held_restored", "alt_keys", "cycles", "warm-up"):
        facts.setdefault(label, []).append(rest)
    elif line.strip():
        print("  " + line.rstrip())
cols = [("user", "USER objects"), ("gdi", "GDI objects"), ("windows", "windows"), ("gdi_table", "GDI table"),
        ("handles", "handles"), ("private", "private bytes")]
print("  %-26s" % "" + "".join("%15s" % title for _, title in cols))
for label, pairs in rows:
    print("  %-26s" % label + "".join("%15s" % pairs.get(key, "?") for key, _ in cols))
first = dict(rows)
def growth(label):
    if "before" not in first or label not in first: return
    line = "  %-26s" % ("growth to " + label)
    for key, _ in cols:
        a, b = first["before"].get(key, "n/a"), first[label].get(key, "n/a")
        line += "%15s" % ("n/a" if "n/a" in (a, b) else "%+d" % (int(b) - int(a)))
    print(line)
growth("after-expansions")
growth("after-help")
for label in ("expansions", "modifier_checks", "held_restored", "alt_keys", "cycles"):
    for rest in facts.get(label, []):
        print("  %s %s" % (label, rest))
print("  USER and GDI objects: GetGuiResources (n/a: not implemented in Wine 8); windows: the program's windows "
      "counted one by one;\n  GDI table: used entries of its GDI handle table; handles: its entries in the system "
      "handle list (GetProcessHandleCount gives 0\n  under Wine); private bytes: PagefileUsage, which Wine fills "
      "from RssAnon+VmSwap (PrivateUsage stays 0).")
PY
    report() { soak_report "$OUT" "$@"; }
    value() { soak_value "$OUT" "$@"; }
    check_eq "every expansion typed its text exactly" "$(report expansions | cut -d' ' -f1-2)" "$EXPANSIONS wrong=0"
    check_eq "no modifier down after any expansion" "$(value modifier_checks failed)" 0
    check_eq "modifiers held by the user are down again after the text" "$(value held_restored failed)" 0
    check_eq "a lone Alt never reached the window" "$(value alt_keys lone_alt)" 0
    for kind in menu editor overview picklist help; do
        check_eq "every $kind cycle opened and closed" "$(report "cycles $kind" | cut -d' ' -f2)" "ok=$CYCLES"
    done
    for counter in user gdi windows gdi_table handles; do
        for stage in after-expansions after-help; do
            check_eq "$counter after the $stage part as before" "$(value "$stage" $counter)" "$(value before $counter)"
        done
    done
    growth=$(($(value after-help private) - $(value before private)))
    check "private memory grew by at most 1 MiB (grew $growth bytes)" [ "$growth" -le 1048576 ]
    check "the program runs on" kill -0 "$WW_PID"
fi

echo
echo "== Kill during save: $KILLS kills of a save loop at random moments"
DIR=$E2E_WORK/saves
mkdir -p "$DIR"
echo "  $(wine "$WW_BIN/saveloop.exe" rate "Z:${DIR//\//\\}" 2>/dev/null | tr -d '\r')"
kill_during_save "$KILLS" "$DIR" "$E2E_WORK/kills.txt"
tally_kills "$E2E_WORK/kills.txt" | sed 's/^/  /'
log=$E2E_WORK/kills.txt
count() { grep -c "$@" "$log" || true; }
echo "  runs $(wc -l <"$log"). As the kills left them: a file cut $(count 'killed:.*bad'), the two files from" \
    "different saves $(count -e 'killed: tipp=A tipps=B' -e 'killed: tipp=B tipps=A'), scratch files left" \
    "$(count -v 'killed:.*scratch=0$')."
echo "  Once the next start has read them: both files from one save, whole, and no scratch file" \
    "$(count -e '^tipp=A tipps=A scratch=0 ' -e '^tipp=B tipps=B scratch=0 ')."
check_eq "every kill left both files from one save, whole, and no scratch file" \
    "$(count -e '^tipp=A tipps=A scratch=0 ' -e '^tipp=B tipps=B scratch=0 ')" "$KILLS"
finish
