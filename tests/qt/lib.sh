# What the runs of the real program under Xvfb share; sourced by each, which
# sets `name` (the word its lines start with) first.
# shellcheck shell=bash

# Each tool the run needs, or a line saying which is missing and status 1.
needs() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null || { echo "$name: $tool is missing (tools/test-qt installs it)"; exit 1; }
    done
}
# The calling script again, with its arguments and --inside, in an X server of its
# own; -noreset: an X server resets when its last client leaves, and refuses
# whoever connects meanwhile, and programs here come and go with no client between.
again_under_xvfb() { exec xvfb-run -a -s "-screen 0 1280x800x24 -noreset" "$@" --inside; }

# A folder for the run ($work), and the programs it starts ($pids) and folders it
# makes ($folders), all gone when it ends; once inside the X server.
begin_run() {
    work=$(mktemp -d)
    pids=()
    folders=("$work")
    trap cleanup EXIT
}
cleanup() {
    local pid
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    rm -rf "${folders[@]}"
}
# Says what failed, and what the script adds (a function `failed`, if it has one).
fail() {
    echo "$name: FAILED: $*"
    if declare -F failed >/dev/null; then failed; fi
    exit 1
}
# Polls until the command succeeds, for at most about 20 s.
eventually() {
    local _
    for _ in $(seq 200); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}
# The copy started last ($velmora) ends, with 0: a program ended by a signal has crashed.
ends_with_0() {
    gone() { ! kill -0 "$velmora" 2>/dev/null; }
    eventually gone || fail "$1 did not end the program"
    local status=0
    wait "$velmora" || status=$?
    [ "$status" -eq 0 ] || fail "$1 ended the program with $status"
}
