#!/usr/bin/env bash
# A short soak of the real program: expansions of mixed texts (umlauts, "###", specials), a third of them with
# Shift, Ctrl or Alt held, and open/close cycles of every window, while its objects, handles and memory are
# counted. Nothing may grow but memory, and that only a little; no modifier may stay down after an expansion.
# The full run with figures is bench/soak_bench.sh.
source "$WW_SRC/tests/e2e/lib.sh"
source "$WW_SRC/tests/e2e/soak_lib.sh"
EXPANSIONS=${SOAK_EXPANSIONS:-100}
CYCLES=${SOAK_CYCLES:-4}
OUT=$E2E_WORK/soak.txt

soak_run "$EXPANSIONS" "$CYCLES" "$OUT" || true
grep -v '^during' "$OUT" | sed 's/^/  /'
report() { soak_report "$OUT" "$@"; }
value() { soak_value "$OUT" "$@"; }

check_eq "every expansion typed its text exactly" "$(report expansions | cut -d' ' -f1-2)" "$EXPANSIONS wrong=0"
check_eq "no modifier down after any expansion" "$(value modifier_checks failed)" 0
check_eq "modifiers held by the user are down again after the text" "$(value held_restored failed)" 0
check_eq "a lone Alt never reached the window" "$(value alt_keys lone_alt)" 0
for kind in menu editor overview picklist help; do
    check_eq "every $kind cycle opened and closed" "$(report "cycles $kind" | cut -d' ' -f2)" "ok=$CYCLES"
done
for counter in user gdi windows gdi_table handles; do
    for stage in after-expansions after-help; do
        check_eq "$counter after the $stage part as before" "$(value "$stage" $counter)" "$(value before $counter)"
    done
done
growth=$(($(value after-help private) - $(value before private)))
check "private memory grew by at most 1 MiB (grew $growth bytes)" [ "$growth" -le 1048576 ]
check "the program runs on" kill -0 "$WW_PID"
finish
