#!/usr/bin/env bash
# Cross-compiles the Windows side into build/win: everything, or only the targets named (e.g. wortwerk).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cmake -S "$root" -B "$root/build/win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=Release -DWW_PACKAGE_DIR="$root/build/package" >/dev/null
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build "$root/build/win" -j2 "${targets[@]}"
