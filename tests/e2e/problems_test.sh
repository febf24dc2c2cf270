#!/usr/bin/env bash
# Assignment files that cannot be read (a folder named tipp.dat, a tipp.dat another program holds open without
# sharing) or are huge junk (one 1 MiB line of random bytes): the program still comes up with its icon, says what
# is wrong in a message that opens in front of everything, and touches nothing.
E2E_MODE=plain
source "$WW_SRC/tests/e2e/lib.sh"
TITLE="Wortwerk V.2.0"
hashes() { (cd "$1" && find . -type f -exec sha256sum {} + | sort); }
new_dir() { # new_dir NAME: a folder with the first-start marker and a tipps.dat
    mkdir -p "$E2E_WORK/$1"
    printf 'schon gesehen\r\n' >"$E2E_WORK/$1/1.dat"
    printf 'strg + a\r\n' >"$E2E_WORK/$1/tipps.dat"
    echo "$E2E_WORK/$1"
}
# expect_message WHAT: the message names tipp.dat and the reason, is topmost and has the keyboard; OK closes it.
expect_message() {
    check "$1: a message" drv wait Wortwerk 15
    local text
    text=$(drv text Wortwerk id:65535 || true)
    echo "  message: ${text//$'\n'/ }"
    check "$1: the message says which file and why" bash -c '[[ "$0" =~ tipp\.dat\ konnte\ nicht\ (gelesen|angelegt)\ werden:\ [^[:space:]] ]]' "$text"
    check_eq "$1: the message is in the topmost band" $(($(drv exstyle Wortwerk) & 0x8)) 8
    check_eq "$1: the message has the keyboard" "$(drv active)" $'#32770\tWortwerk'
    drv post Wortwerk 0x111 1 >/dev/null
    check "$1: OK closes the message" drv gone Wortwerk 5
}
end_program() {
    check "$1: the icon is up" wait_for '[ "$(drv tray-count)" = 1 ]' 10
    check "$1: the program runs on" kill -0 "$WW_PID"
    drv post "$TITLE" 0x111 108 >/dev/null
    wait_for '! kill -0 $WW_PID 2>/dev/null' 10
}

DIR=$(new_dir folder)
mkdir -p "$DIR/tipp.dat"
before=$(hashes "$DIR")
start_wortwerk "$DIR"
expect_message "folder"
end_program "folder"
check "folder: nothing was written or replaced" [ -d "$DIR/tipp.dat" ]
check_eq "folder: no file changed" "$(hashes "$DIR")" "$before"

DIR=$(new_dir held)
printf 'Name###Stra\337e\r\n' >"$DIR/tipp.dat"
before=$(hashes "$DIR")
wine "$WW_BIN/wwdriver.exe" hold-file "Z:${DIR//\//\\}\\tipp.dat" 60 >"$E2E_WORK/held.txt" 2>/dev/null &
HOLDER=$!
wait_for 'grep -q held "$E2E_WORK/held.txt"' 20
start_wortwerk "$DIR"
expect_message "held open"
end_program "held open"
kill "$HOLDER" 2>/dev/null || true
wait "$HOLDER" 2>/dev/null || true
check_eq "held open: no file changed" "$(hashes "$DIR")" "$before"

DIR=$(new_dir junk)
python3 -c '
import random, sys
random.seed(11)
line = bytes(random.choice([b for b in range(256) if b not in (10, 13)]) for _ in range(1 << 20))
open(sys.argv[1] + "/tipp.dat", "wb").write(line + b"\r\n")' "$DIR"
before=$(hashes "$DIR")
start_wortwerk "$DIR"
check "1 MiB junk line: the program comes up" drv wait "$TITLE" 30
check "1 MiB junk line: readable, so no message" bash -c "! wine '$WW_BIN/wwdriver.exe' wait Wortwerk 3 2>/dev/null"
# The editor shows the line (a text field stops at its first NUL byte) and closes without asking or writing.
drv post "$TITLE" 0x111 104 >/dev/null
check "1 MiB junk line: the editor opens" drv wait class:WortwerkForm2 20
drv close class:WortwerkForm2 >/dev/null
check "1 MiB junk line: the editor closes without asking about changes" drv gone class:WortwerkForm2 10
check "1 MiB junk line: the main window is back" drv wait "$TITLE" 10
end_program "1 MiB junk line"
check_eq "1 MiB junk line: no file changed" "$(hashes "$DIR")" "$before"
finish
