#!/usr/bin/env bash
# The release zip as a user gets it: packaged twice it is the same bytes; it holds the program with the package's
# version and a guide in Windows-1252 with CR LF; unpacked into an empty folder and started from there, the program
# comes up as on a first start, keeps its files in that folder, and ends from its menu.
E2E_MODE=plain
source "$WW_SRC/tests/e2e/lib.sh"
: "${WW_ZIP:?WW_ZIP must name the release zip}"
DIR=$E2E_WORK/Wortwerk

cmake --build "$WW_BIN" --target win64_zip >/dev/null
mv "$WW_ZIP" "$E2E_WORK/first.zip"
rm -f "$WW_BIN/generated/hand.ico" # drawn anew from its SVG, so the program is built again, too
cmake --build "$WW_BIN" --target win64_zip >/dev/null
check "packaging twice gives the same bytes" cmp -s "$WW_ZIP" "$E2E_WORK/first.zip"

mkdir "$DIR"
python3 -m zipfile -e "$WW_ZIP" "$DIR"
check_eq "the zip holds the program and the guide" "$(ls -A "$DIR" | tr '\n' ' ')" "LIESMICH.txt wortwerk.exe "

version=$(basename "$WW_ZIP" -win64.zip)
version=${version#wortwerk-}
dotted=$version
while [ "$(tr -cd . <<<"$dotted" | wc -c)" -lt 3 ]; do dotted=$dotted.0; done
# binutils read the program back: its version resource as resource script, its header and its symbol table.
exe=$DIR/wortwerk.exe
resources=$(x86_64-w64-mingw32-windres -i "$exe" -O rc)
check_eq "version numbers of the program" "$(grep -E '^ (FILE|PRODUCT)VERSION ' <<<"$resources" | tr -d ' \n')" \
    "FILEVERSION${dotted//./,}PRODUCTVERSION${dotted//./,}"
check "file version text" grep -qF "VALUE \"FileVersion\", \"$version\"" <<<"$resources"
check "product version text" grep -qF "VALUE \"ProductVersion\", \"$version\"" <<<"$resources"
check "no link timestamp in the program" grep -qx $'Time/Date\t\tThu Jan  1 00:00:00 1970' \
    <<<"$(TZ=UTC0 x86_64-w64-mingw32-objdump -p "$exe")"
check "the program is stripped" grep -qx "no symbols" <<<"$(x86_64-w64-mingw32-objdump -t "$exe")"
# The hand at every size the shell asks for from 100 % to 200 % scaling (a group entry's width byte 0 means 256).
check_eq "the program's icon sizes" "$(wrestool -x --raw -t14 "$exe" | od -An -tu1 -j6 -w14 -v |
    awk '{ printf "%d ", $1 ? $1 : 256 }')" "16 20 24 32 40 48 64 256 "

guide() { python3 -c "import sys; b = open(sys.argv[1], 'rb').read(); sys.exit(0 if ($1) else 1)" "$DIR/LIESMICH.txt"; }
# Windows-1252 leaves five bytes undefined; a UTF-8 guide would show its umlauts as two signs each in Notepad.
check "LIESMICH.txt is valid Windows-1252" guide 'not any(c in b for c in b"\x81\x8d\x8f\x90\x9d")'
check "LIESMICH.txt is not UTF-8" bash -c '! iconv -f UTF-8 -t UTF-8 "$0" >/dev/null 2>&1' "$DIR/LIESMICH.txt"
check "LIESMICH.txt has CR LF line ends only" \
    guide 'b.endswith(b"\r\n") and b.count(b"\r") == b.count(b"\n") == b.count(b"\r\n")'

(cd "$DIR" && exec wine "$DIR/wortwerk.exe" >/dev/null 2>&1) &
WW_PID=$!
check "started from there it shows the first-start notice" drv wait class:WortwerkFrmSplash 20
check_eq "its files, each named in the guide, are in the unpacked folder" \
    "$(cd "$DIR" && for f in *.dat; do grep -q "$f" LIESMICH.txt && printf '%s ' "$f"; done)" "1.dat tipp.dat tipps.dat "
drv close class:WortwerkFrmSplash
check "the notice closes, the tray icon shows" eval 'drv gone class:WortwerkFrmSplash 10 && wait_for "state_is \"\$TITLE\" \"1 1 0\"" 10'
drv post "$TITLE" 0x111 108 >/dev/null # "B E E N D E N"
check "the program ends from its menu" wait_for '! kill -0 "$WW_PID" 2>/dev/null' 10
finish
