#!/usr/bin/env bash
# Every printable Windows-1252 character arrives on the keyboard layouts Wortwerk's users type on, and the trigger,
# the scan and the keypad shortcuts keep working there. Wine reads the X layout when its first process starts, so
# each layout gets a Wine session of its own.
E2E_LATER_SESSION=1
source "$WW_SRC/tests/e2e/lib.sh"
TITLE="Wortwerk V.2.0"
PAD="Untitled - Notepad"
DIR=$E2E_WORK/data
mkdir -p "$DIR"

# Key Z holds every printable character of Windows-1252 with a "###" in the middle; keypad 1 and 2 hold shortcuts.
# expected.txt is what Notepad must show, as UTF-8 with CR LF.
python3 - "$DIR" "$E2E_WORK/expected.txt" <<'PY'
import sys
printable = bytes(range(0x20, 0x7F)) + bytes(b for b in range(0x80, 0xA0) if b not in (0x81, 0x8D, 0x8F, 0x90, 0x9D))
text = printable.decode("cp1252") + "###" + bytes(range(0xA0, 0x100)).decode("cp1252")
texts = ["*** Noch nicht benutzt ***"] * 36
texts[35] = text
with open(sys.argv[1] + "/tipp.dat", "wb") as f:
    f.write("".join(t + "\r\n" for t in texts).encode("cp1252"))
shortcuts = ["umschalt + a", "strg + a"] + [""] * 7
with open(sys.argv[1] + "/tipps.dat", "wb") as f:
    f.write("".join(t + "\r\n" for t in shortcuts).encode("cp1252"))
with open(sys.argv[2], "wb") as f:
    f.write(text.replace("###", "\r\n").encode("utf-8"))
PY
expected=$(cat "$E2E_WORK/expected.txt")

press() { xdotool keydown "$1" sleep 0.1 keyup "$1" sleep 0.15; }
padtext() { drv child-text "$PAD" class:Edit; }
clear_pad() { drv set-text "$PAD" class:Edit ""; }
# Waits a moment for any reaction, then until the text is there or the seconds have passed (each read starts a Wine
# process, so the limit is wall-clock time), and checks it.
wait_pad() { # wait_pad TEXT SECONDS
    local end=$((SECONDS + $2))
    sleep 0.3
    until [ "$(padtext)" == "$1" ] || [ $SECONDS -ge $end ]; do sleep 0.2; done
}
expect_pad() { # expect_pad DESCRIPTION TEXT
    wait_pad "$2" 3
    check_eq "$1" "$(padtext)" "$2"
}
# Names the characters missing from or added to Notepad's text, so that a failure says what went wrong.
difference() { # difference GOT
    python3 -c '
import sys
from collections import Counter
want = Counter(open(sys.argv[1], encoding="utf-8", newline="").read())
got = Counter(sys.argv[2])
show = lambda d: "".join(sorted(d.elements())).replace("\r", "\\r").replace("\n", "\\n")
print("lost [" + show(want - got) + "] extra [" + show(got - want) + "]")' "$E2E_WORK/expected.txt" "$1"
}

run_layout() { # run_layout NAME SETXKBMAP-ARGUMENTS...
    local name=$1 start=$SECONDS got desktop
    shift
    setxkbmap "$@"
    xset q | grep -q 'Num Lock: *on' || xdotool key Num_Lock
    start_wine_session
    start_wortwerk "$DIR"
    drv wait "$TITLE" 15
    sleep 1
    drv close "$TITLE"
    wait_for '! drv visible "$TITLE" >/dev/null' 10 || true
    (cd "$E2E_WORK" && exec wine notepad >/dev/null 2>&1) &
    drv wait "$PAD" 20
    desktop=$(xdotool search --name 'shell - Wine desktop' | head -n 1)
    xdotool windowfocus --sync "$desktop" 2>/dev/null || xdotool windowfocus "$desktop"
    drv foreground "$PAD"
    sleep 0.5

    # Hiding the main window stalls its thread for a while, and a press inside the stall goes unseen; on a loaded
    # machine that can outlast the pauses above, so keypad 0 gets three tries.
    for _ in 1 2 3; do
        clear_pad
        press KP_Insert
        wait_pad "OK" 3
        [ "$(padtext)" == "OK" ] && break
    done
    check_eq "$name: keypad 0 leaves OK" "$(padtext)" "OK"
    # The key labelled Z, wherever the layout puts it.
    press z
    wait_pad "$expected" 10
    got=$(padtext)
    if [ "$got" == "$expected" ]; then
        pass "$name: every printable character arrives"
    else
        fail "$name: every printable character arrives: $(difference "$got")"
    fi

    clear_pad
    press x
    press KP_End
    expect_pad "$name: keypad 1 plays Shift+A" "xA"
    clear_pad
    press x
    press y
    press KP_Down
    press z
    expect_pad "$name: keypad 2 plays Ctrl+A, which selects all" "z"
    end_wine_session
    echo "  $name: $((SECONDS - start)) s"
}

run_layout us us
run_layout de de
run_layout ch ch
run_layout fr fr
run_layout "us intl" us -variant intl
setxkbmap us
finish
