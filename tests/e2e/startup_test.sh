#!/usr/bin/env bash
# Start-up of the resident main window inside a Wine desktop: default files, the face shown once, no task-bar
# button, the tray tip, the close box; then a second copy in a folder with files of its own and an icon of its own,
# which the end of the Windows session ends together with that icon.
source "$WW_SRC/tests/e2e/lib.sh"
HINT="Bitte benutzen Sie die rechte Maustaste über dem Symbol (ganz rechts unten auf dem Bildschirm) .      D A N K E ! ! !"
A=$E2E_WORK/a
B=$E2E_WORK/b

default_file() { # default_file N: N lines of the default text, CR LF
    local i
    for i in $(seq 1 "$1"); do printf '*** Noch nicht benutzt ***\r\n'; done
}

start_wortwerk "$A"
check "main window appears" drv wait "$TITLE" 15
check "tipp.dat created" wait_for '[ -f "$A/tipp.dat" ]' 5
check "tipp.dat is 36 default lines with CR LF" cmp -s "$A/tipp.dat" <(default_file 36)
check "tipps.dat is 9 default lines with CR LF" cmp -s "$A/tipps.dat" <(default_file 9)
check "main window is shown at program start" wait_for 'drv visible "$TITLE" >/dev/null' 5
check_eq "caption" "$(drv text "$TITLE")" "$TITLE"
check_eq "hint label" "$(drv text "$TITLE" class:Static)" "$HINT"
check_eq "no task-bar button" "$(drv taskbar-buttons)" 0

# The tip shows when the pointer rests on the icon (bottom right of the 1024x768 desktop).
xdotool mousemove 1013 758
check "tray icon with tip Wortwerk" wait_for '[ "$(drv tray-tips)" = Wortwerk ]' 8
xdotool mousemove 500 300
[ -n "${E2E_SHOT:-}" ] && import -window root "$E2E_SHOT"

drv close "$TITLE"
check "close box hides the main window" wait_for '! drv visible "$TITLE" >/dev/null' 5
sleep 0.5
check "program keeps running after the close box" kill -0 "$WW_PID"
check_eq "still no task-bar button, and one icon" "$(drv taskbar-buttons) $(icons)" "0 1"

# A folder with its own files: they are used as they are, not replaced.
mkdir -p "$B"
printf 'Grüße aus Köln, Straße 1###ÄÖÜ äöü ß\r\n' | iconv -f UTF-8 -t WINDOWS-1252 >"$B/tipp.dat"
printf 'strg + f\r\n' >"$B/tipps.dat"
cp "$B/tipp.dat" "$E2E_WORK/tipp.before"
cp "$B/tipps.dat" "$E2E_WORK/tipps.before"
start_wortwerk "$B"
copies() { echo "$(drv count "$TITLE") $(icons)"; } # main windows, and those with their icon in the tray
check "second copy in another folder starts with its own icon" wait_for '[ "$(copies)" = "2 2" ]' 15
check "second folder: its tipp.dat is not replaced" cmp -s "$B/tipp.dat" "$E2E_WORK/tipp.before"
check "second folder: its tipps.dat is not replaced" cmp -s "$B/tipps.dat" "$E2E_WORK/tipps.before"
check "first folder's files untouched" cmp -s "$A/tipp.dat" <(default_file 36)
check_eq "log-off query is answered yes" "$(drv send "$TITLE" 0x11 0 0)" 1
drv send "$TITLE" 0x16 1 0 >/dev/null || true
check "log-off ends that copy and removes its icon" wait_for '[ "$(copies)" = "1 1" ]' 10
finish
