# Sourced by the benchmarks: CPU time of the Linux processes behind this run's Wine prefix.
# Only processes whose environment names our WINEPREFIX count, so a test run beside us is never measured.

# prefix_pid COMM: the process of our prefix with this command name (wortwerk.exe, wineserver64, explorer.exe).
prefix_pid() {
    local p
    for p in /proc/[0-9]*; do
        [ "$(cat "$p/comm" 2>/dev/null)" = "$1" ] || continue
        grep -qszxF "WINEPREFIX=$WINEPREFIX" "$p/environ" && {
            echo "${p#/proc/}"
            return 0
        }
    done
    return 1
}

# cpu_ticks PID: utime + stime in clock ticks (threads that ended included).
cpu_ticks() {
    local stat rest
    stat=$(cat "/proc/$1/stat")
    rest=${stat##*) } # the command name may hold blanks; fields count from after it
    awk '{ print $12 + $13 }' <<<"$rest"
}

# cpu_ns PID: time on the CPU in ns, summed over the live threads (finer than the tick count).
cpu_ns() {
    cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { printf "%d\n", s }'
}

# cpu_sample PID...: one line "now_ns ticks ns ticks ns ..." for later comparison with cpu_percent.
cpu_sample() {
    local line pid
    line="$(date +%s%N)"
    for pid in "$@"; do line+=" $(cpu_ticks "$pid") $(cpu_ns "$pid")"; done
    echo "$line"
}

# cpu_percent BEFORE AFTER INDEX: percent of one core used by the INDEX-th process (from 1) between two samples,
# printed as "ticks_percent ns_percent".
cpu_percent() {
    awk -v i="$3" -v hz="$(getconf CLK_TCK)" 'NR == 1 { split($0, a) } NR == 2 { split($0, b)
        wall = (b[1] - a[1]) / 1e9
        t = (b[2 * i] - a[2 * i]) / hz; n = (b[2 * i + 1] - a[2 * i + 1]) / 1e9
        printf "%.3f %.3f\n", 100 * t / wall, 100 * n / wall }' <(echo "$1") <(echo "$2")
}
