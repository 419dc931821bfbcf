#!/usr/bin/env bash
# Hotkeys through the desktop's GlobalShortcuts portal: portal.sh <velmora>
#
# A Wayland session through XWayland (WAYLAND_DISPLAY set, Xvfb as the X server)
# with a stand-in portal on a private session bus: the program binds its keys
# with the stored triggers and takes the ones the desktop answers with, and the
# portal's Activated for the tint's key hides the tint and shows it again.
# Without the portal the keys stay grabbed.
set -euo pipefail

exe=$(realpath "$1")
here=$(dirname "$(realpath "$0")")
if [ "${2:-}" != --inside ]; then
    for tool in xvfb-run xdotool trayer dbus-daemon dbus-send; do
        command -v "$tool" >/dev/null || { echo "portal: $tool is missing (tools/test-qt installs it)"; exit 1; }
    done
    # Debian's own Python, which python3-dbus and python3-gi install into.
    /usr/bin/python3 -c 'import dbus, gi' 2>/dev/null || { echo "portal: python3-dbus or python3-gi is missing"; exit 1; }
    exec xvfb-run -a -s "-screen 0 1280x800x24 -noreset" "$0" "$exe" --inside
fi

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "portal: FAILED: $*"
    [ -f "$work/velmora.err" ] && sed 's/^/portal: velmora said: /' "$work/velmora.err"
    [ -f "$work/portal.err" ] && sed 's/^/portal: the stand-in said: /' "$work/portal.err"
    exit 1
}
eventually() {
    for _ in $(seq 200); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

export XDG_RUNTIME_DIR=$work/run XDG_CONFIG_HOME=$work/config
mkdir -p -m 700 "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME/velmora"
printf '[config]\ntint=" 1"\nhotkeytint=Ctrl+Shift+F9\n' >"$XDG_CONFIG_HOME/velmora/velmora.ini"

dbus-daemon --session --nofork --print-address=3 3>"$work/bus" 2>/dev/null &
pids+=($!)
eventually test -s "$work/bus" || fail "dbus-daemon did not start"
export DBUS_SESSION_BUS_ADDRESS
DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$work/bus")
/usr/bin/python3 "$here/portal_standin.py" "$work/portal.log" 2>"$work/portal.err" &
pids+=($!)
has_portal() {
    dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner \
        string:org.freedesktop.portal.Desktop 2>/dev/null | grep -q 'boolean true'
}
eventually has_portal || fail "the stand-in portal did not start"

trayer --edge top >/dev/null 2>&1 &
pids+=($!)
shown() { xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }
hidden() { ! shown "$1"; }
tint='^Velmora v1\.0$'
# As a Wayland session hands it over; no compositor runs, the program goes through X all the same.
export WAYLAND_DISPLAY=velmora-no-compositor-$$
unset QT_QPA_PLATFORM
"$exe" 2>"$work/velmora.err" &
velmora=$!
pids+=("$velmora")

eventually shown "$tint" || fail "no tint"
eventually grep -q '^bound$' "$work/portal.log" || fail "no shortcuts were bound through the portal"
grep -qx '1 CTRL+SHIFT+F9' "$work/portal.log" || fail "the tint's stored key was not asked for: $(cat "$work/portal.log")"
grep -qx '[0-9]* CTRL+ALT+r' "$work/portal.log" || fail "the ruler's key was not asked for: $(cat "$work/portal.log")"
echo "portal: the keys were bound with their stored triggers:" $(tr "\n" " " <"$work/portal.log")
# The triggers the desktop answered with, its own for the tint's key among them.
eventually grep -q '^Velmora: the desktop chose 1: Meta+F10; ' "$work/velmora.err" ||
    fail "the program did not take the desktop's triggers"
grep -q '^Velmora: the desktop chose .*: CTRL+ALT+r' "$work/velmora.err" || fail "the ruler's trigger was not taken"
echo "portal: $(grep -m1 '^Velmora: the desktop chose' "$work/velmora.err")"
activate() {
    dbus-send --session --print-reply --dest=org.freedesktop.portal.Desktop /org/freedesktop/portal/desktop \
        org.velmora.Test.Activate "string:$1" >/dev/null || fail "the stand-in did not take Activate"
}
activate 1
eventually hidden "$tint" || fail "the tint's shortcut activated left the tint"
activate 1
eventually shown "$tint" || fail "the tint's shortcut activated again did not bring the tint back"
echo "portal: the tint's shortcut activated hid the tint and showed it again"
kill "$velmora"
status=0
wait "$velmora" || status=$?
# SIGTERM is taken as a request to end.
[ "$status" -eq 0 ] || fail "velmora ended with $status on SIGTERM"
echo "portal: passed"
