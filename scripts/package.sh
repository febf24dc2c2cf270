#!/usr/bin/env bash
# Builds the release zip for Windows users into build/package: the stripped Release wortwerk.exe and the German
# guide LIESMICH.txt. The same sources give the same bytes.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build-windows.sh" win64_zip
for zip in "$root"/build/package/wortwerk-*-win64.zip; do
    echo "$zip ($(stat -c %s "$zip") bytes, sha256 $(sha256sum "$zip" | cut -d' ' -f1))"
done
