#!/usr/bin/env bash
# Runs of the real program under Xvfb. With a notification area (trayer): it
# starts, its overlay carries the opacity 150/255 for the compositor, its icon
# docks, a second copy leaves at once, its INI file is written, Exit ends it
# with 0; with an empty store the overlay stays hidden. Without a notification
# area: the overlay shows anyway and a message box says why.
set -euo pipefail

exe=$(realpath "$1")
if [ "${2:-}" != --inside ]; then
    for tool in xvfb-run xdotool xprop xwininfo trayer import; do
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
# Polls until the command succeeds, for at most about 5 s.
eventually() {
    for _ in $(seq 50); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

export QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR=$work/run
mkdir -p -m 700 "$XDG_RUNTIME_DIR"

# A fresh settings folder holding the given INI text.
fresh_store() {
    export XDG_CONFIG_HOME=$work/config-$1
    ini=$XDG_CONFIG_HOME/velmora/velmora.ini
    mkdir -p "$XDG_CONFIG_HOME/velmora"
    printf '%b' "$2" >"$ini"
}
start_tray() {
    trayer --edge top --align right --widthtype pixel --width 120 --heighttype pixel --height 24 &
    tray=$!
    pids+=("$tray")
    eventually panel_window >/dev/null || fail "trayer did not start"
}
panel_window() {
    local id
    id=$(xwininfo -root -tree | awk '/"panel"/ {print $1; exit}')
    [ -n "$id" ] && echo "$id"
}
start_velmora() {
    "$exe" &
    velmora=$!
    pids+=("$velmora")
}
visible_window() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1 | grep .; }
stop_velmora() {
    kill "$velmora" 2>/dev/null || true
    wait "$velmora" 2>/dev/null || true
}

echo "== with a notification area"
fresh_store tray '[config]\ntint=" 1"\nwidth=" 9000"\nheight=" 3000"\nleft=" 1500"\ntop=" 1500"\n'
start_tray
start_velmora
overlay=$(timeout 20 xdotool search --sync --onlyvisible --name '^Velmora v1\.0$' | head -n1) ||
    fail "no overlay window appeared"
opacity=$(xprop -id "$overlay" _NET_WM_WINDOW_OPACITY)
[[ $opacity == *"= 2526451350" ]] || fail "opacity property: $opacity"
echo "smoke: $opacity"

docked() { xwininfo -id "$(panel_window)" -tree | grep -q '"velmora"'; }
eventually docked || fail "the notification icon did not dock in trayer"
echo "smoke: notification icon docked"

eventually grep -q '^width=" 9000"$' "$ini" || fail "geometry not saved: $(cat "$ini")"
grep -q '^left=" 1500"$' "$ini" || fail "left not saved: $(cat "$ini")"
echo "smoke: INI written"

status=0
timeout 10 "$exe" || status=$?
[ "$status" -eq 0 ] || fail "a second copy ended with $status"
kill -0 "$velmora" || fail "the first copy went away"
echo "smoke: a second copy left at once"

# "Set screen color": 4700 twips from the left, 200 down. Press on the spectrum's
# pure red (column 0 of row 216; the picture stands at 8,8 inside a one-pixel
# border) and keep a screenshot of the picker for people to look at.
xdotool mousemove --window "$overlay" 373 41 click 1
picker=$(timeout 10 xdotool search --sync --onlyvisible --name '^Set translucency color$' | head -n1) ||
    fail "the picker did not open"
xdotool mousemove --window "$picker" 9 225 click 1
if [ -n "${VELMORA_SCREENSHOTS:-}" ]; then
    mkdir -p "$VELMORA_SCREENSHOTS"
    sleep 0.3
    import -window "$picker" "$VELMORA_SCREENSHOTS/picker.png" || fail "no screenshot of the picker"
    echo "smoke: picker screenshot in $VELMORA_SCREENSHOTS/picker.png"
fi

# Exit: 6700 twips from the left, 200 down, 121 x 57 pixels.
xdotool mousemove --window "$overlay" 507 41 click 1
gone() { ! kill -0 "$velmora" 2>/dev/null; }
eventually gone || fail "Exit did not end the program"
status=0
wait "$velmora" || status=$?
[ "$status" -eq 0 ] || fail "exit code $status"
echo "smoke: Exit ended the program with 0"

echo "== with a notification area and an empty store"
fresh_store empty ''
rm -f "$ini"
start_velmora
eventually test -s "$ini" || fail "nothing saved"
sleep 0.5
visible_window '^Velmora v1\.0$' >/dev/null && fail "the overlay showed though tint is absent"
visible_window '^Velmora$' >/dev/null && fail "a message box showed"
stop_velmora
echo "smoke: the overlay stayed hidden"
kill "$tray"
wait "$tray" 2>/dev/null || true

echo "== without a notification area"
fresh_store none ''
start_velmora
eventually visible_window '^Velmora v1\.0$' >/dev/null || fail "the overlay did not show"
eventually visible_window '^Velmora$' >/dev/null || fail "no message box said why"
stop_velmora
echo "smoke: the overlay showed and a message box said why"
echo "smoke: passed"
