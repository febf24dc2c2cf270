# Sourced: start_xvfb starts a private Xvfb with Num Lock on and exports DISPLAY; stop_xvfb ends it.
start_xvfb() {
    # -displayfd: the server takes a free display itself and names it, so two runs started at the same moment never
    # share one (as they did when each picked the first number without a lock file).
    local named
    named=$(mktemp /tmp/ww-xvfb.XXXXXX)
    # -noreset: otherwise the server resets when its last client leaves and forgets Num Lock.
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$named" >/dev/null 2>&1 &
    XVFB_PID=$!
    local i
    for i in $(seq 1 100); do
        [ -s "$named" ] && break
        sleep 0.1
    done
    export DISPLAY=":$(cat "$named")"
    rm -f "$named"
    xdpyinfo >/dev/null 2>&1 || { echo "Xvfb on $DISPLAY did not start" >&2; return 1; }
    if ! xset q | grep -q 'Num Lock: *on'; then xdotool key Num_Lock; fi
    xset q | grep -q 'Num Lock: *on' || { echo "Num Lock could not be switched on" >&2; return 1; }
}

stop_xvfb() {
    if [ -n "${XVFB_PID:-}" ]; then
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
        XVFB_PID=
    fi
}
