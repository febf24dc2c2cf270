#!/usr/bin/env bash
# The overview and the clipboard pick list as a user meets them: the overview stays in view beside the running
# engine and through the pick list's whole cycle; the pick list puts texts on the clipboard (read on the X side),
# survives a busy clipboard and brings the main window back with the files read afresh.
source "$WW_SRC/tests/e2e/lib.sh"
OVERVIEW="Tastenbelegung"
PICK="so geht's auch"
LIST=class:ListBox
DIR=$E2E_WORK/data
mkdir -p "$DIR"

# Writes both files in Windows-1252 and the 45 overview lines expected from them (UTF-8, one a line).
write_files() {
    python3 - "$DIR" "$1" <<'PY'
import sys
folder, edited = sys.argv[1], sys.argv[2] == "edited"
texts = ["*** Noch nicht benutzt ***"] * 36
keys = "1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ"
texts[keys.index("0")] = "null"
texts[keys.index("A")] = "Neu###Text" if edited else "Name###Straße"
texts[keys.index("B")] = "Grüße ÄÖÜ äöü ß"
texts[keys.index("C")] = "geändert" if edited else "dritte"
texts[keys.index("D")] = "vierte"
shortcuts = ["*** Noch nicht benutzt ***"] * 9
shortcuts[1] = "strgf9"
for name, records in (("tipp.dat", texts), ("tipps.dat", shortcuts)):
    with open(f"{folder}/{name}", "wb") as f:
        f.write("".join(r + "\r\n" for r in records).encode("cp1252"))
lines = [f"{k} = {t}" for k, t in zip(keys, texts)] + [f"Z{i + 1} = {s}" for i, s in enumerate(shortcuts)]
with open(f"{folder}/overview-{sys.argv[2]}.txt", "w", encoding="utf-8") as f:
    f.write("\n".join(lines) + "\n")
PY
}

armed_c() { focus "$PAD" && { arm || true; } && press c; } # keypad 0 (with the rig's retries), then C
type_into_pad() { # type_into_pad KEYS...: a clean notepad, then each key pressed in turn
    clear_pad
    focus "$PAD"
    local key
    for key in "$@"; do press "$key"; done
}
clipboard() { timeout 5 xclip -o -selection clipboard -t UTF8_STRING 2>/dev/null || true; } # the owner may stall
expect_clipboard() {
    local want=$2 # inside wait_for, $2 is its own argument
    wait_for '[ "$(clipboard)" == "$want" ]' 5 || true
    check_eq "$1" "$(clipboard)" "$2"
}
answers() { drv send "$1" 0 >/dev/null; }

write_files original
start_hidden "$DIR"
check "tray icon after start" wait_for '[ "$(icons)" = 1 ]' 10
start_notepad
buttons=$(drv taskbar-buttons)

# Overview: 45 lines with their prefixes, in view and topmost, while the engine keeps running.
drv post "$TITLE" 0x111 105
check "menu opens the overview" drv wait "$OVERVIEW" 10
overview=$(cat "$DIR/overview-original.txt")
check_eq "overview lists the 45 stored lines after their key prefixes" "$(drv list "$OVERVIEW" $LIST)" "$overview"
check "overview is topmost" topmost "$OVERVIEW"
check "overview has its own task-bar button" wait_for '[ "$(drv taskbar-buttons)" = $((buttons + 1)) ]' 5
read -r ow oh cw ch <<<"$(drv size "$OVERVIEW")"
check_eq "overview client area 2460 x 6345 twips" "$cw $ch" "164 423"
read -r lw lh _ <<<"$(drv size "$OVERVIEW" $LIST)"
check_eq "list is 150 twips narrower than the window" "$lw" $((ow - 10))
check "list is at most 300 twips lower, whole rows" test "$lh" -le $((oh - 20)) -a "$lh" -gt $((oh - 40))
drv resize "$OVERVIEW" 400 300
read -r lw lh _ <<<"$(drv size "$OVERVIEW" $LIST)"
check_eq "list follows a resize" "$lw" 390
drv resize "$OVERVIEW" "$ow" "$oh"
shot overview

armed_c
expect_pad "with the overview open keypad 0 arms and C types its text" "dritte"

# Pick list: the main window and its icon go; selections put stored texts on the clipboard.
drv post "$TITLE" 0x111 106
check "menu opens the pick list" drv wait "$PICK" 10
expect_main_unloaded "pick list"
check_eq "pick list holds the 36 stored lines" "$(drv list "$PICK" $LIST)" "$(head -n 36 "$DIR/overview-original.txt" | cut -c5-)"
check "pick list is topmost" topmost "$PICK"
check_eq "overview unchanged beside the pick list" "$(drv list "$OVERVIEW" $LIST)" "$overview"
type_into_pad KP_Insert c
expect_pad "keypad 0 types nothing while the pick list is open" "0c"

# Wine's virtual desktop draws an activated window over topmost ones (its own z-order stays right), so the user
# brings the pick list back to the front first.
focus "$PICK"
read -r x y <<<"$(drv list-item-pos "$PICK" $LIST 10)"
xdotool mousemove "$x" "$y" click 1
expect_clipboard "clicking entry 11 copies key A's text, ### and ß as stored" "Name###Straße"
check_eq "entry 11 is selected" "$(drv list-sel "$PICK" $LIST)" 10
drv foreground "$OVERVIEW"
focus "$PICK"
shot picklist
press Down
expect_clipboard "Down moves on and copies key B's umlauts" "Grüße ÄÖÜ äöü ß"

# Another program holds the clipboard: the selection gives up after a short while and leaves it as it was.
wine "$WW_BIN/wwdriver.exe" hold-clipboard 6 >"$E2E_WORK/held" 2>/dev/null &
holder=$!
wait_for 'grep -q held "$E2E_WORK/held"' 10
press Down
check "the busy selection moved on" wait_for '[ "$(drv list-sel "$PICK" $LIST)" = 12 ]' 5
check "pick list answers while the clipboard is held" answers "$PICK"
check "the other program still holds the clipboard" kill -0 $holder
wait $holder || true
check_eq "a busy clipboard keeps its text" "$(clipboard)" "Grüße ÄÖÜ äöü ß"
press Down
expect_clipboard "the next selection copies again" "vierte"

# Closing brings the main window back once, with the files as they are now; the overview is untouched.
write_files edited
focus "$PICK"
press alt+F4
expect_main_back "$PICK" "Alt+F4"
check_eq "overview still shows its snapshot" "$(drv list "$OVERVIEW" $LIST)" "$overview"
check "overview still topmost" topmost "$OVERVIEW"
armed_c
expect_pad "keypad 0 arms again and C types the edited text" "geändert"

drv send "$TITLE" 0x111 105 >/dev/null
check_eq "the menu has the open overview read the files again" "$(drv list "$OVERVIEW" $LIST)" \
    "$(cat "$DIR/overview-edited.txt")"
check_eq "still one overview" "$(drv count "$OVERVIEW")" 1

# A close request from another program also brings the main window back exactly once.
drv post "$TITLE" 0x111 106
drv wait "$PICK" 10
expect_main_unloaded "pick list again"
drv close "$PICK"
expect_main_back "$PICK" "close request"

# Exit with the overview open: the icon goes, the program runs on until the overview is closed.
drv post "$TITLE" 0x111 108
check "Exit removes the icon" wait_for '[ "$(icons)" = 0 ]' 10
check "Exit unloads the main window" wait_for '[ "$(drv count "$TITLE")" = 0 ]' 10
sleep 1
check "the overview keeps the program running" kill -0 "$WW_PID"
check "overview still open after Exit" drv wait "$OVERVIEW" 1
drv close "$OVERVIEW"
check "closing the overview ends the program" wait_for '! kill -0 "$WW_PID" 2>/dev/null' 20
finish
