#!/usr/bin/env bash
# Runs of the real program under Xvfb: smoke.sh <velmora> plain|wm|tools
#
# plain, without a window manager: with a notification area (trayer) and a
# folder where the lock file should be, it starts, carries the opacity 150/255
# for the compositor, docks its icon, sends a second copy away, writes its INI
# file and ends with 0 from Exit, as from the icon menu's Exit (by key or click,
# the menu opened from the icon or its hotkey), SIGHUP with the menu open and
# SIGINT (and SIGTERM, which ends every run here); with an empty store the
# overlay stays hidden; without a notification area a first start shows the
# whole overlay in the middle of the screen and a box says why; a stored
# geometry reads back unchanged over three starts; a lock file that cannot be
# read keeps no one out; without a display, or in a Wayland session without
# XWayland, it says so in one line.
#
# wm, under openbox: the same geometry round trip; a size beyond every screen
# shrinks onto it; a notification area that comes 1.5 s after the program is
# waited for; a settings file that is a pipe cannot hang the start; About,
# chosen from the icon's menu, comes to the front with the keyboard and
# Escape closes it.
#
# tools, the reading tools, without a window manager: a stored strength shows
# in _NET_WM_WINDOW_OPACITY; with clicks through on, a click on the tint
# reaches the window beneath it (xev's, which logs it), and Ctrl+Alt+P takes
# the mouse back and gives it again; Ctrl+Alt+R shows the reading ruler, which
# follows the pointer as the server reports its moves (asleep while it rests)
# and lets clicks through; Ctrl+Alt+O hides and shows the tint, with NumLock
# on too; the strength slider in Settings changes the opacity; a second program
# that finds the keys held says so. Then under openbox: a click goes through a
# framed tint, and the ruler takes no focus; at 2x the ruler reaches the last
# row and column, and Settings opens fitted inside the screen.
set -euo pipefail

exe=$(realpath "$1")
mode=${2:-plain}
name=smoke
source "$(dirname "$0")/lib.sh"
if [ "${3:-}" != --inside ]; then
    needs xvfb-run xdotool xprop xwininfo xev trayer import openbox
    again_under_xvfb "$0" "$exe" "$mode"
fi
begin_run
failed() {
    if [ -n "${velmora:-}" ]; then
        kill -0 "$velmora" 2>/dev/null && echo "smoke: the copy started last is running" ||
            echo "smoke: the copy started last has ended"
    fi
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
stop_tray() {
    kill "$tray"
    wait "$tray" 2>/dev/null || true
    # Its windows go with its connection, and with them the notification area.
    no_panel() { ! panel_window >/dev/null; }
    eventually no_panel || fail "trayer's panel stayed"
}
panel_window() {
    local id
    id=$(xwininfo -root -tree | awk '/"panel"/ {print $1; exit}')
    [ -n "$id" ] && echo "$id"
}
docked() { xwininfo -id "$(panel_window)" -tree | grep -q '"velmora"'; }
start_velmora() {
    "$exe" &
    velmora=$!
    pids+=("$velmora")
}
visible_window() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1 | grep .; }
# Ends it as a session's end does (TERM), or by the signal named.
stop_velmora() {
    kill "-${1:-TERM}" "$velmora" 2>/dev/null || true
    ends_with_0 "SIG${1:-TERM}"
}
# A window's outer rectangle, frame included: left top width height. The overlay's unless named.
outer() {
    local id x y w h extents
    id=$(visible_window "${1:-^Velmora v1\.0$}") || return 1
    read -r x y w h < <(xwininfo -id "$id" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
        /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y, w, h}')
    extents=$(xprop -id "$id" _NET_FRAME_EXTENTS | sed -n 's/.*= //p' | tr -d ,)
    read -r l r t b <<<"${extents:-0 0 0 0}"
    echo "$((x - l)) $((y - t)) $((w + l + r)) $((h + t + b))"
}
outer_is() { [ "$(outer "${2:-^Velmora v1\.0$}")" = "$1" ]; }
# The icon's menu, the one window of ours that no window manager handles.
menu_window() {
    local id
    for id in $(xdotool search --onlyvisible --class velmora 2>/dev/null); do
        xwininfo -id "$id" | grep -q 'Override Redirect State: yes' && echo "$id" && return 0
    done
    return 1
}
menu_open() { menu_window >/dev/null; }
open_icon_menu() {
    read -r ix iy < <(xwininfo -id "$(xwininfo -id "$(panel_window)" -tree | awk '/"velmora"/ {print $1; exit}')" |
        awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4} END {print x + 4, y + 4}')
    xdotool mousemove "$ix" "$iy" click 3
    eventually menu_open || fail "the icon's menu did not open"
}
# The sponsor panel's client area, frame left out: width height.
panel_client() {
    local id
    id=$(visible_window '^Velmora is sponsored by :>$') || return 1
    xwininfo -id "$id" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w, h}'
}
panel_client_is() { [ "$(panel_client)" = "$1" ]; }
# Its design's client area, 4740 x 1680 twips, is what a frame goes around, at the
# scale given, and it stands where the program put it.
framed_panel() {
    fresh_store "panel-$1" '[config]\ntint=" 0"\n'
    QT_SCALE_FACTOR=$1 "$exe" &
    velmora=$!
    pids+=("$velmora")
    panel_framed() {
        local id
        id=$(visible_window '^Velmora is sponsored by :>$') && xprop -id "$id" _NET_FRAME_EXTENTS | grep -q =
    }
    eventually panel_framed || fail "the sponsor panel was not framed"
    # The program places a window again once it knows its frame: give that a moment.
    sleep 1
    panel_client_is "$2" || fail "at scale $1 the framed sponsor panel's client area is $(panel_client), not $2"
    # Placed by the program 20 pixels from the right, 67 from the bottom, by the size it read then.
    [ "$1" != 1 ] || [[ $(outer '^Velmora is sponsored by :>$') == "944 621 "* ]] ||
        fail "the sponsor panel stands at $(outer '^Velmora is sponsored by :>$')"
    stop_velmora
    echo "smoke: at scale $1 the framed sponsor panel kept its client area ($2)"
}
geometry() { grep -E '^(left|top|width|height)=' "$ini" | sort | tr '\n' ' '; }

# Three starts: each shows the stored rectangle, frame included, and leaves it stored as it was.
geometry_round_trip() {
    fresh_store "trip-$1" '[config]\ntint=" 1"\nleft=" 3000"\ntop=" 3000"\nwidth=" 9000"\nheight=" 4500"\n'
    local before
    before=$(geometry)
    for run in 1 2 3; do
        start_velmora
        eventually outer_is "200 200 600 300" || fail "start $run $1: the overlay stands at $(outer)"
        eventually grep -q '^width=' "$ini" || fail "nothing stored"
        stop_velmora
        [ "$(geometry)" = "$before" ] || fail "start $run $1 stored $(geometry), not $before"
    done
    echo "smoke: the geometry read back unchanged over three starts $1"
}

no_display() {
    local out status=0
    out=$(env -u DISPLAY -u WAYLAND_DISPLAY "$exe" 2>&1) || status=$?
    [ "$status" -eq 1 ] && [ "$out" = "Velmora needs a graphical desktop, and no display was found." ] ||
        fail "with no display variable: $status, $out"
    status=0
    out=$(env -u WAYLAND_DISPLAY DISPLAY=:9999 "$exe" 2>&1) || status=$?
    [ "$status" -eq 1 ] && [ "$out" = "Velmora needs a graphical desktop, and no display was found." ] ||
        fail "with a display that does not answer: $status, $out"
    status=0
    out=$(env -u DISPLAY WAYLAND_DISPLAY=wayland-0 "$exe" 2>&1) || status=$?
    [ "$status" -eq 1 ] && [ "$out" = "Velmora needs X11 or XWayland, and this Wayland session offers neither." ] ||
        fail "in a Wayland session without XWayland: $status, $out"
    echo "smoke: without a display, or with Wayland alone, it said so in one line and ended with 1"
}

plain() {
    no_display

    echo "== with a notification area, and a folder where the lock should be"
    mkdir -p "$XDG_RUNTIME_DIR/velmora.lock/x"
    fresh_store tray '[config]\ntint=" 1"\nwidth=" 9000"\nheight=" 3000"\nleft=" 1500"\ntop=" 1500"\n'
    start_tray
    start_velmora
    overlay=$(timeout 20 xdotool search --sync --onlyvisible --name '^Velmora v1\.0$' | head -n1) ||
        fail "no overlay window appeared"
    opacity=$(xprop -id "$overlay" _NET_WM_WINDOW_OPACITY)
    [[ $opacity == *"= 2526451350" ]] || fail "opacity property: $opacity"
    echo "smoke: $opacity"
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
    ends_with_0 "the Exit button"
    echo "smoke: Exit ended the program with 0"
    every_end

    echo "== with a notification area and an empty store"
    fresh_store empty ''
    rm -f "$ini"
    start_velmora
    eventually test -s "$ini" || fail "nothing saved"
    eventually visible_window '^Velmora is sponsored by :>$' >/dev/null || fail "no sponsor panel"
    panel_client_is "316 112" || fail "the sponsor panel's client area is $(panel_client)"
    visible_window '^Velmora v1\.0$' >/dev/null && fail "the overlay showed though tint is absent"
    visible_window '^Velmora$' >/dev/null && fail "a message box showed"
    stop_velmora
    echo "smoke: the overlay stayed hidden"
    stop_tray

    echo "== without a notification area, a first start"
    fresh_store none ''
    start_velmora
    # Its designer size, 559 x 201, in the middle of the 1280 x 800 screen.
    eventually outer_is "360 299 559 201" || fail "the overlay stands at $(outer)"
    eventually visible_window '^Velmora$' >/dev/null || fail "no message box said why"
    stop_velmora
    echo "smoke: the whole overlay showed in the middle and a message box said why"

    geometry_round_trip "without a window manager"
    unreadable_lock
}

# The icon menu's Exit, by its mnemonic and by a click, from the menu the icon
# opened and from the one Ctrl+Alt+M opened; a hang-up while the menu is open,
# and Ctrl+C: each ends with 0. (SIGTERM ends every other run here.)
every_end() {
    fresh_store end '[config]\ntint=" 1"\n'
    for how in "menu x" "menu click" "hotkey x" "menu HUP" "INT"; do
        start_velmora
        eventually docked || fail "$how: the icon did not dock"
        case $how in
        menu*) open_icon_menu ;;
        hotkey*)
            xdotool key ctrl+alt+m
            eventually menu_open || fail "Ctrl+Alt+M did not open the menu"
            ;;
        esac
        case $how in
        *x) xdotool key x ;;
        *click)
            # Exit is the last entry.
            read -r mx my < <(xwininfo -id "$(menu_window)" | awk '/Absolute upper-left X/ {x=$4}
                /Absolute upper-left Y/ {y=$4} /Height:/ {h=$2} END {print x + 20, y + h - 8}')
            xdotool mousemove "$mx" "$my" sleep 0.2 click 1
            ;;
        *) kill "-${how##* }" "$velmora" ;;
        esac
        ends_with_0 "$how"
    done
    echo "smoke: the menu's Exit (key, click, from the hotkey's menu), SIGHUP with the menu open and SIGINT ended with 0"
}

# A lock file its owner cannot read keeps no one out. Root reads every file, so
# as root this runs as nobody; the widget tests cover it when run as anyone else.
# Nobody may not reach this clone or $TMPDIR (a home of mode 700): what nobody
# runs and uses is copied to a folder of /tmp that everyone can enter.
unreadable_lock() {
    [ "$(id -u)" -eq 0 ] || return 0
    local shared
    shared=$(mktemp -d -p /tmp velmora-nobody.XXXXXX)
    chmod 755 "$shared"
    folders+=("$shared")
    cp "$exe" "$shared/velmora"
    local home=$shared/home
    mkdir -p -m 700 "$home/run" "$home/config/velmora"
    printf '[config]\ntint=" 1"\n' >"$home/config/velmora/velmora.ini"
    : >"$home/run/velmora.lock"
    chmod 000 "$home/run/velmora.lock"
    cp "$XAUTHORITY" "$home/xauth"
    chown -R nobody: "$home"
    setpriv --reuid=nobody --regid=nogroup --clear-groups env HOME="$home" XAUTHORITY="$home/xauth" \
        XDG_RUNTIME_DIR="$home/run" XDG_CONFIG_HOME="$home/config" "$shared/velmora" &
    velmora=$!
    pids+=("$velmora")
    eventually visible_window '^Velmora v1\.0$' >/dev/null || fail "an unreadable lock file kept the start out"
    stop_velmora
    echo "smoke: an unreadable lock file kept no one out"
}

wm() {
    openbox --config-file /dev/null >/dev/null 2>&1 &
    pids+=("$!")
    # Started as soon as openbox is, as at login, before it is quite ready.
    eventually xprop -root _NET_SUPPORTING_WM_CHECK >/dev/null || fail "openbox did not start"
    geometry_round_trip "under openbox"
    framed_panel 1 "316 112"
    framed_panel 2 "632 224"

    echo "== a stored size beyond every screen"
    fresh_store huge '[config]\ntint=" 1"\nwidth=1e38\nheight=" 3000"\nleft=" 1500"\ntop=" 1500"\n'
    start_velmora
    eventually outer >/dev/null || fail "no overlay"
    read -r x y w h < <(outer)
    ((x >= 0 && y >= 0 && x + w <= 1280 && y + h <= 800)) || fail "the overlay stands at $x $y $w $h"
    stop_velmora
    echo "smoke: the overlay kept within the screen ($x $y $w $h)"

    echo "== a notification area that comes after the program"
    fresh_store late '[config]\ntint=" 0"\n'
    start_velmora
    sleep 1.5
    start_tray
    eventually docked || fail "the icon did not dock"
    # Past the few seconds the program waits: still no box, and the overlay still hidden.
    sleep 5
    visible_window '^Velmora$' >/dev/null && fail "a box said there was no notification area"
    visible_window '^Velmora v1\.0$' >/dev/null && fail "the overlay showed though tint is 0"
    echo "smoke: the late notification area was waited for"

    echo "== About from the icon's menu"
    open_icon_menu
    xdotool key Down Return
    about=$(timeout 10 xdotool search --sync --onlyvisible --name '^About Velmora$' | head -n1) ||
        fail "About did not open"
    active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$about" ]; }
    eventually active || fail "About did not come to the front with the keyboard"
    xdotool key Escape
    about_gone() { ! visible_window '^About Velmora$' >/dev/null; }
    eventually about_gone || fail "Escape did not close About"
    stop_velmora
    echo "smoke: About came to the front with the keyboard, and Escape closed it"

    echo "== a settings file that is a pipe"
    fresh_store pipe ''
    rm -f "$ini"
    mkfifo "$ini"
    start_velmora
    eventually visible_window '^Velmora$' >/dev/null || fail "no box said the settings cannot be kept"
    [ -p "$ini" ] || fail "the pipe was replaced"
    stop_velmora
    stop_tray
    echo "smoke: the start did not hang on the pipe, and said the settings cannot be kept"
}

# A window of xev's beneath where the tint will stand (100,100 600 x 200), which logs the presses it gets.
start_xev() {
    xev -geometry 300x150+150+120 -event button >"$work/xev.log" &
    xev=$!
    pids+=("$xev")
    eventually visible_window '^Event Tester$' >/dev/null || fail "xev did not start"
}
presses_are() { [ "$(grep -c ButtonPress "$work/xev.log")" -eq "$1" ]; }
stored_is() { grep -q "^$1=\"$2\"\$" "$ini"; }
# 0xFFFFFFFF / 255 is 16843009: Qt's opacity for an alpha, exactly.
opacity_is() { [[ $(xprop -id "$1" _NET_WM_WINDOW_OPACITY) == *"= $(($2 * 16843009))" ]]; }
tools_store() {
    fresh_store "$1" '[config]\ntint=" 1"\nwidth=" 9000"\nheight=" 3000"\nleft=" 1500"\ntop=" 1500"\nalpha=" 200"\nclickthrough=" 1"\n'
}

tools() {
    start_tray
    tools_store tools
    start_xev
    start_velmora
    overlay=$(timeout 20 xdotool search --sync --onlyvisible --name '^Velmora v1\.0$' | head -n1) ||
        fail "no overlay window appeared"
    eventually opacity_is "$overlay" 200 || fail "opacity for alpha 200: $(xprop -id "$overlay" _NET_WM_WINDOW_OPACITY)"
    echo "smoke: the stored strength shows as the opacity"

    xdotool mousemove 200 250 click 1
    eventually presses_are 1 || fail "a click on the tint did not reach the window beneath it"
    xdotool key ctrl+alt+p
    eventually stored_is clickthrough " 0" || fail "Ctrl+Alt+P did not switch clicks through off"
    xdotool mousemove 210 250 click 1
    sleep 0.5
    presses_are 1 || fail "with clicks through off, a click on the tint still went through"
    xdotool key ctrl+alt+p
    eventually stored_is clickthrough " 1" || fail "Ctrl+Alt+P did not switch clicks through on again"
    xdotool mousemove 220 250 click 1
    eventually presses_are 2 || fail "clicks through on again, a click did not go through"
    echo "smoke: a click went through the tint, and Ctrl+Alt+P took the mouse back and gave it again"

    xdotool mousemove 640 300 key ctrl+alt+r
    eventually outer_is "0 276 1280 48" '^Velmora reading ruler$' ||
        fail "Ctrl+Alt+R: the ruler stands at $(outer '^Velmora reading ruler$')"
    ruler=$(visible_window '^Velmora reading ruler$')
    opacity_is "$ruler" 200 || fail "the ruler's opacity: $(xprop -id "$ruler" _NET_WM_WINDOW_OPACITY)"
    xdotool mousemove 640 500
    eventually outer_is "0 476 1280 48" '^Velmora reading ruler$' ||
        fail "the ruler did not follow the pointer: $(outer '^Velmora reading ruler$')"
    # With the pointer at rest the ruler stays where it is (its wakeups are the benchmark's).
    sleep 1
    outer_is "0 476 1280 48" '^Velmora reading ruler$' || fail "the ruler moved with the pointer at rest"
    xdotool mousemove 640 200
    eventually outer_is "0 176 1280 48" '^Velmora reading ruler$' ||
        fail "the ruler did not follow the pointer after resting: $(outer '^Velmora reading ruler$')"
    xdotool mousemove 230 250 click 1
    eventually presses_are 3 || fail "a click on the ruler over the tint did not reach the window beneath"
    xdotool key ctrl+alt+r
    ruler_gone() { ! visible_window '^Velmora reading ruler$' >/dev/null; }
    eventually ruler_gone || fail "Ctrl+Alt+R did not hide the ruler"
    stored_is ruler " 0" || fail "the ruler's switch was not stored"
    echo "smoke: Ctrl+Alt+R showed the ruler, which followed the pointer as the server reported it, stayed put" \
        "while it rested, let clicks through, and hid it"

    tint_hidden() { ! visible_window '^Velmora v1\.0$' >/dev/null; }
    xdotool key ctrl+alt+o
    eventually tint_hidden || fail "Ctrl+Alt+O did not hide the tint"
    xdotool key Num_Lock ctrl+alt+o Num_Lock
    eventually visible_window '^Velmora v1\.0$' >/dev/null || fail "Ctrl+Alt+O with NumLock on did not show the tint"
    eventually stored_is clickthrough " 0" || fail "showing the tint did not give the mouse back"
    echo "smoke: Ctrl+Alt+O hid the tint and, with NumLock on, showed it again"

    open_icon_menu
    xdotool key Down Down Down Down Return
    settings=$(timeout 10 xdotool search --sync --onlyvisible --name '^Settings $' | head -n1) ||
        fail "Settings did not open"
    if [ -n "${VELMORA_SCREENSHOTS:-}" ]; then
        mkdir -p "$VELMORA_SCREENSHOTS"
        sleep 0.3
        import -window "$settings" "$VELMORA_SCREENSHOTS/settings.png" || fail "no screenshot of the settings"
        echo "smoke: settings screenshot in $VELMORA_SCREENSHOTS/settings.png"
    fi
    # Its mnemonic leads to the slider: 78 % and one step more, 79 %, is alpha 201.
    xdotool key alt+s Right
    eventually stored_is alpha " 201" || fail "the strength slider stored $(grep alpha "$ini")"
    eventually opacity_is "$overlay" 201 || fail "the slider's strength: $(xprop -id "$overlay" _NET_WM_WINDOW_OPACITY)"
    xdotool key Escape
    echo "smoke: the strength slider in Settings changed the opacity"

    # A second program that finds every key held: one box says so.
    mkdir -p -m 700 "$work/run2" "$work/config2"
    XDG_RUNTIME_DIR=$work/run2 XDG_CONFIG_HOME=$work/config2 "$exe" &
    second=$!
    pids+=("$second")
    eventually visible_window '^Velmora$' >/dev/null || fail "no box said the keys are held"
    kill "$second"
    wait "$second" 2>/dev/null || true
    xdotool key ctrl+alt+o
    eventually tint_hidden || fail "the first copy lost its keys"
    echo "smoke: a second program that found the keys held said so, and the first kept them"
    stop_velmora
    stop_tray
    kill "$xev"
    wait "$xev" 2>/dev/null || true

    openbox --config-file /dev/null >/dev/null 2>&1 &
    pids+=("$!")
    eventually xprop -root _NET_SUPPORTING_WM_CHECK >/dev/null || fail "openbox did not start"
    tools_store framed
    start_xev
    start_velmora
    eventually visible_window '^Velmora v1\.0$' >/dev/null || fail "no overlay under openbox"
    eventually outer_is "100 100 600 200" || fail "the overlay stands at $(outer)"
    xdotool mousemove 200 250 click 1
    eventually presses_are 1 || fail "under openbox a click on the tint did not reach the window beneath it"
    before=$(xdotool getactivewindow)
    xdotool key ctrl+alt+r
    eventually visible_window '^Velmora reading ruler$' >/dev/null || fail "no ruler under openbox"
    sleep 0.3
    [ "$(xdotool getactivewindow)" = "$before" ] || fail "the ruler took the focus"
    stop_velmora
    echo "smoke: under openbox a click went through the framed tint, and the ruler took no focus"
    high_density
}

# At twice the density, under openbox: the ruler reaches the last row and column, and
# Settings, taller than the screen's 400 scaled rows, opens fitted inside it.
high_density() {
    fresh_store dense '[config]\ntint=" 0"\nruler=" 1"\nrulerfollow=" 1"\n'
    xdotool mousemove 1279 300
    QT_SCALE_FACTOR=2 "$exe" &
    velmora=$!
    pids+=("$velmora")
    eventually outer_is "0 252 1280 96" '^Velmora reading ruler$' ||
        fail "at 2x on the last column the ruler stands at $(outer '^Velmora reading ruler$')"
    xdotool mousemove 1279 799
    eventually outer_is "0 704 1280 96" '^Velmora reading ruler$' ||
        fail "at 2x on the last row the ruler stands at $(outer '^Velmora reading ruler$')"
    QT_SCALE_FACTOR=2 "$exe" --settings
    eventually visible_window '^Settings $' >/dev/null || fail "no Settings at 2x"
    sleep 1
    local x y w h
    read -r x y w h < <(outer '^Settings $')
    [ "$x" -ge 0 ] && [ "$y" -ge 0 ] && [ $((x + w)) -le 1280 ] && [ $((y + h)) -le 800 ] ||
        fail "at 2x Settings stands at $x $y $w $h, not inside the 1280 x 800 screen"
    stop_velmora
    echo "smoke: at 2x the ruler reached the last row and column, and Settings opened inside the screen ($w x $h)"
}

"$mode"
echo "smoke: passed ($mode)"
