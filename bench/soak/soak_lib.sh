# Sourced by the soak benchmark after tests/e2e/lib.sh: assignment files with a mixed text
# on every key the soak uses, the driver's copy of those texts, and the program started on them.
SOAK_DIR=$E2E_WORK/data
SOAK_TEXTS=$E2E_WORK/texts.txt
mkdir -p "$SOAK_DIR"
python3 - "$SOAK_DIR" "$SOAK_TEXTS" <<'PY'
import sys
texts = {
    "1": "Zeile 1###Zeile 2###",
    "A": "Anna Beispiel",
    "N": "Name###Straße 5",
    "U": "Grüße ÄÖÜ äöü ß",
    "S": "a{b}c+d^e%f~g(h)i[j]k {BACKSPACE} ##",
    "P": "Sehr geehrte Frau Müller,###vielen Dank für Ihre Nachricht vom 3. März (Az. 12/34-B): "
         "1.250,00 € + 19 % = ~{X}^!###Mit freundlichen Grüßen",
}
def idx(k): return "1234567890".index(k) if k.isdigit() else 10 + ord(k) - ord("A")
records = ["*** Noch nicht benutzt ***"] * 36
for k, t in texts.items():
    records[idx(k)] = t
with open(sys.argv[1] + "/tipp.dat", "wb") as f:
    f.write("".join(r + "\r\n" for r in records).encode("cp1252"))
with open(sys.argv[1] + "/tipps.dat", "wb") as f:
    f.write(("*** Noch nicht benutzt ***\r\n" * 9).encode("cp1252"))
with open(sys.argv[2], "w", encoding="utf-8", newline="\n") as f:
    f.writelines(f"{k}\t{t}\n" for k, t in texts.items())
PY
winpath() { printf 'Z:%s' "${1//\//\\}"; }

# soak_run EXPANSIONS CYCLES OUTPUT: starts the program and runs the driver; its report goes to OUTPUT.
soak_run() {
    start_hidden "$SOAK_DIR"
    # Hiding a window without a window manager blocks its thread ~2 s in Wine: wait until it answers again.
    drv send "$TITLE" 0 >/dev/null
    echo "soak: program up after ${SECONDS}s"
    wine "$WW_BIN/soakdriver.exe" run "$(winpath "$SOAK_TEXTS")" "$1" "$2" 2>&1 | tr -d '\r' >"$3"
    echo "soak: driver done after ${SECONDS}s"
}

# soak_report FILE LABEL: the rest of the driver's line LABEL; soak_value FILE LABEL NAME: the value of NAME=... in it.
soak_report() { sed -n "s/^$2 //p" "$1" | head -n 1; }
soak_value() { soak_report "$1" "$2" | tr ' ' '\n' | sed -n "s/^$3=//p"; }
