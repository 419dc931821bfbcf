#!/usr/bin/env bash
# The colour finder in the real program under Xvfb: `velmora --finder` opens it
# in the running copy; Escape closes it and changes nothing; a reader at the
# keyboard answers every choice with the arrow keys, and Return uses the colour
# found: red, green and blue stored as whole numbers, the strength, and the
# colour kept as a favourite; `velmora --quit` then ends the copy with 0.
set -euo pipefail

exe=$(realpath "$1")
name=finder
source "$(dirname "$0")/lib.sh"
if [ "${2:-}" != --inside ]; then
    needs xvfb-run xdotool trayer
    again_under_xvfb "$0" "$exe"
fi
begin_run

export QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=$work/run XDG_CONFIG_HOME=$work/config
mkdir -p -m 700 "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME/velmora"
ini=$XDG_CONFIG_HOME/velmora/velmora.ini
printf '[config]\nred=10\ngreen=20\nblue=30\n' >"$ini"

trayer --edge top --align right --widthtype pixel --width 120 --heighttype pixel --height 24 &
pids+=($!)
sleep 1
"$exe" &
velmora=$!
pids+=("$velmora")
finder_shown() { xdotool search --onlyvisible --name '^Velmora colour finder$' >/dev/null 2>&1; }
finder_gone() { ! finder_shown; }
stored() { sed -n "s/^$1=//p" "$ini"; }

eventually xdotool search --name '^Velmora is sponsored by :>$' >/dev/null || fail "Velmora did not start"
"$exe" --finder || fail "--finder ended with $?"
eventually finder_shown || fail "--finder did not open the finder in the running copy"
xdotool key Escape
eventually finder_gone || fail "Escape did not close the finder"
[ "$(stored red)" = 10 ] || fail "Escape changed the colour"

"$exe" --finder
eventually finder_shown || fail "the finder did not open again"
# A reader at the keyboard who likes the left side best, or sees no difference;
# the finder has the keyboard as it opens.
for i in $(seq 40); do
    xdotool key $([ $((i % 3)) -eq 0 ] && echo Down || echo Left)
    sleep 0.05
done
xdotool key Return
eventually finder_gone || fail "Use this colour (Return) did not close the finder"
for key in red green blue; do
    [[ "$(stored "$key")" =~ ^[0-9]+$ ]] || fail "$key is stored as '$(stored "$key")', not a whole number"
done
[ "$(stored red),$(stored green),$(stored blue)" != "10,20,30" ] || fail "the colour found was not stored"
[[ "$(stored alpha)" =~ ^\"?\ [0-9]+\"?$ ]] || fail "the strength is stored as '$(stored alpha)'"
[[ "$(stored favourite1)" =~ ^\"?[0-9]+,[0-9]+,[0-9]+,[0-9]+,Found\ colour\"?$ ]] ||
    fail "the colour was not kept as a favourite: '$(stored favourite1)'"

"$exe" --quit || fail "--quit ended with $?"
ends_with_0 "velmora --quit"
"$exe" --quit || fail "--quit with none running ended with $?"
echo "finder: passed"
