#!/usr/bin/env bash
# The colour filter on a real X server: filter.sh <velmora> <velmora_ramps>
#
# Xvfb holds RandR gamma ramps and reads them back exactly, though a screenshot
# never shows them, so the ramps are what is checked. With the tint chosen as a
# colour filter the program puts the tint's gains into the ramp at start (a
# fresh Xvfb's ramp of zeros counting as the identity), which a second copy
# leaves alone, follows a colour chosen
# in the picker and a strength from the Settings slider, puts the ramp back on
# Ctrl+Alt+O, leaves a night-light tool's ramp alone until a screen comes, then
# filters over it, and puts back what it found on Exit and on SIGTERM. After
# kill -9 the next start puts back what the killed one found, unless another
# program wrote the ramps since. The platform says where it cannot filter:
# without an X server, in a Wayland session, and under XWayland (when weston
# can run here).
set -euo pipefail

exe=$(realpath "$1")
ramps=$(realpath "$2")
name=filter
source "$(dirname "$0")/lib.sh"
if [ "${3:-}" != --inside ]; then
    needs xvfb-run xdotool xwininfo trayer
    again_under_xvfb "$0" "$exe" "$ramps"
fi
begin_run

export QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR=$work/run
mkdir -m 700 "$XDG_RUNTIME_DIR"
export XDG_CONFIG_HOME=$work/config
ini=$XDG_CONFIG_HOME/velmora/velmora.ini
mkdir -p "$XDG_CONFIG_HOME/velmora"
printf '[config]\ntint=" 1"\ntintmode=" 1"\n' >"$ini"

# The top of the first CRTC's red, green and blue ramps: what white shows.
tops() { "$ramps" get | awk 'NR >= 2 && NR <= 4 {printf "%s%s", (NR > 2 ? " " : ""), $NF} END {print ""}'; }
# White under the tint colour (r g b) at a strength, over ramps whose tops are given:
# each top times 1 - (alpha / 255)(1 - C / 255).
filtered() {
    awk -v a="$1" -v c="$2" -v b="$3" 'BEGIN { split(c, cc, " "); split(b, bb, " ")
        for (i = 1; i <= 3; i++) printf "%s%d", (i > 1 ? " " : ""), int(bb[i] * (1 - a / 255 * (1 - cc[i] / 255)) + 0.5)
        print "" }'
}
# The tops within one step of rounding of those given.
tops_are() {
    awk -v x="$(tops)" -v y="$1" 'BEGIN { if (split(x, p, " ") != 3 || split(y, q, " ") != 3) exit 1
        for (i = 1; i <= 3; i++) if (p[i] - q[i] > 1 || q[i] - p[i] > 1) exit 1 }'
}
ramps_are() { [ "$("$ramps" get)" = "$1" ]; }
record() { compgen -G "$XDG_RUNTIME_DIR/velmora-filter-*.ramps" >/dev/null; }
no_record() { ! record; }

panel_window() { xwininfo -root -tree | awk '/"panel"/ {print $1; exit}' | grep .; }
docked() { xwininfo -id "$(panel_window)" -tree | grep -q '"velmora"'; }
visible_window() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1 | grep .; }
menu_open() {
    local id
    for id in $(xdotool search --onlyvisible --class velmora 2>/dev/null); do
        xwininfo -id "$id" | grep -q 'Override Redirect State: yes' && return 0
    done
    return 1
}
open_icon_menu() {
    read -r ix iy < <(xwininfo -id "$(xwininfo -id "$(panel_window)" -tree | awk '/"velmora"/ {print $1; exit}')" |
        awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4} END {print x + 4, y + 4}')
    xdotool mousemove "$ix" "$iy" click 3
    eventually menu_open || fail "the icon's menu did not open"
}
start_velmora() {
    "$exe" &
    velmora=$!
    pids+=("$velmora")
    eventually docked || fail "the icon did not dock"
}
tint_store() { sed -i "s/^tint=.*/tint=\" $1\"/" "$ini"; }

[ "$("$ramps" reason)" = "" ] || fail "Xvfb's ramps were said unavailable: $("$ramps" reason)"
[ "$(WAYLAND_DISPLAY=wayland-9 "$ramps" reason)" = "this is a Wayland session" ] ||
    fail "in a Wayland session: $(WAYLAND_DISPLAY=wayland-9 "$ramps" reason)"
[ "$(QT_QPA_PLATFORM=offscreen "$ramps" reason 2>/dev/null)" = "there is no X server" ] ||
    fail "offscreen: $(QT_QPA_PLATFORM=offscreen "$ramps" reason 2>/dev/null)"
echo "filter: the filter is offered on Xvfb, and not in a Wayland session or without an X server"
# XWayland takes a ramp and reads it back as any X server does, and never shows
# it: known as such even without WAYLAND_DISPLAY (as a login service may start us).
if command -v weston >/dev/null && command -v Xwayland >/dev/null; then
    weston --backend=headless-backend.so --xwayland --socket="velmora-filter-$$" --log="$work/weston.log" \
        >/dev/null 2>&1 &
    weston=$!
    pids+=("$weston")
    xwayland_display() { sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$work/weston.log" | grep .; }
    if eventually xwayland_display >/dev/null; then
        said=$(env -u WAYLAND_DISPLAY DISPLAY="$(xwayland_display)" "$ramps" reason)
        [ "$said" = "this is a Wayland session" ] || fail "under XWayland without WAYLAND_DISPLAY: $said"
        echo "filter: under XWayland, without WAYLAND_DISPLAY, the filter is not offered"
    else
        echo "filter: weston did not start here; XWayland not checked"
    fi
    kill "$weston"
    wait "$weston" 2>/dev/null || true
fi

fresh=$("$ramps" get)
identity="65535 65535 65535"
trayer --edge top --align right --widthtype pixel --width 120 --heighttype pixel --height 24 &
pids+=("$!")
eventually panel_window >/dev/null || fail "trayer did not start"

start_velmora
default=$(filtered 150 "144 195 212" "$identity")
eventually tops_are "$default" || fail "at start the ramps' tops are $(tops), not $default"
visible_window '^Velmora v1\.0$' >/dev/null && fail "the tint window showed beside the filter"
record || fail "no record of the ramps found"
echo "filter: at start the ramps carry the default tint ($(tops))"
status=0
timeout 10 "$exe" || status=$?
[ "$status" -eq 0 ] || fail "a second copy ended with $status"
{ tops_are "$default" && record; } || fail "a second copy took the filter away: $(tops)"
echo "filter: a second copy left the filter as it was"

# The picker from the menu (the tint window is hidden): pure red, then "Set color".
open_icon_menu
xdotool key p
picker=$(timeout 10 xdotool search --sync --onlyvisible --name '^Set translucency color$' | head -n1) ||
    fail "Colour picker did not open the picker"
xdotool mousemove --window "$picker" 9 225 click 1 sleep 0.3 mousemove --window "$picker" 216 289 click 1
saved=$(timeout 10 xdotool search --sync --onlyvisible --name '^Velmora$' | head -n1) || fail "no box said saved"
xdotool windowfocus --sync "$saved" key Return
red=$(filtered 150 "255 0 0" "$identity")
eventually tops_are "$red" || fail "after a red was set the tops are $(tops), not $red"
grep -q '^red=255$' "$ini" || fail "the picker stored no red"
visible_window '^Velmora v1\.0$' >/dev/null && fail "the tint window showed after Set color"
# Settings, its strength slider one step (1 %) up.
open_icon_menu
xdotool key Down Down Down Down Return
timeout 10 xdotool search --sync --onlyvisible --name '^Settings $' >/dev/null || fail "Settings did not open"
xdotool key alt+s Right
alpha() { sed -n 's/^alpha=" *\([0-9]*\)"$/\1/p' "$ini"; }
stronger_stored() { [ "$(alpha)" -gt 150 ]; }
eventually stronger_stored || fail "the slider stored $(grep alpha "$ini")"
alpha=$(alpha)
stronger=$(filtered "$alpha" "255 0 0" "$identity")
eventually tops_are "$stronger" || fail "at strength $alpha the tops are $(tops), not $stronger"
xdotool key Escape
echo "filter: the ramps followed the picker's colour ($red) and the slider's strength ($stronger)"

xdotool key ctrl+alt+o
eventually ramps_are "$fresh" || fail "Ctrl+Alt+O left the tops at $(tops)"
no_record || fail "the record stayed with the filter off"
xdotool key ctrl+alt+o
eventually tops_are "$stronger" || fail "Ctrl+Alt+O again: the tops are $(tops)"
echo "filter: Ctrl+Alt+O put the ramps back as found, and filtered again"

# A night-light tool writes last; a screen that goes is no reason to write over it,
# a screen that comes gets the filter, over the night light.
"$ramps" set 1 0.5 0.25
night=$("$ramps" get)
nightTops=$(tops)
"$ramps" screen off
sleep 1
ramps_are "$night" || fail "a screen that went made the program write over the night light: $(tops)"
"$ramps" screen on
over=$(filtered "$alpha" "255 0 0" "$nightTops")
eventually tops_are "$over" || fail "a screen that came has the tops $(tops), not $over"
echo "filter: a night light's ramp stayed until a screen came, which got the filter over it ($over)"

open_icon_menu
xdotool key x
ends_with_0 "the menu's Exit"
ramps_are "$night" || fail "Exit left the tops at $(tops), not the night light's $nightTops"
no_record || fail "the record stayed after Exit"

start_velmora
eventually tops_are "$over" || fail "at start over the night light the tops are $(tops), not $over"
kill -TERM "$velmora"
ends_with_0 SIGTERM
ramps_are "$night" || fail "SIGTERM left the tops at $(tops)"
echo "filter: Exit and SIGTERM put back the ramps found"

# Killed: the ramps stay as they were, and the next start puts back what it found.
start_velmora
eventually tops_are "$over" || fail "the tops before the kill are $(tops)"
kill -KILL "$velmora"
wait "$velmora" 2>/dev/null || true
tops_are "$over" || fail "after the kill the tops are $(tops)"
tint_store 0
start_velmora
eventually no_record || fail "the next start kept the record"
ramps_are "$night" || fail "the next start left the tops at $(tops), not $nightTops"
kill -TERM "$velmora"
ends_with_0 SIGTERM
# Unless another program wrote the ramps in between.
tint_store 1
start_velmora
eventually tops_are "$over" || fail "the tops before the second kill are $(tops)"
kill -KILL "$velmora"
wait "$velmora" 2>/dev/null || true
"$ramps" set 0.9 0.9 0.9
theirs=$("$ramps" get)
tint_store 0
start_velmora
eventually no_record || fail "the start after the second kill kept the record"
ramps_are "$theirs" || fail "the start after the second kill wrote over another program's ramps: $(tops)"
kill -TERM "$velmora"
ends_with_0 SIGTERM
echo "filter: after kill -9 the next start put back the ramps found, and left another program's alone"
echo "filter: passed"
