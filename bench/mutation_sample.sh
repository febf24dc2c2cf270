#!/usr/bin/env bash
# Mutation sample: applies each line of bench/mutations.txt (or of the file MUTATIONS names) alone to a scratch copy
# of the tree, rebuilds the native unit tests incrementally and runs them; prints killed / survived / not compiled per
# mutation, the kill rate and the survivors. The unmutated tree must pass first. The working tree is never touched.
#   bash bench/mutation_sample.sh [--sanitize] [--windows] [LABEL-REGEX]
# --sanitize builds with ASan/UBSan as scripts/test.sh does (slower); LABEL-REGEX runs only matching mutations.
# --windows then also builds the Windows side for each native survivor and runs WIN_TESTS (a ctest regex, default
# 'win32_tests|e2e_' without soak and package) under Wine in Xvfb; a test that fails counts only if it fails again.
# The scratch copy and its builds stay in build/mutants (MUTATION_DIR), so a second run rebuilds only what changed.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
list=${MUTATIONS:-$root/bench/mutations.txt}
work=${MUTATION_DIR:-$root/build/mutants}
tree=$work/tree
sanitize=OFF windows=0 filter=.
for arg in "$@"; do
    case "$arg" in
    --sanitize) sanitize=ON ;;
    --windows) windows=1 ;;
    *) filter=$arg ;;
    esac
done
bld=$tree/build/native-san-$sanitize

# Only changed files are copied, so the others keep their time stamps and the builds stay incremental.
mkdir -p "$tree"
(cd "$root" && git ls-files -co --exclude-standard) | sort >"$work/files"
while IFS= read -r f; do
    [ -f "$root/$f" ] && ! cmp -s "$root/$f" "$tree/$f" && mkdir -p "$(dirname "$tree/$f")" && cp "$root/$f" "$tree/$f"
done <"$work/files"
(cd "$tree" && find . -path ./build -prune -o -type f -printf '%P\n' | sort | comm -23 - "$work/files" | xargs -r rm -f)

# mutate FILE SNIPPET REPLACEMENT: the snippet must occur exactly once; "\n" is a line break, "\\" a backslash.
mutate() {
    python3 - "$tree/$1" "$2" "$3" <<'PY'
import re, sys
unescape = lambda s: re.sub(r"\\(.)", lambda m: "\n" if m[1] == "n" else m[1], s)
path, old, new = sys.argv[1], unescape(sys.argv[2]), unescape(sys.argv[3])
text = open(path, encoding="utf-8").read()
if text.count(old) != 1: sys.exit(f"occurs {text.count(old)} times")
open(path, "w", encoding="utf-8").write(text.replace(old, new))
PY
}
restore() { [ -z "${current:-}" ] || cp "$root/$current" "$tree/$current"; current=; } # a fresh time stamp: rebuilt
trap 'restore; [ "${wine_up:-0}" = 0 ] || { wineserver -k 2>/dev/null; stop_xvfb; }' EXIT

native() {
    cmake --build "$bld" -j2 --target unit_tests >"$work/build.log" 2>&1 || return 2
    timeout 120 "$bld/unit_tests" >"$work/test.log" 2>&1 && return 0
    # The failed tests, or the one that was running when the program crashed.
    killers=$(sed -n 's/^\[  FAILED  \] \([A-Za-z0-9_]*\.[A-Za-z0-9_]*\).*/\1/p' "$work/test.log" | sort -u | xargs)
    [ -n "$killers" ] || killers=$(sed -n 's/^\[ RUN      \] //p' "$work/test.log" | tail -n 1)
    return 1
}
win() {
    "$tree/scripts/build-windows.sh" >"$work/build-win.log" 2>&1 || return 2
    ctest --test-dir "$tree/build/win" -R "${WIN_TESTS:-win32_tests|e2e_}" -E "${WIN_EXCLUDE:-soak|package}" -j2 \
        --repeat until-pass:2 >"$work/test-win.log" 2>&1 && return 0
    # Which tests saw it, after the outcome.
    killers=$(sed -n '/tests FAILED/,$p' "$work/test-win.log" | grep -oE 'win32_tests|e2e_[a-z_]+' | sort -u | xargs)
    return 1
}

cmake -S "$tree" -B "$bld" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-O0 -DWW_SANITIZE=$sanitize \
    >/dev/null || exit 1
native || { echo "The unmutated tree does not pass its unit tests; see $work/build.log and $work/test.log"; exit 1; }

declare -a files snippets replacements labels outcome seen_by
while IFS= read -r line; do
    [[ -z "$line" || "$line" == \#* ]] && continue
    IFS=$'\x1f' read -r f s r l <<<"${line// | /$'\x1f'}"
    [[ "$l" =~ $filter ]] || continue
    files+=("$f") snippets+=("$s") replacements+=("$r") labels+=("$l")
done <"$list"

run_all() { # run_all CHECK NAME: tries CHECK on every mutation still "survived" (all of them for native)
    local i status
    for i in "${!labels[@]}"; do
        [ "$1" = native ] || [ "${outcome[$i]}" = survived ] || continue
        killers=
        if ! why=$(mutate "${files[$i]}" "${snippets[$i]}" "${replacements[$i]}" 2>&1); then
            outcome[$i]="not applicable ($why)"
        else
            current=${files[$i]}
            "$1"
            case $? in 0) status=survived ;; 1) status="killed $2" ;; *) status="not compiled $2" ;; esac
            restore
            outcome[$i]=$status seen_by[$i]=$killers
        fi
        printf '[%3d/%d] %-20s %-26s %s%s\n' $((i + 1)) ${#labels[@]} "${outcome[$i]}" "${files[$i]#src/}" "${labels[$i]}" \
            "${killers:+ (seen by $killers)}"
    done
}
run_all native "(unit)"

if [ $windows = 1 ] && printf '%s\n' "${outcome[@]}" | grep -qx survived; then
    source "$tree/tests/e2e/xvfb.sh"
    export WINEPREFIX=$work/wine-unit WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    "$tree/scripts/build-windows.sh" >/dev/null && { [ -f "$tree/build/win/wine-template/system.reg" ] ||
        "$tree/scripts/wine-prefix.sh" "$tree/build/win/wine-template" --desktop; } || exit 1
    rm -rf "$WINEPREFIX" && cp -a "$tree/build/win/wine-template" "$WINEPREFIX"
    wine_up=1 && start_xvfb && wineserver -p10 >/dev/null 2>&1
    win || { echo "The unmutated tree fails under Wine; see $work/test-win.log"; exit 1; }
    echo "== Native survivors against the Win32 and end-to-end tests"
    run_all win "(win)"
fi

tried=0 killed=0
for o in "${outcome[@]}"; do
    [[ "$o" == killed* || "$o" == survived ]] && tried=$((tried + 1))
    [[ "$o" == killed* ]] && killed=$((killed + 1))
done
echo "== ${#labels[@]} mutations: $tried built and tested, $killed killed ($((tried ? 100 * killed / tried : 0)) %);" \
    "$(printf '%s\n' "${outcome[@]}" | grep -c 'killed (win)') of them only by Win32/e2e tests;" \
    "$(printf '%s\n' "${outcome[@]}" | grep -c '^not') not compiled or not applicable; $((SECONDS / 60)) min $((SECONDS % 60)) s"
echo "Survivors:"
for i in "${!labels[@]}"; do
    [ "${outcome[$i]}" = survived ] && echo "  ${files[$i]}: ${labels[$i]}"
done
# A test that is the only one to see some mutation earns its place; the others may repeat what other tests prove.
if printf '%s\n' "${outcome[@]}" | grep -qx 'killed (unit)'; then
    alone=$(for i in "${!labels[@]}"; do [[ "${seen_by[$i]:-}" =~ ^[^\ ]+$ ]] && echo "${seen_by[$i]}"; done | sort -u)
    echo "Unit tests that alone see no mutation of this sample:"
    "$bld/unit_tests" --gtest_list_tests | awk '/^[^ ]/ { suite = $1 } /^  / { print suite $1 }' | sort |
        comm -23 - <(printf '%s\n' "$alone") | sed 's/^/  /'
fi
exit 0
