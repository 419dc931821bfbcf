#!/usr/bin/env bash
# One run of the real program under Xvfb with a notification area (trayer):
# it starts, its overlay carries the opacity 150/255 for the compositor, its
# icon docks, its INI file is written, and its Exit button ends it with 0.
set -euo pipefail

exe=$(realpath "$1")
if [ "${2:-}" != --inside ]; then
    for tool in xvfb-run xdotool xprop xwininfo trayer; do
        command -v "$tool" >/dev/null || { echo "smoke: $tool is missing (tools/test-qt installs it)"; exit 1; }
    done
    exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$exe" --inside
fi

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "smoke: FAILED: $*"
    exit 1
}

export QT_QPA_PLATFORM=xcb
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
mkdir -p "$XDG_CONFIG_HOME/velmora"
ini=$XDG_CONFIG_HOME/velmora/velmora.ini
# Shown at start, 600 x 200 pixels at 100, 100.
printf '[config]\ntint=" 1"\nwidth=" 9000"\nheight=" 3000"\nleft=" 1500"\ntop=" 1500"\n' >"$ini"

trayer --edge top --align right --widthtype pixel --width 120 --heighttype pixel --height 24 &
pids+=($!)
for _ in $(seq 50); do
    xwininfo -root -tree | grep -q '"panel"' && break
    sleep 0.1
done

"$exe" &
velmora=$!
pids+=("$velmora")

overlay=$(timeout 20 xdotool search --sync --onlyvisible --name '^Velmora v1\.0$' | head -n1) ||
    fail "no overlay window appeared"
echo "smoke: overlay window $overlay"

opacity=$(xprop -id "$overlay" _NET_WM_WINDOW_OPACITY)
[[ $opacity == *"= 2526451350" ]] || fail "opacity property: $opacity"
echo "smoke: $opacity"

# The icon docks: trayer gains an embedded window.
docked=""
for _ in $(seq 50); do
    panel=$(xwininfo -root -tree | awk '/"panel"/ {print $1; exit}')
    if [ -n "$panel" ] && [ "$(xwininfo -id "$panel" -children | grep -c '0x')" -gt 1 ]; then
        docked=yes
        break
    fi
    sleep 0.1
done
[ -n "$docked" ] || fail "the notification icon did not dock in trayer"
echo "smoke: notification icon docked"

for _ in $(seq 50); do
    grep -q '^width=" 9000"$' "$ini" && grep -q '^left=" 1500"$' "$ini" && break
    sleep 0.1
done
grep -q '^width=" 9000"$' "$ini" || fail "geometry not saved: $(cat "$ini")"
echo "smoke: INI written"

# Exit: 6700 twips from the left, 200 down, 121 x 57 pixels.
xdotool mousemove --window "$overlay" 507 41 click 1
for _ in $(seq 100); do
    kill -0 "$velmora" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$velmora" 2>/dev/null && fail "Exit did not end the program"
status=0
wait "$velmora" || status=$?
[ "$status" -eq 0 ] || fail "exit code $status"
echo "smoke: Exit ended the program with 0"
echo "smoke: passed"
