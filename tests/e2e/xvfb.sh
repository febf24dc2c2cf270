# Sourced: start_xvfb starts a private Xvfb with Num Lock on and exports DISPLAY; stop_xvfb ends it.
start_xvfb() {
    local n
    for n in $(seq 60 120); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || break
    done
    # -noreset: otherwise the server resets when its last client leaves and forgets Num Lock.
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 1 100); do
        xdpyinfo >/dev/null 2>&1 && break
        sleep 0.1
    done
    xdpyinfo >/dev/null 2>&1 || { echo "Xvfb on :$n did not start" >&2; return 1; }
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
