#!/usr/bin/env bash
# The tray icon's life and its popup menu, without a virtual desktop: there each icon is a window of its own, which
# can be counted, and Wine hands the menu the keyboard (inside Wine's virtual desktop, keys never reach a tracked
# popup menu). The icon is kept by the close box and re-added after "TaskbarCreated"; the menu is worked with real
# right clicks on the icon, left clicks and keys.
E2E_MODE=plain
source "$WW_SRC/tests/e2e/lib.sh"
DIR=$E2E_WORK/data
mkdir -p "$DIR"
for i in $(seq 36); do if [ $i = 12 ]; then printf 'Bee\r\n'; else printf 'x\r\n'; fi; done >"$DIR/tipp.dat" # B: Bee
icons() { drv state "$TITLE" | cut -d' ' -f2; }
menu_rect() { drv rect 'class:#32768'; }
open_menu() { # right click on the icon; waits for the menu (one more click if a busy machine lost the first)
    local l t r b try
    read -r l t r b <<<"$(drv tray-icons)"
    for try in 1 2; do
        drv close "$TITLE" # the shown main window would cover the tray at the top left and take the click
        wait_for 'state_is "$TITLE" "1 1 0"' 20
        xdotool mousemove $(((l + r) / 2)) $(((t + b) / 2)) sleep 0.1 click 3
        # Long past the double-click time: two right clicks within it show the main window, by design.
        wait_for 'menu_rect >/dev/null' 6 && return 0
    done
    return 1
}
click_item() { # click_item INDEX COUNT: left click on a visible item; items are equally high
    local l t r b
    read -r l t r b <<<"$(menu_rect)"
    local h=$(((b - t - 6) / $2))
    xdotool mousemove $(((l + r) / 2)) $((t + 3 + h * $1 + h / 2)) sleep 0.2 click 1
    wait_for '! menu_rect >/dev/null' 5
}
arms() { # arms EXPECTED DESCRIPTION: keypad 0 and then B into an empty notepad: B's text when watching, "0b" when off
    xdotool windowfocus "$(xdotool search --name "$PAD" | head -n 1)" 2>/dev/null || true
    drv foreground "$PAD"
    wait_for 'is_active "$PAD"' 5
    keys_give "$1" KP_Insert b
    check_eq "$2" "$(padtext)" "$1"
}

start_hidden "$DIR"
drv tray-delete "$TITLE" 1
check "icon removed, as when Explorer restarts" wait_for '[ "$(icons)" = 0 ]' 5
drv send broadcast reg:TaskbarCreated >/dev/null
check "TaskbarCreated brings the icon back" wait_for '[ "$(icons)" = 1 ]' 5
drv send broadcast reg:TaskbarCreated >/dev/null # handled when the send returns
check_eq "a repeated TaskbarCreated adds no second icon" "$(drv tray-icons | wc -l) $(icons)" "1 1"

# Keyboard first: once X has given the focus to another program's window, Wine no longer routes keys to the menu.
check "right click on the icon opens the menu" open_menu
check_eq "the menu's owner is the foreground window" "$(drv active)" $'WortwerkForm1\tWortwerk V.2.0'
xdotool key Escape
check "Esc closes the menu" wait_for '! menu_rect >/dev/null' 5
open_menu
xdotool key Down sleep 0.2 key Return # the first item
check "Info chosen with the keyboard opens its box" drv wait class:#32770 5
drv post class:#32770 0x111 1 >/dev/null
check "OK closes the box" drv gone class:#32770 5
start_notepad
# Off the standalone tray at the top left, where notepad opens.
pad_clear_of_tray() { read -r l _ <<<"$(drv rect "$PAD")" && [ "$l" -ge 250 ]; }
wait_for 'xdotool search --name "$PAD" >/dev/null' 10
for _ in 1 2 3 4 5; do
    xdotool windowmove "$(xdotool search --name "$PAD" | head -n 1)" 300 300
    wait_for pad_clear_of_tray 2 && break
done
check "notepad moved off the tray" pad_clear_of_tray

open_menu
xdotool mousemove 600 600 sleep 0.1 click 1
check "a click elsewhere closes the menu" wait_for '! menu_rect >/dev/null' 5
arms Bee "after dismissed menus keypad 0 still arms"

open_menu
click_item 1 7 # "Wortwerk deaktiviren"
arms 0b "after Deactivate keypad 0 and B stay as typed"
open_menu
click_item 1 7 # now "Wortwerk aktiviren"
arms Bee "after Activate keypad 0 arms again"

open_menu
click_item 6 7 # "B E E N D E N"
check "Exit removes the icon" wait_for '! drv tray-icons >/dev/null' 5
check "Exit ends the program" wait_for '! kill -0 $WW_PID 2>/dev/null' 10
finish
