# What the benchmarks share: medians, ratios, the table they print, and what
# /proc says about a process. Sourced by tools/bench-qt and tools/bench-win32.
# A benchmark prints figures; it never fails on one.
# shellcheck shell=bash

# The median of the numbers on standard input, one a line.
median() { sort -g | awk '{a[NR] = $1} END {if (NR) printf "%.1f\n", (NR % 2 ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2)}'; }

# Velmora's figure over the bare program's, or "-" where there is nothing to divide by.
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {if (a == "" || b == "" || a == "-" || b == "-" || b == 0) print "-"; else printf "%.2f", a / b}'; }

# One line of the table: what, Velmora's figure, the bare program's, the unit.
row() {
    local unit=${4:-}
    printf '%-44s %12s %12s %7s\n' "$1" "$2${unit:+ $unit}" "$3${unit:+ $unit}" "$(ratio "$2" "$3")"
}

table_head() { printf '%-44s %12s %12s %7s\n' "" Velmora bare ratio; }

# Resident memory in MB and the number of threads, as the kernel counts them.
rss_mb() { awk '/^VmRSS:/ {printf "%.1f", $2 / 1024}' "/proc/$1/status" 2>/dev/null; }
threads() { awk '/^Threads:/ {print $2}' "/proc/$1/status" 2>/dev/null; }

# CPU time all its threads have run so far, in ms: steadier than the clock on a busy machine.
cpu_ms() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ns += $1} END {printf "%.1f", ns / 1e6}'; }

# "thread-id name switches" for every thread: voluntary and involuntary context switches.
switches_by_thread() {
    local task
    for task in /proc/"$1"/task/*; do
        awk -v id="${task##*/}" -v name="$(tr ' ' _ <"$task/comm" 2>/dev/null)" \
            '/^(non)?voluntary_ctxt_switches:/ {n += $2} END {print id, name, n}' "$task/status" 2>/dev/null
    done
}

# How often the process wakes while nothing happens: context switches of all its
# threads over that many seconds. Prints the rate per second, then by thread name.
wakeups() {
    local pid=$1 seconds=$2 before after
    before=$(switches_by_thread "$pid")
    sleep "$seconds"
    after=$(switches_by_thread "$pid")
    # Threads that came or went meanwhile count from zero or to their last known count.
    awk -v s="$seconds" 'FNR == NR {b[$1] = $3; name[$1] = $2; next} {d[$1] = $3 - b[$1]; name[$1] = $2}
        END {for (t in b) if (!(t in d)) d[t] = 0
             for (t in d) {sum += d[t]; by[name[t]] += d[t]}
             for (n in by) if (by[n] > 0) detail = detail sprintf(" %s %.1f", n, by[n] / s)
             printf "%.1f%s\n", sum / s, detail}' <(echo "$before") <(echo "$after")
}

# The by-thread part of what wakeups printed.
by_thread() { if [[ $1 == *" "* ]]; then echo "${1#* }"; else echo "no wakeups"; fi; }

# The reading ruler's figures: the wakeups at rest and the CPU time around them, the
# lags one a line ("missed" for a move never followed), the CPU time around the sweep.
ruler_report() {
    local rest=$1 rest_from=$2 rest_to=$3 lags=$4 before=$5 after=$6 idle=$7 got
    printf '%-44s %12s\n' "wakeups per second, pointer at rest, ${idle} s" "${rest%% *} /s"
    echo "  by thread: $(by_thread "$rest")"
    printf '%-44s %12s\n' "CPU time, pointer at rest, ${idle} s" \
        "$(awk -v a="$rest_from" -v b="$rest_to" 'BEGIN {printf "%.1f", b - a}') ms"
    got=$(grep -v missed <<<"$lags" | grep . | sort -g || true)
    printf '%-44s %12s\n' "pointer to ruler, median of $(grep -c . <<<"$got")" "$(median <<<"$got") ms"
    printf '%-44s %12s\n' "pointer to ruler, 90th percentile" \
        "$(awk '{a[NR] = $1} END {if (NR) printf "%.1f", a[int(NR * 0.9 + 0.5)]}' <<<"$got") ms"
    printf '%-44s %12s\n' "  moves the ruler never followed" "$(grep -c missed <<<"$lags" || true)"
    printf '%-44s %12s\n' "CPU time, 5 s of 100 pointer moves a second" \
        "$(awk -v a="$before" -v b="$after" 'BEGIN {printf "%.1f", b - a}') ms"
}
