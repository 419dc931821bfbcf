#!/usr/bin/env bash
# The commands to the running copy in the real program: commands.sh <velmora> xvfb|weston
#
# xvfb, with a notification area: `--version` prints and `--bogus` is a usage
# line on stderr and status 2, neither needing a display; `--settings` opens
# Settings in the running copy, `--hide` and `--show` hide and show the tint,
# `--quit` ends it with 0, and a `--quit` with none running starts nothing.
#
# weston, a Wayland session (weston headless with XWayland, no notification
# area): the program goes through XWayland and says so once in its log, shows
# the tint, tells once that there is no notification area (the box is
# dismissed), takes the same commands without telling it again, and ends with
# 0. Skipped, with status 77, where weston cannot start.
set -euo pipefail

exe=$(realpath "$1")
mode=${2:-xvfb}
name=commands
source "$(dirname "$0")/lib.sh"
if [ "$mode" = xvfb ] && [ "${3:-}" != --inside ]; then
    needs xvfb-run xdotool trayer
    again_under_xvfb "$0" "$exe" "$mode"
fi
begin_run
failed() {
    echo "commands: in the $mode run"
    [ -f "$work/velmora.err" ] && sed 's/^/commands: velmora said: /' "$work/velmora.err"
}

export XDG_RUNTIME_DIR=$work/run XDG_CONFIG_HOME=$work/config
mkdir -p -m 700 "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME/velmora"
printf '[config]\ntint=" 1"\n' >"$XDG_CONFIG_HOME/velmora/velmora.ini"

shown() { xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }
hidden() { ! shown "$1"; }
tint='^Velmora v1\.0$'
box='^Velmora$'
start_velmora() {
    "$exe" 2>"$work/velmora.err" &
    velmora=$!
    pids+=("$velmora")
}
# Tells the running copy; the copy telling it leaves with 0.
tell() {
    local status=0
    timeout 20 "$exe" "--$1" || status=$?
    [ "$status" -eq 0 ] || fail "velmora --$1 ended with $status"
}
# Settings opens and closes; the tint hides and shows.
take_commands() {
    tell settings
    eventually shown '^Settings $' || fail "--settings did not open Settings"
    # The window goes on the key press, before xdotool sends the release, which then fails.
    xdotool key --window "$(xdotool search --onlyvisible --name '^Settings $' | head -n1)" Escape 2>/dev/null || true
    eventually hidden '^Settings $' || fail "Escape did not close Settings"
    tell hide
    eventually hidden "$tint" || fail "--hide left the tint"
    tell show
    eventually shown "$tint" || fail "--show did not bring the tint back"
    echo "commands: --settings opened Settings in the running copy, --hide and --show hid and showed the tint"
}

xvfb() {
    local version out status=0
    version=$(env -u DISPLAY "$exe" --version) || fail "--version ended with $?"
    [[ $version =~ ^Velmora\ [0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "--version printed '$version'"
    out=$(env -u DISPLAY "$exe" --bogus 2>&1 >/dev/null) || status=$?
    [ "$status" -eq 2 ] && [[ $out == "usage: velmora [--show | "*" | --version]" ]] ||
        fail "--bogus: status $status, '$out'"
    echo "commands: --version printed '$version', --bogus a usage line and 2"

    export QT_QPA_PLATFORM=xcb
    trayer --edge top --align right --widthtype pixel --width 120 --heighttype pixel --height 24 &
    pids+=($!)
    start_velmora
    eventually shown "$tint" || fail "the program did not start"
    take_commands
    tell quit
    ends_with_0 "--quit"
    # A copy that started would still be running when the timeout ends it.
    tell quit
    hidden "$tint" || fail "a --quit with none running showed the tint"
    echo "commands: --quit ended the running copy with 0, and with none running started nothing"
}

weston() {
    if ! command -v weston >/dev/null || ! command -v Xwayland >/dev/null; then
        echo "commands: SKIPPED (weston): weston or Xwayland is not installed (tools/test-qt installs them)"
        exit 77
    fi
    local socket=velmora-test-$$
    command weston --backend=headless-backend.so --xwayland --socket="$socket" --idle-time=0 \
        --log="$work/weston.log" >/dev/null 2>&1 &
    pids+=($!)
    listening() { grep -q 'xserver listening on display :' "$work/weston.log" 2>/dev/null; }
    if ! eventually listening; then
        echo "commands: SKIPPED (weston): weston with XWayland did not start here:"
        sed 's/^/commands: weston said: /' "$work/weston.log" 2>/dev/null | tail -n 5 || true
        exit 77
    fi
    local display
    display=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$work/weston.log" | head -n1)
    # As a Wayland session hands it to a program: Qt left to choose.
    unset QT_QPA_PLATFORM
    export WAYLAND_DISPLAY=$socket DISPLAY=$display XDG_SESSION_TYPE=wayland
    echo "commands: weston runs headless, XWayland on $DISPLAY"

    start_velmora
    eventually shown "$tint" || fail "no tint through XWayland"
    eventually shown "$box" || fail "no box said there is no notification area"
    xdotool key --window "$(xdotool search --onlyvisible --name "$box" | head -n1)" Return 2>/dev/null || true
    eventually hidden "$box" || fail "Return did not dismiss the box"
    echo "commands: the tint showed through XWayland, and the box said once there is no notification area"
    take_commands
    tell toggle
    eventually hidden "$tint" || fail "--toggle left the tint"
    tell toggle
    eventually shown "$tint" || fail "--toggle did not bring the tint back"
    sleep 0.5
    hidden "$box" || fail "the box about the notification area came again"
    tell quit
    ends_with_0 "--quit"
    [ "$(grep -c 'running through XWayland' "$work/velmora.err")" -eq 1 ] ||
        fail "the log did not say once that it runs through XWayland"
    echo "commands: the commands were taken, the box not shown again, the log said XWayland once, --quit ended with 0"
}

"$mode"
echo "commands: passed ($mode)"
