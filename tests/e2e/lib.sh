# Sourced by every end-to-end test: a fresh Wine prefix (copied from the prepared template), a private Xvfb with
# Num Lock on, helpers to start wortwerk.exe and drive windows, and cleanup that ends every Wine process.
set -Eeuo pipefail
: "${WW_BIN:?WW_BIN must name the Windows build folder}"
: "${WW_SRC:?WW_SRC must name the source folder}"
source "$WW_SRC/tests/e2e/xvfb.sh"

E2E_WORK=$(mktemp -d /tmp/ww-e2e.XXXXXX)
export WINEPREFIX=$E2E_WORK/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
FAILS=0

e2e_cleanup() {
    local rc=$?
    wineserver -k 2>/dev/null || true
    sleep 0.3
    stop_xvfb
    if [ "${KEEP_E2E:-}" = 1 ]; then echo "kept $E2E_WORK"; else rm -rf "$E2E_WORK"; fi
    exit $rc
}
trap e2e_cleanup EXIT
trap 'echo "FAIL: aborted at ${BASH_SOURCE[0]##*/}:$LINENO: $BASH_COMMAND"' ERR

drv() { wine "$WW_BIN/wwdriver.exe" "$@" 2>/dev/null; }

# E2E_MODE=desktop (default): one Wine virtual desktop with task bar and tray, as the typing tests need.
# E2E_MODE=plain: no desktop; Wine's standalone tray then holds one child window per icon, which can be counted.
E2E_MODE=${E2E_MODE:-desktop}
# The prepared prefixes live in the build folder; WW_TEMPLATES names another place (the benchmarks run copies of
# the programs, but keep using the build folder's prefixes).
templates=${WW_TEMPLATES:-$WW_BIN}
if [ "$E2E_MODE" = desktop ]; then
    template=$templates/wine-template
    [ -f "$template/system.reg" ] || "$WW_SRC/scripts/wine-prefix.sh" "$template" --desktop
else
    template=$templates/wine-template-plain
    [ -f "$template/system.reg" ] || "$WW_SRC/scripts/wine-prefix.sh" "$template"
fi
cp -a "$template" "$WINEPREFIX"
start_xvfb
wineserver -p10 >/dev/null 2>&1
# The first Wine process brings up Wine's explorer (desktop, task bar, tray).
wine "$WW_BIN/wwdriver.exe" sleep 0 >/dev/null 2>&1 || true
if [ "$E2E_MODE" = desktop ]; then
    for _ in $(seq 1 50); do
        [ "$(drv taskbar-buttons 2>/dev/null || echo -1)" != -1 ] && break
        sleep 0.1
    done
fi


# Starts wortwerk.exe with the given folder as its current directory; WW_PID is the wine process.
start_wortwerk() {
    local dir=$1
    mkdir -p "$dir"
    (cd "$dir" && exec wine "$WW_BIN/wortwerk.exe" >/dev/null 2>&1) &
    WW_PID=$!
}

pass() { echo "PASS: $*"; }
fail() {
    echo "FAIL: $*"
    FAILS=$((FAILS + 1))
}
check() { # check DESCRIPTION COMMAND...
    local what=$1
    shift
    if "$@"; then pass "$what"; else fail "$what"; fi
}
check_eq() { # check_eq DESCRIPTION ACTUAL EXPECTED
    if [ "$2" == "$3" ]; then pass "$1"; else fail "$1: got [$2], expected [$3]"; fi
}
# Waits up to $2 seconds (default 10) for a shell condition.
wait_for() {
    local cond=$1 secs=${2:-10} i
    for i in $(seq 1 $((secs * 10))); do
        eval "$cond" && return 0
        sleep 0.1
    done
    return 1
}
finish() {
    if [ "$FAILS" -eq 0 ]; then echo "all checks passed"; else echo "$FAILS check(s) failed"; fi
    [ "$FAILS" -eq 0 ]
}
