#!/usr/bin/env bash
# The assignment editor as a user works with it: opened from the menu (the engine stops), keys chosen by mouse and
# Alt+letter, a text typed and saved in the code page (the overview open beside shows it at once, the engine types it),
# the "Datenkontrolle" question on "alles erledigt" and on the close box, a save refused by a file another program
# holds, and the printed sheet on a CUPS PDF printer (and the messages with no printer and with a failing job).
# The "no printer" case needs a Wine session that finds no printer, whatever the machine runs. Wine asks CUPS and,
# where CUPS names none, reads /etc/printcap, which a CUPS server of the machine fills. So where that file has
# anything in it, the test runs in a mount namespace of its own whose /etc has an empty printcap; and until start_cups
# starts the test's own server Wine asks a CUPS socket that does not exist.
if [ -z "${WW_OWN_ETC:-}" ] && [ -s /etc/printcap ]; then
    exec env WW_OWN_ETC=1 unshare -m --propagation private bash -c 'mount -t tmpfs none /mnt && mkdir /mnt/u /mnt/w &&
        mount -t overlay overlay -o lowerdir=/etc,upperdir=/mnt/u,workdir=/mnt/w /etc && : >/etc/printcap &&
        exec bash "$0" || { echo "no /etc of its own for the test" >&2; exit 1; }' "$0"
fi
export CUPS_SERVER=/nonexistent/cups.sock
source "$WW_SRC/tests/e2e/lib.sh"
ED=class:WortwerkForm2
OVERVIEW=class:WortwerkForm7
DIR=$E2E_WORK/data
mkdir -p "$DIR"
# Key slots: A is 10, N 23; their fields are Form2.Text1+10 and +23. tipp.dat as Notepad saves
# "Unicode" (UTF-16 LE with its mark), a text with umlauts on each other key; tipp.expected is it in the code page
# after N's edit is saved.
python3 - "$DIR" "$E2E_WORK/tipp.expected" <<'PY'
import sys
texts = [f"Grüße an {k}" for k in "1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ"]
texts[10] = "Text A"
texts[23] = "alt N"
open(sys.argv[1] + "/tipp.dat", "wb").write(("\ufeff" + "".join(t + "\r\n" for t in texts)).encode("utf-16-le"))
open(sys.argv[1] + "/tipps.dat", "wb").write(("strg + f9\r\n" + "*** Noch nicht benutzt ***\r\n" * 8).encode("cp1252"))
texts[23] = "Neu von N"
open(sys.argv[2], "wb").write("".join(t + "\r\n" for t in texts).encode("cp1252"))
PY

click() { # click WINDOW CONTROL: a real mouse click in the middle of the control
    local x y
    read -r x y < <(drv center "$1" "$2")
    xdotool mousemove "$x" "$y" click 1
}
field() { drv text "$ED" "id:Form2.Text1+$1"; }
state() { drv control-state "$ED" "$1"; } # "VISIBLE ENABLED"
answer() { # answer BOX BUTTON-ID: as a user pressing that button
    drv post "$1" 0x111 "$2" >/dev/null
    drv gone "$1" 5
}
asks() { # asks DESCRIPTION BOX PATTERN BUTTON-ID: the box opens, its text matches PATTERN, the button closes it
    local box=$2 pattern=$3
    check "$1" wait_for 'drv text "$box" id:65535 | grep -q "$pattern"' 15
    answer "$box" "$4"
}
files_unchanged() { cmp -s "$DIR/tipp.dat" "$E2E_WORK/tipp.saved" && cmp -s "$DIR/tipps.dat" "$E2E_WORK/tipps.saved"; }
focus_x() { # focus WINDOW, and wait until its thread has a focused control
    local window=$1
    focus "$window"
    wait_for 'drv focus "$window" >/dev/null' 5
}
open_editor() { # the menu's "Tastenbelegung"; Wine activates the editor a moment after it exists
    drv post "$TITLE" 0x111 104 >/dev/null
    drv wait "$ED" 10 && wait_for 'is_active "$ED"' 10
}

# Private CUPS server with a cups-pdf queue as default printer; the PDF lands in the job owner's ~/PDF.
CUPSD_PID=
start_cups() {
    CUPS_DIR=$E2E_WORK/cups
    mkdir -p "$CUPS_DIR"/{spool,cache,state,log,tmp}
    chmod 755 "$E2E_WORK" "$CUPS_DIR" # the filters run as lp
    chmod 1777 "$CUPS_DIR/tmp"
    printf '%s\n' "ServerRoot $CUPS_DIR" "RequestRoot $CUPS_DIR/spool" "CacheDir $CUPS_DIR/cache" \
        "StateDir $CUPS_DIR/state" "TempDir $CUPS_DIR/tmp" "ErrorLog $CUPS_DIR/log/error_log" \
        "AccessLog $CUPS_DIR/log/access_log" "PageLog $CUPS_DIR/log/page_log" "Printcap $CUPS_DIR/printcap" \
        >"$CUPS_DIR/cups-files.conf" # the system's printcap stays as it is
    printf '%s\n' "Listen $CUPS_DIR/cups.sock" "Browsing Off" "DefaultAuthType None" \
        "<Policy default>" "<Limit All>" "</Limit>" "</Policy>" >"$CUPS_DIR/cupsd.conf" # anyone may do anything
    cupsd -f -c "$CUPS_DIR/cupsd.conf" -s "$CUPS_DIR/cups-files.conf" >/dev/null 2>&1 &
    CUPSD_PID=$!
    export CUPS_SERVER=$CUPS_DIR/cups.sock
    wait_for 'lpstat -r 2>/dev/null | grep -q "is running"' 10
    lpadmin -p PDF -v cups-pdf:/ -E -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd 2>/dev/null
    lpadmin -d PDF
}
stop_cups() {
    [ -n "$CUPSD_PID" ] || return 0
    kill "$CUPSD_PID" 2>/dev/null || true
    wait "$CUPSD_PID" 2>/dev/null || true
    CUPSD_PID=
}
PDF_DIR=$(getent passwd "$(id -un)" | cut -d: -f6)/PDF
new_pdfs() { find "$PDF_DIR" -maxdepth 1 -name 'Tastenbelegung*.pdf' -newer "$E2E_WORK/before-print" 2>/dev/null; }
trap 'rc=$?; stop_cups; new_pdfs | xargs -r rm -f; (exit $rc); e2e_cleanup' EXIT

start_hidden "$DIR"
start_notepad
drv post "$TITLE" 0x111 105 >/dev/null # the overview, open beside the editor (out of the way of its buttons)
drv wait "$OVERVIEW" 10
drv move "$OVERVIEW" 850 0

check "menu opens the editor" open_editor
# Nothing else sees the captions: each key button has its key as access key, then come Z1 to Z9.
check_eq "key button captions" "$(drv children "$ED" | awk -F'\t' '$1 == "Button" && n++ < 45 { printf "%s ", $4 }')" \
    "$(printf '&%s ' 1 2 3 4 5 6 7 8 9 0 {a..z} && printf 'Z%s ' 1 2 3 4 5 6 7 8 9)"
check_eq "no field shown at first" "$(drv children "$ED" | awk -F'\t' '$1 == "Edit" && $3 == 1' | wc -l)" 0

# Key N by mouse, a new text typed.
focus_x "$ED"
click "$ED" "&n"
check "click on n shows its field" wait_for '[ "$(state id:Form2.Text1+23)" = "1 1" ]' 5
check_eq "n button greyed" "$(state "&n")" "1 0"
check_eq "field holds the stored text" "$(field 23)" "alt N"
check "caret in the field" drv focus "$ED" id:Form2.Text1+23
xdotool key End shift+Home
xdotool type --delay 40 "Neu von N"
check "typed text in the field" wait_for '[ "$(field 23)" = "Neu von N" ]' 5

# Alt+A while the caret is in n's field.
xdotool key alt+a
check "Alt+A shows A's field" wait_for '[ "$(state id:Form2.Text1+10)" = "1 1" ]' 5
check_eq "a greyed, n enabled again, n's field hidden" "$(state "&a") / $(state "&n") / $(state id:Form2.Text1+23)" \
    "1 0 / 1 1 / 0 1"
check "caret in A's field" drv focus "$ED" id:Form2.Text1+10
xdotool key Return
drv send "$ED" 0 >/dev/null # a round trip: the window has handled the key
check "Enter in a field keeps the window" state_is "$ED" "1 0 1"

click "$ED" Speichern
check "the open overview shows the saved text" \
    wait_for 'drv list "$OVERVIEW" class:ListBox | grep -qx "N = Neu von N"' 5
check "Speichern writes all 36 texts in the code page" wait_for 'cmp -s "$DIR/tipp.dat" "$E2E_WORK/tipp.expected"' 5
cp "$DIR/tipp.dat" "$E2E_WORK/tipp.saved"
cp "$DIR/tipps.dat" "$E2E_WORK/tipps.saved"

# An unsaved edit: "alles erledigt" and the close box ask; "Nein" keeps everything.
click "$ED" id:Form2.Text1+10
xdotool key End
xdotool type --delay 40 " geaendert"
check "edit in A's field" wait_for '[ "$(field 10)" = "Text A geaendert" ]' 5
click "$ED" "alles erledigt"
drv wait Datenkontrolle 5
check_eq "alles erledigt asks Datenkontrolle, Ja is the default button" "$(drv focus Datenkontrolle)" 6
answer Datenkontrolle 7
check_eq "Nein keeps the window and the edit" "$(drv state "$ED") $(field 10)" "1 0 1 Text A geaendert"
drv close "$ED" # what the close box sends
asks "the close box asks too" Datenkontrolle . 7
check "Nein keeps the window" state_is "$ED" "1 0 1"
check "files untouched by the questions" files_unchanged

# Another program holds tipp.dat open without sharing.
(cd "$DIR" && exec wine "$WW_BIN/wwdriver.exe" hold-file tipp.dat 6 >"$E2E_WORK/held" 2>/dev/null) &
holder=$!
wait_for '[ -s "$E2E_WORK/held" ]' 10
click "$ED" Speichern
asks "a locked file: a message names the file and why" "Speichern fehlgeschlagen" \
    '^Die Datei tipp.dat konnte nicht gespeichert werden: .' 1
check_eq "fields kept" "$(field 10) / $(field 23)" "Text A geaendert / Neu von N"
check "both files byte-identical after the failed save" files_unchanged
wait "$holder" || true

# No printer at all (no CUPS server when the program started).
click "$ED" "Tastenbelegung ausdrucken"
asks "no printer: a message says there is no default printer" "Drucken nicht möglich" "kein Standarddrucker" 1
check_eq "printing keeps the fields" "$(field 10)" "Text A geaendert"

# The changed flag survived the failed save and the printing; "Ja" discards and the main window comes back.
click "$ED" "alles erledigt"
asks "still asks after the failed save" Datenkontrolle . 6
check "Ja closes the editor" drv gone "$ED" 10
wait_for 'state_is "$TITLE" "1 1 0"' 10
check "Ja leaves both files byte-identical" files_unchanged
focus_x "$PAD"
arm || true
press n
expect_pad "N types the saved text" "Neu von N"
arm || true
press a
expect_pad "A types its old text: the edit was discarded" "Text A"

# The sheet on a PDF printer. Wine reads the printer list once per Wine session (the first process that loads
# the spooler keeps it for all), so the program starts again in a new session with the CUPS server running.
start_cups
end_wine_session
start_wine_session
start_hidden "$DIR"
open_editor
focus_x "$ED"
click "$ED" "&a"
wait_for 'drv focus "$ED" id:Form2.Text1+10 >/dev/null' 5
xdotool key End
xdotool type --delay 40 " ungespeichert"
wait_for '[ "$(field 10)" = "Text A ungespeichert" ]' 5
touch "$E2E_WORK/before-print"
click "$ED" "Tastenbelegung ausdrucken"
check "a PDF is printed" wait_for '[ -n "$(new_pdfs)" ] && pdftotext "$(new_pdfs | head -n 1)" - >/dev/null 2>&1' 60
drv send "$ED" 0 >/dev/null # a round trip: printing is over
check_eq "no message when printing works" "$(drv state "Drucken nicht möglich" | cut -c1)" 0
sheet=$(pdftotext -raw "$(new_pdfs | head -n 1)" - 2>/dev/null | tr -s ' ')
check "the unsaved edit is printed" grep -qx "a belegt mit Text A ungespeichert" <<<"$sheet"

# A job that fails: the printer vanishes after the program has seen it.
stop_cups
click "$ED" "Tastenbelegung ausdrucken"
asks "failing job: a message says the job was cancelled" "Drucken nicht möglich" abgebrochen 1
check_eq "fields untouched by printing" "$(field 10)" "Text A ungespeichert"
finish
