#!/usr/bin/env bash
# Creates a Wine prefix in $1. With --desktop, every Wine program of the prefix runs inside one 1024x768
# virtual desktop with a task bar and notification area (what the end-to-end tests drive). With --from PREFIX it
# starts as a copy of that prepared prefix instead of booting a new one (seconds saved).
set -euo pipefail
prefix=$1
desktop=${2:-}
from=
[ "${3:-}" != --from ] || from=${4:?--from needs a prefix}
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$(dirname "$prefix")"
if [ -n "$from" ]; then
    rm -rf "$prefix"
    cp -a "$from" "$prefix"
else
    wineboot -i >/dev/null 2>&1
    # Wine's own fonts (MS Sans Serif, Tahoma, Marlett for the caption buttons) from fonts-wine: this Wine build
    # does not look for them in its data folder, only in the prefix's Fonts folder.
    if compgen -G "/usr/share/wine/fonts/*.ttf" >/dev/null; then
        cp /usr/share/wine/fonts/*.ttf /usr/share/wine/fonts/*.fon "$prefix/drive_c/windows/Fonts/"
    fi
fi
if [ "$desktop" = "--desktop" ]; then
    reg=$(mktemp --suffix=.reg)
    # One .reg import: two separate "wine reg add" calls sometimes lose the first value.
    printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]\r\n"Desktop"="shell"\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]\r\n"shell"="1024x768"\r\n' >"$reg"
    wine regedit /S "$reg" >/dev/null 2>&1
    rm -f "$reg"
fi
wineserver -w
