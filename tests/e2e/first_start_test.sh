#!/usr/bin/env bash
# The first start in a folder: marker and assignment files are created, the notice replaces the main window and
# types its introduction, and its button (or Alt+F4, or the end of the session) brings the main window back. A folder
# that cannot be written still gets the notice, once. (Every other test starts with a marker and sees no notice.)
source "$WW_SRC/tests/e2e/lib.sh"
NOTICE=class:WortwerkFrmSplash
BUTTON="Das hätte ich auch ohne diese dummen Sprüche hinbekommen."
# The notice text: 11 lines, each followed by CR LF.
NOTICE_TEXT=$'Sie starten Wortwerk zum ersten Mal. Lesen Sie sich bitte diese \r\n'
NOTICE_TEXT+=$'paar Zeilen durch. \r\n'
NOTICE_TEXT+=$'Nach dem Start sehen Sie ganz rechts unten auf  der Taskleiste \r\n'
NOTICE_TEXT+=$'eine Hand. Wenn Sie mit der rechten Maustaste darauf klicken \r\n'
NOTICE_TEXT+=$'öffnet sich  ein Menü. Sie müssen nun als erstes Tasten mit \r\n'
NOTICE_TEXT+=$'Ihrem persönlichen Text belegen. Danach können Sie das \r\n'
NOTICE_TEXT+=$'Programm folgendermaßen nutzen. "0" auf dem Zahlenblock \r\n'
NOTICE_TEXT+=$'drücken, loslassen, und eine Taste drücken auf die Sie einen \r\n'
NOTICE_TEXT+=$'Text gelegt haben. \r\n'
NOTICE_TEXT+=$'Zur Textbelegung aber nicht die Tasten  auf dem Zahlenblock \r\n'
NOTICE_TEXT+=$'(ganz rechts) benutzen, sondern die unter den F - Tasten. Weitere Informationen finden Sie unter Hilfe.\r\n'

# TYPED: the typing area's text exactly, final CR LF included (the driver adds one LF).
read_typed() {
    TYPED=$(drv text "$NOTICE" class:Edit && printf x) || TYPED=
    TYPED=${TYPED%x}
    TYPED=${TYPED%$'\n'}
}
button_state() { drv control-state "$NOTICE" "$BUTTON"; } # "visible enabled" of the notice's button
# first_start NAME DIR: starts the program without a marker and waits for the notice to replace the main window.
first_start() {
    start_wortwerk --first-start "$2"
    check "$1: notice opens" drv wait "$NOTICE" 20
    expect_main_unloaded "$1"
}
# Ends the running copy through its menu command "B E E N D E N".
exit_wortwerk() {
    drv post "$TITLE" 0x111 108 >/dev/null
    check "$1: program ends" wait_for '! kill -0 "$WW_PID" 2>/dev/null' 15
}

A=$E2E_WORK/a
first_start "first start" "$A"
check "tipp.dat, tipps.dat and 1.dat created" [ -f "$A/tipp.dat" ] && [ -f "$A/tipps.dat" ] && [ -f "$A/1.dat" ]
check "marker is one line ended by CR LF" python3 -c 'import sys; d = open(sys.argv[1], "rb").read()
sys.exit(not (d.endswith(b"\r\n") and d.count(b"\n") == 1 and len(d) > 2))' "$A/1.dat"
cp "$A/1.dat" "$E2E_WORK/marker.before"
check "notice is topmost" topmost "$NOTICE"
check_eq "no task-bar button" "$(drv taskbar-buttons)" 0

read_typed
first=$TYPED
check_eq "button hidden while typing" "$(button_state)" "0 1"
drv click "$NOTICE" "$BUTTON" # a click that cannot reach a hidden button must change nothing
check "typing area grows" wait_for 'read_typed; [ ${#TYPED} -gt ${#first} ]' 10
check "what is typed is the start of the text" [ "${NOTICE_TEXT:0:${#TYPED}}" == "$TYPED" ]
check_eq "the hidden button does not close the notice" "$(drv count "$NOTICE")" 1

check "the whole text is typed (about 32 s)" wait_for 'read_typed; [ "$TYPED" == "$NOTICE_TEXT" ]' 90
check_eq "then the button is visible and enabled" "$(button_state)" "1 1"
shot first_start_notice
drv click "$NOTICE" "$BUTTON"
expect_main_back "$NOTICE" "button"
check "marker unchanged" cmp -s "$A/1.dat" "$E2E_WORK/marker.before"
exit_wortwerk "first copy"

first_start "another folder" "$E2E_WORK/b"
focus "$NOTICE"
xdotool key alt+F4
expect_main_back "$NOTICE" "Alt+F4"
exit_wortwerk "second copy"

# A folder that cannot be written, staged with folders where the marker and tipp.dat would go: the message about
# the assignment files comes first, then the notice, although no marker can be created.
C=$E2E_WORK/c
mkdir -p "$C/1.dat" "$C/tipp.dat"
start_wortwerk --first-start "$C"
check "unwritable folder: message about the files" drv wait "class:#32770" 20
sleep 1
check_eq "unwritable folder: no notice while the message is open" "$(drv count "$NOTICE")" 0
drv post "class:#32770" 0x111 1 >/dev/null # its OK button
check "unwritable folder: then the notice opens" drv wait "$NOTICE" 10
expect_main_unloaded "unwritable folder"
check_eq "end-of-session query is answered yes" "$(drv send "$NOTICE" 0x11 0 0)" 1
drv send "$NOTICE" 0x16 1 0 >/dev/null || true
expect_main_back "$NOTICE" "end of session"
finish
