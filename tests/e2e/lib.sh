# Sourced by every end-to-end test: a fresh Wine prefix (copied from the prepared template), a private Xvfb with
# Num Lock on, helpers to start wortwerk.exe and drive windows, and cleanup that ends every Wine process.
# No errexit: a step that fails (a driver call on a busy machine) is reported by the checks after it, and the test
# goes on to its end.
set -uo pipefail
: "${WW_BIN:?WW_BIN must name the Windows build folder}"
: "${WW_SRC:?WW_SRC must name the source folder}"
source "$WW_SRC/tests/e2e/xvfb.sh"

E2E_WORK=$(mktemp -d /tmp/ww-e2e.XXXXXX)
export WINEPREFIX=$E2E_WORK/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
FAILS=0

e2e_cleanup() {
    local rc=$?
    end_wine_session
    stop_xvfb
    if [ "${KEEP_E2E:-}" = 1 ]; then echo "kept $E2E_WORK"; else rm -rf "$E2E_WORK"; fi
    exit $rc
}
trap e2e_cleanup EXIT

drv() { wine "$WW_BIN/wwdriver.exe" "$@" 2>/dev/null; }

# E2E_MODE=desktop (default): one Wine virtual desktop with task bar and tray, as the typing tests need.
# E2E_MODE=plain: no desktop; Wine's standalone tray then holds one child window per icon, which can be counted.
E2E_MODE=${E2E_MODE:-desktop}
# The prepared prefixes live in the build folder; WW_TEMPLATES names another place (the benchmarks run copies of
# the programs, but keep using the build folder's prefixes).
suffix=-plain desktop=
[ "$E2E_MODE" != desktop ] || suffix= desktop=--desktop
template=${WW_TEMPLATES:-$WW_BIN}/wine-template$suffix
[ -f "$template/system.reg" ] || "$WW_SRC/scripts/wine-prefix.sh" "$template" $desktop

# Waits up to $2 seconds (default 10) of wall-clock time for a shell condition (each try may start Wine processes).
wait_for() {
    local cond=$1 end=$((SECONDS + ${2:-10}))
    until eval "$cond"; do
        [ $SECONDS -lt $end ] || return 1
        sleep 0.1
    done
}
# A fresh prefix and its first Wine process. Wine reads the X keyboard layout when that process starts.
# E2E_DPI=144: the screen's DPI for the whole test, set in the prefix before the session starts.
start_wine_session() {
    rm -rf "$WINEPREFIX"
    cp -a "$template" "$WINEPREFIX"
    if [ -n "${E2E_DPI:-}" ]; then
        printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n"LogPixels"=dword:%08x\r\n' "$E2E_DPI" \
            >"$E2E_WORK/dpi.reg"
        wine regedit /S "$E2E_WORK/dpi.reg" >/dev/null 2>&1
        wineserver -w
    fi
    wineserver -p10 >/dev/null 2>&1
    # The first Wine process brings up Wine's explorer (desktop, task bar, tray).
    drv active >/dev/null
    [ "$E2E_MODE" != desktop ] || wait_for '[ "$(drv taskbar-buttons)" != -1 ]' 30 ||
        echo "Wine's task bar did not come up"
}

end_wine_session() {
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
}

# start_wortwerk [--first-start] DIR: starts wortwerk.exe with DIR as its current directory; WW_PID is the wine
# process. Unless --first-start is given, DIR gets the first-start marker 1.dat first, so the first-start notice
# (which unloads the main window) stays away.
start_wortwerk() {
    local dir=${2:-$1}
    mkdir -p "$dir"
    [ "$1" = --first-start ] || [ -e "$dir/1.dat" ] || printf 'e2e\r\n' >"$dir/1.dat"
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
finish() {
    if [ "$FAILS" -eq 0 ]; then echo "all checks passed"; else echo "$FAILS check(s) failed"; fi
    [ "$FAILS" -eq 0 ]
}

# Shared by the tests that drive Wortwerk's windows and type into Wine's notepad.
TITLE="Wortwerk V.2.0"
PAD="Untitled - Notepad"
topmost() { (($(drv exstyle "$1") & 0x8)); }
state_is() { [ "$(drv state "$1")" = "$2" ]; } # state_is WINDOW "COUNT ICONS VISIBLE"
# Keys are held 100 ms: the engine polls every 50 ms and would miss shorter presses.
press() { xdotool keydown "$1" sleep 0.1 keyup "$1" sleep 0.15; }
padtext() { drv text "$PAD" class:Edit; }
clear_pad() { drv set-text "$PAD" class:Edit ""; }
wait_pad() { # wait_pad TEXT [SECONDS]: until notepad shows TEXT, at most SECONDS (default 5)
    local want=$1
    wait_for '[ "$(padtext)" == "$want" ]' "${2:-5}"
}
expect_pad() { # expect_pad DESCRIPTION TEXT
    wait_pad "$2"
    check_eq "$1" "$(padtext)" "$2"
}
start_notepad() {
    (cd "$E2E_WORK" && exec wine notepad >/dev/null 2>&1) &
    drv wait "$PAD" 20
}
# Wine's foreground window gets the keys that X delivers to one of Wine's windows: to the window's own X window where
# Wine made one (the pick list has one), else to the virtual desktop's.
focus() { # focus WINDOW
    local window=$1 title xwin
    drv foreground "$window"
    wait_for 'is_active "$window"' 5
    title=$(drv active)
    xwin=$(xdotool search --name "^${title#*$'\t'}\$" | head -n 1)
    [ -n "$xwin" ] || xwin=$(xdotool search --name 'shell - Wine desktop' | head -n 1)
    xdotool windowfocus --sync "$xwin" 2>/dev/null || xdotool windowfocus "$xwin"
    wait_for 'is_active "$window"' 5 || true # a window that is not in front shows in the checks after
}
is_active() { # is_active WINDOW: title, or class:NAME, of Wine's foreground window
    local active
    active=$(drv active)
    if [ "${1#class:}" != "$1" ]; then [ "${active%%$'\t'*}" = "${1#class:}" ]; else [ "${active#*$'\t'}" = "$1" ]; fi
}
# Starts wortwerk.exe in DIR and hides its main window with the close box, as a user does before typing elsewhere.
start_hidden() { # start_hidden DIR
    start_wortwerk "$1"
    drv wait "$TITLE" 30
    wait_for 'state_is "$TITLE" "1 1 1"' 10
    drv close "$TITLE"
    wait_for 'state_is "$TITLE" "1 1 0"' 20
}
# keys_give TEXT KEY...: the keys into an empty notepad until it shows TEXT; a press a loaded machine swallows
# leaves its digit or an armed engine, so the keys get three tries, each after Esc (which ends an armed state).
keys_give() {
    local want=$1 key try
    shift
    for try in 1 2 3; do
        [ $try = 1 ] || press Escape
        clear_pad
        for key in "$@"; do press "$key"; done
        wait_pad "$want" 3
        [ "$(padtext)" == "$want" ] && return 0
    done
    return 1
}
arm() { keys_give OK KP_Insert; } # keypad 0 into an empty notepad until it shows OK

start_xvfb
# E2E_LATER_SESSION=1: the test starts its own sessions (for example one per keyboard layout).
[ "${E2E_LATER_SESSION:-}" = 1 ] || start_wine_session
