#!/usr/bin/env bash
# The overview and the clipboard pick list as a user meets them: the overview stays in view beside the running
# engine and through the pick list's whole cycle; the pick list puts texts on the clipboard (read on the X side),
# survives a busy clipboard and brings the main window back with the files read afresh. (Their lines are the unit
# tests'; how they close is the lifecycle test's.)
source "$WW_SRC/tests/e2e/lib.sh"
OVERVIEW="Tastenbelegung"
PICK="so geht's auch"
LIST=class:ListBox
DIR=$E2E_WORK/data
mkdir -p "$DIR"

write_files() { # write_files original|edited: both files in Windows-1252
    python3 - "$DIR" "$1" <<'PY'
import sys
folder, edited = sys.argv[1], sys.argv[2] == "edited"
texts = ["*** Noch nicht benutzt ***"] * 36
keys = "1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ"
texts[keys.index("A")] = "Name###Straße"
texts[keys.index("B")] = "Grüße ÄÖÜ äöü ß"
texts[keys.index("C")] = "geändert" if edited else "dritte"
texts[keys.index("D")] = "vierte"
for name, records in (("tipp.dat", texts), ("tipps.dat", ["strgf9"] * 9)):
    with open(f"{folder}/{name}", "wb") as f:
        f.write("".join(r + "\r\n" for r in records).encode("cp1252"))
PY
}
armed_c() { focus "$PAD" && { arm || true; } && press c; } # keypad 0 (with the rig's retries), then C
clipboard() { timeout 5 xclip -o -selection clipboard -t UTF8_STRING 2>/dev/null || true; } # the owner may stall
expect_clipboard() {
    local want=$2 # inside wait_for, $2 is its own argument
    wait_for '[ "$(clipboard)" == "$want" ]' 5 || true
    check_eq "$1" "$(clipboard)" "$2"
}
c_line() { drv list "$OVERVIEW" $LIST | grep '^C = '; } # the overview's line of key C

write_files original
start_hidden "$DIR"
start_notepad

drv post "$TITLE" 0x111 105 >/dev/null
check "menu opens the overview, Wine activates it" eval 'drv wait "$OVERVIEW" 10 && wait_for "is_active \"\$OVERVIEW\"" 10'
check_eq "the overview shows the stored texts" "$(c_line)" "C = dritte"
check "overview is topmost" topmost "$OVERVIEW"
armed_c
expect_pad "with the overview open keypad 0 arms and C types its text" "dritte"

# Selections put stored texts on the clipboard. (With the pick list open the main window, and so the engine, is
# unloaded: the lifecycle test sees that.)
drv post "$TITLE" 0x111 106 >/dev/null
check "menu opens the pick list, Wine activates it" eval 'drv wait "$PICK" 10 && wait_for "is_active \"\$PICK\"" 10'
check "pick list is topmost" topmost "$PICK"
read -r x y <<<"$(drv list-item-pos "$PICK" $LIST 10)"
xdotool mousemove "$x" "$y" click 1
expect_clipboard "clicking entry 11 copies key A's text, ### and ß as stored" "Name###Straße"
check_eq "entry 11 is selected" "$(drv list-sel "$PICK" $LIST)" 10
drv foreground "$OVERVIEW"
focus "$PICK"
press Down
expect_clipboard "Down moves on and copies key B's umlauts" "Grüße ÄÖÜ äöü ß"

# Another program holds the clipboard: the selection gives up after a short while and leaves it as it was.
wine "$WW_BIN/wwdriver.exe" hold-clipboard 6 >"$E2E_WORK/held" 2>/dev/null &
holder=$!
wait_for 'grep -q held "$E2E_WORK/held"' 10
press Down
check "the busy selection moved on" wait_for '[ "$(drv list-sel "$PICK" $LIST)" = 12 ]' 5
check "pick list answers while the clipboard is held" drv send "$PICK" 0
check "the other program still holds the clipboard" kill -0 $holder
wait $holder || true
check_eq "a busy clipboard keeps its text" "$(clipboard)" "Grüße ÄÖÜ äöü ß"
press Down
expect_clipboard "the next selection copies again" "vierte"

# Closing brings the main window back with the files as they are now; the overview keeps its snapshot.
write_files edited
drv close "$PICK"
check "the pick list closes, the main window is back" wait_for '! drv wait "$PICK" 0 && state_is "$TITLE" "1 1 0"' 10
check_eq "overview still shows its snapshot" "$(c_line)" "C = dritte"
armed_c
expect_pad "keypad 0 arms again and C types the edited text" "geändert"
drv send "$TITLE" 0x111 105 >/dev/null
check_eq "the menu has the open overview read the files again" "$(c_line)" "C = geändert"
check_eq "still one overview" "$(drv state "$OVERVIEW" | cut -c1)" 1

# Exit with the overview open: the icon goes, the program runs on until the overview is closed.
drv post "$TITLE" 0x111 108 >/dev/null
check "Exit unloads the main window and its icon" wait_for 'state_is "$TITLE" "0 0 0"' 10
drv send "$OVERVIEW" 0 >/dev/null # a round trip: the program has handled what Exit set off
check "the open overview keeps the program running" kill -0 "$WW_PID"
drv close "$OVERVIEW"
check "closing the overview ends the program" wait_for '! kill -0 "$WW_PID" 2>/dev/null' 20
finish
