#!/usr/bin/env bash
# From key press to typed text: real X key events into Wine's notepad while wortwerk.exe watches the keyboard, on the
# keyboard layouts Wortwerk's users type on. Every printable Windows-1252 character arrives, and the trigger, the
# scan and the keypad shortcuts keep working; on US also empty entries, a held Shift and Num Lock off.
# (Which key types which text, and what other keys do while armed, is the engine's unit test.) Wine reads the X layout
# when its first process starts, so each layout gets a Wine session of its own.
E2E_LATER_SESSION=1
source "$WW_SRC/tests/e2e/lib.sh"
DIR=$E2E_WORK/data
mkdir -p "$DIR"

# tipp.dat holds 36 records in key order 1..9, 0, A..Z: key Z every printable character of Windows-1252 with a "###"
# in the middle. tipps.dat holds the shortcuts of keypad 1..9. expected.txt is what Notepad must show for Z, as UTF-8
# with CR LF.
python3 - "$DIR" "$E2E_WORK/expected.txt" <<'PY'
import sys
printable = bytes(range(0x20, 0x7F)) + bytes(b for b in range(0x80, 0xA0) if b not in (0x81, 0x8D, 0x8F, 0x90, 0x9D))
text = printable.decode("cp1252") + "###" + bytes(range(0xA0, 0x100)).decode("cp1252")
keys = "1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ"
texts = ["*** Noch nicht benutzt ***"] * 36
texts[keys.index("A")] = "Name"
texts[keys.index("E")] = ""
texts[keys.index("Z")] = text
open(sys.argv[1] + "/tipp.dat", "wb").write("".join(t + "\r\n" for t in texts).encode("cp1252"))
shortcuts = ["umschalt + a", "strg + a"] + [""] * 7
open(sys.argv[1] + "/tipps.dat", "wb").write("".join(t + "\r\n" for t in shortcuts).encode("cp1252"))
open(sys.argv[2], "wb").write(text.replace("###", "\r\n").encode("utf-8"))
PY
expected=$(cat "$E2E_WORK/expected.txt")

# Entries and keys whose handling does not depend on the layout.
us_only() {
    keys_give "x" x KP_Insert e
    check_eq "an empty text erases OK and the key, types nothing" "$(padtext)" "x"
    keys_give "x" x KP_Next
    check_eq "an empty shortcut only erases its digit" "$(padtext)" "x"

    arm
    xdotool keydown Shift_L sleep 0.05 keydown a sleep 0.1 keyup a sleep 0.05 keyup Shift_L sleep 0.15
    press b
    expect_pad "Shift held for the key: text exact, no stuck Shift afterwards" "Nameb"

    clear_pad
    xdotool key Num_Lock
    press KP_Insert
    press a
    expect_pad "with Num Lock off nothing reacts" "a"
    xdotool key Num_Lock
}

run_layout() { # run_layout NAME SETXKBMAP-ARGUMENTS...
    local name=$1
    shift
    setxkbmap "$@"
    xset q | grep -q 'Num Lock: *on' || xdotool key Num_Lock
    start_wine_session
    start_hidden "$DIR"
    start_notepad
    focus "$PAD"

    # Hiding the main window stalls its thread for a while; a press inside the stall goes unseen.
    arm || true
    check_eq "$name: keypad 0 leaves OK" "$(padtext)" "OK"
    # The key labelled Z, wherever the layout puts it.
    press z
    wait_pad "$expected" 10
    check_eq "$name: every printable character arrives" "$(padtext)" "$expected"

    keys_give "xA" x KP_End || true
    check_eq "$name: keypad 1 plays Shift+A" "$(padtext)" "xA"
    keys_give "z" x y KP_Down z || true
    check_eq "$name: keypad 2 plays Ctrl+A, which selects all" "$(padtext)" "z"
    [ "$name" != us ] || us_only
    end_wine_session
}

run_layout us us
run_layout de de
run_layout ch ch
run_layout fr fr
run_layout "us intl" us -variant intl
setxkbmap us
finish
