#!/usr/bin/env bash
# From key press to typed text: real X key events into Wine's notepad while wortwerk.exe watches the keyboard.
source "$WW_SRC/tests/e2e/lib.sh"
TITLE="Wortwerk V.2.0"
PAD="Untitled - Notepad"
DIR=$E2E_WORK/data
mkdir -p "$DIR"

# tipp.dat holds 36 records in key order 1..9, 0, A..Z; tipps.dat the shortcuts of keypad 1..9.
python3 - "$DIR" <<'PY'
import sys
texts = ["*** Noch nicht benutzt ***"] * 36
def idx(k): return "1234567890".index(k) if k.isdigit() else 10 + ord(k) - ord("A")
texts[idx("1")] = "eins"
texts[idx("0")] = "null"
texts[idx("A")] = "Name"
texts[idx("E")] = ""
texts[idx("N")] = "Name###Straße"
texts[idx("S")] = "a{b}c+d^e%f~g(h)i[j]k {BACKSPACE} ##"
texts[idx("U")] = "Grüße ÄÖÜ äöü ß"
with open(sys.argv[1] + "/tipp.dat", "wb") as f:
    f.write("".join(t + "\r\n" for t in texts).encode("cp1252"))
shortcuts = ["umschalt + a", "strg + a", "", "{gibtsnicht}", "", "", "", "", ""]
with open(sys.argv[1] + "/tipps.dat", "wb") as f:
    f.write("".join(t + "\r\n" for t in shortcuts).encode("cp1252"))
PY

# Keys are held 100 ms: the engine polls every 50 ms and would miss shorter presses.
press() { xdotool keydown "$1" sleep 0.1 keyup "$1" sleep 0.15; }
padtext() { drv child-text "$PAD" class:Edit; }
clear_pad() { drv set-text "$PAD" class:Edit ""; }
# Waits a moment for any reaction, then up to 3 s for the expected text, and checks it.
expect_pad() {
    sleep 0.3
    wait_for '[ "$(padtext)" == "$2" ]' 3 || true
    check_eq "$1" "$(padtext)" "$2"
}

start_wortwerk "$DIR"
drv wait "$TITLE" 15
sleep 1
drv close "$TITLE"

(cd "$E2E_WORK" && exec wine notepad >/dev/null 2>&1) &
drv wait "$PAD" 20
desktop=$(xdotool search --name 'shell - Wine desktop' | head -n 1)
xdotool windowfocus --sync "$desktop" 2>/dev/null || xdotool windowfocus "$desktop"
drv foreground "$PAD"
sleep 0.5

press KP_Insert
expect_pad "keypad 0 leaves OK" "OK"
press n
expect_pad "N types its text with ### as a line break" $'Name\r\nStraße'

clear_pad
press KP_Insert
press u
expect_pad "umlauts and ß come out as stored" "Grüße ÄÖÜ äöü ß"

clear_pad
press KP_Insert
press s
expect_pad "special characters and a literal {BACKSPACE}" "a{b}c+d^e%f~g(h)i[j]k {BACKSPACE} ##"

clear_pad
press x
press KP_Insert
press e
expect_pad "an empty text erases OK and the key, types nothing" "x"

clear_pad
press KP_Insert
press 0
press KP_Insert
press 1
expect_pad "main-keyboard 0 and 1 type texts 9 and 0" "nulleins"

clear_pad
press x
press KP_End
expect_pad "keypad 1 erases its digit and plays Shift+A" "xA"

clear_pad
press x
press y
press KP_Down
press z
expect_pad "keypad 2 plays Ctrl+A: the next key replaces the selection" "z"

clear_pad
press x
press KP_Next
press KP_Left
expect_pad "empty and unplayable shortcuts only erase their digit" "x"

clear_pad
press KP_Insert
xdotool keydown Shift_L sleep 0.05 keydown a sleep 0.1 keyup a sleep 0.05 keyup Shift_L sleep 0.15
press b
expect_pad "Shift held for the key: text exact, no stuck Shift afterwards" "Nameb"

clear_pad
xdotool key Num_Lock
press KP_Insert
press n
expect_pad "with Num Lock off nothing reacts" "n"
xdotool key Num_Lock

clear_pad
drv post "$TITLE" 0x111 103 >/dev/null
sleep 0.2
press KP_Insert
press n
expect_pad "deactivated: keypad 0 stays a 0" "0n"
drv post "$TITLE" 0x111 102 >/dev/null
sleep 0.2
clear_pad
press KP_Insert
press n
expect_pad "activated again: expansion works" $'Name\r\nStraße'
finish
