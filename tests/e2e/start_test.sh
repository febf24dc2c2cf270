#!/usr/bin/env bash
# Start-up of the resident main window inside a Wine desktop: shown once, no task-bar button, the tray tip, the close
# box; a second copy in a folder with files of its own keeps them and has an icon of its own, and the end of the
# Windows session ends it with that icon. Then assignment files that cannot be used (a folder named tipp.dat: its
# message takes the way of every file fault) or are huge junk (one 1 MiB line of random bytes): the program still
# comes up with its icon, says what is wrong in a message in front of everything, and touches nothing.
source "$WW_SRC/tests/e2e/lib.sh"
A=$E2E_WORK/a
B=$E2E_WORK/b

start_wortwerk "$A"
check "main window is shown at program start" wait_for 'state_is "$TITLE" "1 1 1"' 15
check_eq "no task-bar button" "$(drv taskbar-buttons)" 0
# The tip shows when the pointer rests on the icon (bottom right of the 1024x768 desktop).
xdotool mousemove 1013 758
check "tray icon with tip Wortwerk" wait_for '[ "$(drv tray-tips)" = Wortwerk ]' 8
xdotool mousemove 500 300
drv close "$TITLE"
check "close box hides the main window" wait_for 'state_is "$TITLE" "1 1 0"' 5
drv send "$TITLE" 0 >/dev/null # a round trip: the close is handled
check "program keeps running after the close box" kill -0 "$WW_PID"
check_eq "still no task-bar button" "$(drv taskbar-buttons)" 0
first=$WW_PID

# A folder with its own files: they are used as they are, not replaced.
mkdir -p "$B"
printf 'Grüße aus Köln, Straße 1###ÄÖÜ äöü ß\r\n' | iconv -f UTF-8 -t WINDOWS-1252 >"$B/tipp.dat"
printf 'strg + f\r\n' >"$B/tipps.dat"
before=$(cat "$B"/tipp*.dat | sha256sum)
start_wortwerk "$B"
check "second copy in another folder starts with its own icon" wait_for '[ "$(drv state "$TITLE" | cut -c1-3)" = "2 2" ]' 15
check_eq "second folder: its files are not replaced" "$(cat "$B"/tipp*.dat | sha256sum)" "$before"
check_eq "log-off query is answered yes" "$(drv send "$TITLE" 0x11 0 0)" 1
drv send "$TITLE" 0x16 1 0 >/dev/null
check "log-off ends that copy and removes its icon" wait_for '[ "$(drv state "$TITLE" | cut -c1-3)" = "1 1" ]' 10
drv post "$TITLE" 0x111 108 >/dev/null # the first copy ends from its menu
wait_for '! kill -0 "$first" 2>/dev/null' 10

hashes() { (cd "$1" && find . -type f -exec sha256sum {} + | sort); }
for case in folder "1 MiB junk line"; do
    DIR=$E2E_WORK/${case// /_}
    mkdir -p "$DIR"
    printf 'schon gesehen\r\n' >"$DIR/1.dat"
    printf 'strg + a\r\n' >"$DIR/tipps.dat"
    case $case in
    folder) mkdir "$DIR/tipp.dat" ;;
    *) python3 -c 'import random, sys
random.seed(11)
line = bytes(random.choice([b for b in range(256) if b not in (10, 13)]) for _ in range(1 << 20))
open(sys.argv[1] + "/tipp.dat", "wb").write(line + b"\r\n")' "$DIR" ;;
    esac
    before=$(hashes "$DIR")
    start_wortwerk "$DIR"
    if [ "$case" != "1 MiB junk line" ]; then
        # The message names tipp.dat and the reason, is topmost and has the keyboard; OK closes it.
        check "$case: a message" drv wait Wortwerk 15
        text=$(drv text Wortwerk id:65535)
        check "$case: the message says which file and why" \
            grep -qE 'tipp\.dat konnte nicht (gelesen|angelegt) werden: [^[:space:]]' <<<"$text"
        check "$case: the message is in the topmost band" topmost Wortwerk
        check_eq "$case: the message has the keyboard" "$(drv active)" $'#32770\tWortwerk'
        drv post Wortwerk 0x111 1 >/dev/null
        check "$case: OK closes the message" drv gone Wortwerk 5
    else
        # The editor shows the line (a text field stops at its first NUL byte) and closes without asking or writing.
        check "$case: the program comes up" drv wait "$TITLE" 30
        drv post "$TITLE" 0x111 104 >/dev/null
        check "$case: the editor opens" drv wait class:WortwerkForm2 20
        # A message about the file would have been posted before the menu command and be open now.
        check_eq "$case: readable, so no message" "$(drv state class:#32770 | cut -c1)" 0
        drv close class:WortwerkForm2 >/dev/null
        check "$case: the editor closes without asking about changes" drv gone class:WortwerkForm2 10
    fi
    check "$case: the icon is up" wait_for '[ "$(drv state "$TITLE" | cut -c1-3)" = "1 1" ]' 10
    check "$case: the program runs on" kill -0 "$WW_PID"
    drv post "$TITLE" 0x111 108 >/dev/null
    wait_for '! kill -0 $WW_PID 2>/dev/null' 10
    check_eq "$case: no file changed" "$(hashes "$DIR")" "$before"
done
finish
