#!/usr/bin/env bash
# Builds and runs every test headless: native unit tests (ASan/UBSan), short fuzz runs of the core, then the Windows
# build with its Win32-layer tests and the end-to-end tests under Wine in Xvfb.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"

echo "== Native core and unit tests (AddressSanitizer, UndefinedBehaviorSanitizer)"
cmake -S "$root" -B "$root/build/native" -DWW_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$root/build/native" -j2
ctest --test-dir "$root/build/native" --output-on-failure

echo "== Short fuzz runs of the core (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer)"
bash "$root/bench/fuzz_bench.sh" --seconds 5

echo "== Windows build, Win32-layer tests and end-to-end tests under Wine"
"$root/scripts/build-windows.sh"
# The prepared prefixes the tests copy, made before the tests run side by side.
template=$root/build/win/wine-template
[ -f "$template-plain/system.reg" ] || "$root/scripts/wine-prefix.sh" "$template-plain"
[ -f "$template/system.reg" ] || "$root/scripts/wine-prefix.sh" "$template" --desktop --from "$template-plain"
source "$root/tests/e2e/xvfb.sh"
# The Win32-layer tests share one prefix and display; each end-to-end test makes its own.
export WINEPREFIX="$root/build/win/wine-unit" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
rm -rf "$WINEPREFIX"
cp -a "$root/build/win/wine-template" "$WINEPREFIX"
trap 'wineserver -k 2>/dev/null || true; stop_xvfb' EXIT
start_xvfb
wineserver -p10 >/dev/null 2>&1
ctest --test-dir "$root/build/win" --output-on-failure -j2
