#!/usr/bin/env bash
# Builds wortwerk.exe and starts it under Wine on the current display. Wortwerk keeps its files in its current
# directory: $WORTWERK_DIR, by default ~/Wortwerk.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build-windows.sh" wortwerk
: "${DISPLAY:?No X display: run this from a desktop session (or set DISPLAY).}"
export WINEPREFIX=${WINEPREFIX:-$root/build/wine-run} WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
[ -f "$WINEPREFIX/system.reg" ] || "$root/scripts/wine-prefix.sh" "$WINEPREFIX"
dir=${WORTWERK_DIR:-$HOME/Wortwerk}
mkdir -p "$dir"
cd "$dir"
echo "Wortwerk läuft in $dir (Symbol im Infobereich der Taskleiste)."
exec wine "$root/build/win/wortwerk.exe"
