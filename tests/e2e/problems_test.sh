#!/usr/bin/env bash
# Assignment files that cannot be read: the program still comes up with its icon, says what is wrong in a message
# that opens in front of everything, and touches nothing.
E2E_MODE=plain
source "$WW_SRC/tests/e2e/lib.sh"
TITLE="Wortwerk V.2.0"
DIR=$E2E_WORK/data
mkdir -p "$DIR/tipp.dat"
printf 'schon gesehen\r\n' >"$DIR/1.dat"
printf 'strg + a\r\n' >"$DIR/tipps.dat"
before=$(cd "$DIR" && find . -type f -exec sha256sum {} + | sort)

start_wortwerk "$DIR"
check "a folder named tipp.dat gets a message" drv wait Wortwerk 15
check "the message names the file" bash -c "wine '$WW_BIN/wwdriver.exe' children Wortwerk 2>/dev/null | grep -q 'tipp.dat'"
check_eq "the message is in the topmost band" $(($(drv exstyle Wortwerk) & 0x8)) 8
check_eq "the message has the keyboard" "$(drv active)" $'#32770\tWortwerk'
check "the icon is up" wait_for '[ "$(drv tray-count)" = 1 ]' 10
drv post Wortwerk 0x111 1 >/dev/null
check "OK closes the message" drv gone Wortwerk 5
check "the program runs on" kill -0 "$WW_PID"
check "nothing was written or replaced" [ -d "$DIR/tipp.dat" ]
check_eq "no file changed" "$(cd "$DIR" && find . -type f -exec sha256sum {} + | sort)" "$before"
finish
