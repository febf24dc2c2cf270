#!/usr/bin/env bash
# The windows that take the main window's place (first-start notice, editor, pick list, help) and the overview beside
# it, closed every way a user or Windows closes them: the main window and its one tray icon come back exactly once,
# hidden, and the program runs on. The rounds repeat until nothing leaks: the program's windows, GDI table entries and
# handles stay as they were. Also what only these windows show: the notice types its own text and then shows its
# button; each help topic button shows exactly its own text, readable to its end at 144 dpi.
E2E_DPI=${E2E_DPI-144} # E2E_DPI= runs it at 96 dpi
source "$WW_SRC/tests/e2e/lib.sh"
NOTICE=class:WortwerkFrmSplash
HELP=class:WortwerkForm5
# Menu command, window, main window's "COUNT ICONS VISIBLE" and task-bar buttons while it is open, its own close button.
ROWS=("104 class:WortwerkForm2 0_0_0 1 button:id:Form2.Command3" "105 class:WortwerkForm7 1_1_0 1 -"
    "106 class:WortwerkForm6 0_0_0 1 -" "107 $HELP 0_0_0 0 button:id:Form5.Command5")

opens() { # opens WINDOW MAIN-STATE BUTTONS
    local window=$1 main=${2//_/ } buttons=$3
    drv wait "$window" 10 && wait_for 'state_is "$TITLE" "$main" && [ "$(drv taskbar-buttons)" = "$buttons" ]' 10
}
close_by() { # close_by HOW WINDOW: button:CONTROL, close (what the close box sends), alt+F4 or session
    case $1 in
    button:*) drv click "$2" "${1#button:}" ;;
    close) drv close "$2" ;;
    alt+F4) focus "$2" && press alt+F4 ;;
    session) [ "$(drv send "$2" 0x11 0 0)" = 1 ] && drv send "$2" 0x16 1 0 >/dev/null ;;
    esac
}
# It closes; after a round trip through the main window (what the close set off is handled) there is one hidden main
# window with its icon, the closed window has not come again, and the program runs on.
expect_back() { # expect_back WHAT WINDOW
    local what=$1 window=$2
    check "$what: closes" drv gone "$window" 20
    wait_for 'state_is "$TITLE" "1 1 0"' 10
    drv send "$TITLE" 0 >/dev/null
    check_eq "$what: main window (count icons visible), the window's count, program" \
        "$(drv state "$TITLE"), $(drv state "$window" | cut -c1), $(kill -0 "$WW_PID" && echo runs)" "1 1 0, 0, runs"
}
shown_topics() { drv children "$HELP" | awk -F'\t' '$1 == "Edit" && $3 == 1 { print $2 }'; } # IDs of visible topics
exit_wortwerk() {
    drv post "$TITLE" 0x111 108 >/dev/null # "B E E N D E N"
    wait_for '! kill -0 "$WW_PID" 2>/dev/null' 15
}

# The notice of a first start types its text; its button, hidden until then, closes it.
start_wortwerk --first-start "$E2E_WORK/data"
check "first start: the notice opens in place of the main window" opens "$NOTICE" 0_0_0 0
check "the notice is topmost" topmost "$NOTICE"
typed() { drv text "$NOTICE" id:frmSplash.Text1; }
button() { drv control-state "$NOTICE" id:frmSplash.Command1; } # "VISIBLE ENABLED"
first=$(typed)
check_eq "its button is hidden while it types" "$(button)" "0 1"
drv click "$NOTICE" id:frmSplash.Command1 # a click that cannot reach a hidden button must change nothing
check "it types on" wait_for 'second=$(typed); [ ${#second} -gt ${#first} ]' 10
check "the hidden button did not close it" state_is "$NOTICE" "1 0 1"
check "the button shows when the typing is done (about 32 s)" wait_for '[ "$(button)" = "1 1" ]' 90
final=$(typed)
check "what it typed grew as the start of its final text" \
    [ "${final:0:${#first}}|${final:0:${#second}}" == "$first|$second" -a ${#final} -gt ${#second} ]
close_by button:id:frmSplash.Command1 "$NOTICE"
expect_back "notice, button" "$NOTICE"

# Each topic button leaves exactly its own text visible, and its last line shows (B then D, D twice, C last).
drv post "$TITLE" 0x111 107 >/dev/null
check "help opens" opens "$HELP" 0_0_0 0
check "help is topmost" topmost "$HELP"
TOPIC_BUTTONS=(Form5.Command1 Form5.Command6 Form5.Command2 Form5.Command8 Form5.Command7)
for topic in 0 1 3 3 4 2; do
    id=$((200 + topic))
    drv click "$HELP" "id:${TOPIC_BUTTONS[topic]}"
    check "topic $topic: only its text visible" wait_for '[ "$(shown_topics)" = $id ]' 5
    check "topic $topic: its text is not empty" [ -n "$(drv text "$HELP" id:$id)" ]
    read -r last height <<<"$(drv text-end "$HELP" id:$id || echo 1 0)"
    check "topic $topic: its last line shows ($last of $height pixels)" test "$last" -le "$height"
done
close_by button:id:Form5.Command5 "$HELP"
expect_back "help, after its topics" "$HELP"

# The tray menu, opened with a right click on the icon at the task bar's right end and closed by a click elsewhere.
menu_round() {
    local l t r b
    read -r l t r b <<<"$(drv rect class:Shell_TrayWnd)"
    xdotool mousemove $((r - 11)) $(((t + b) / 2)) sleep 0.1 click 3
    wait_for 'drv rect "class:#32768" >/dev/null' 10 || return 1
    xdotool mousemove 600 300 sleep 0.1 click 1
    wait_for '! drv rect "class:#32768" >/dev/null' 10
}
round() { # round N: the menu, then every window of the table closed every way
    local row cmd window main buttons own how
    check "round $1: the tray menu opens and closes" menu_round
    for row in "${ROWS[@]}"; do
        read -r cmd window main buttons own <<<"$row"
        for how in $own close alt+F4 session; do
            [ "$how" != - ] || continue
            drv post "$TITLE" 0x111 "$cmd" >/dev/null
            check "round $1: $window opens, no topic shown in help" \
                eval 'opens "$window" "$main" "$buttons" && { [ "$window" != "$HELP" ] || [ -z "$(shown_topics)" ]; }'
            close_by "$how" "$window"
            expect_back "round $1: $window, $how" "$window"
        done
    done
}
# Until a round changes nothing: on a busy machine what Wine keeps from a window's first paint may come a round late.
# A leak grows every round and shows in the round after.
counts=
for n in 1 2 3; do
    before=$counts
    round $n
    [ -z "$before" ] || wait_for '[ "$(drv counts "$TITLE")" = "$before" ]' 5 # the last close may be on its way
    counts=$(drv counts "$TITLE")
    [ "$counts" = "$before" ] && break
done
check_eq "a round leaves windows, GDI table entries and handles as they were" "$counts" "${before:-no counts}"
exit_wortwerk

# The notice's other ways out, each at a first start of its own. A folder that cannot be written (folders where the
# marker and tipp.dat would go) gets its message about the files first, then the notice all the same.
for how in close alt+F4 session; do
    dir=$E2E_WORK/$how
    [ $how != session ] || mkdir -p "$dir/1.dat" "$dir/tipp.dat"
    start_wortwerk --first-start "$dir"
    if [ $how = session ]; then
        check "unwritable folder: a message about the files" drv wait "class:#32770" 20
        drv send "class:#32770" 0 >/dev/null # a round trip: the program is at its message
        check_eq "unwritable folder: no notice while the message is open" "$(drv state "$NOTICE" | cut -c1)" 0
        drv post "class:#32770" 0x111 1 >/dev/null # its OK button
    fi
    check "notice ($how): opens in place of the main window" opens "$NOTICE" 0_0_0 0
    close_by $how "$NOTICE"
    expect_back "notice, $how" "$NOTICE"
    exit_wortwerk
done
finish
