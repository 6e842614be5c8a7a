#!/usr/bin/env bash
# The real program on a virtual display: a recording, then SIGKILL; the next start offers the
# experiment back and restores it; SIGTERM keeps it for the start after; declined, it is gone, and
# a start after that asks nothing; an experiment named on the command line is opened. Usage: kill_and_restore.sh path/to/pendulab
set -u
exe=$1
home=$(mktemp -d)
export XDG_DATA_HOME=$home/data XDG_CONFIG_HOME=$home/config VIRTUALCARD_PACE=none LC_ALL=C
saves=$XDG_DATA_HOME/Pendulab
number=$(mktemp)
Xvfb -displayfd 5 -screen 0 1280x800x24 -nolisten tcp 5>"$number" 2>/dev/null &
xvfb=$!
# Xvfb is waited for: the next run may be given the same display number.
trap 'kill -9 ${app:-} 2>/dev/null; kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null; rm -rf "$home"' EXIT
for _ in $(seq 1 100); do [ -s "$number" ] && break; sleep 0.1; done
export DISPLAY=:$(head -1 "$number")
ready=
for _ in $(seq 1 300); do xdotool getdisplaygeometry >/dev/null 2>&1 && { ready=1; break; }; sleep 0.1; done
[ -n "$ready" ] || { echo "Xvfb on $DISPLAY did not accept clients within 30 s" >&2; exit 1; }
fail() { echo "FAIL: $*" >&2; echo "the program said:" >&2; cat "$home/stderr" >&2; exit 1; }
visible() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1; }
# Starts the program and answers the about box; prints nothing, sets $app.
start() {
  "$exe" "$@" >/dev/null 2>>"$home/stderr" &
  app=$!
  for _ in $(seq 1 240); do
    about=$(visible 'propos de Pendulab')
    [ -n "$about" ] && { xdotool windowfocus --sync "$about" key Return 2>/dev/null; break; }
    sleep 0.25
  done
}
# Waits up to $2 s for the restore question; answers with key $1 (none: fails if it comes).
question() {
  for _ in $(seq 1 $(( $2 * 4 ))); do
    box=$(visible '^Confirmation$')
    if [ -n "$box" ]; then
      [ "$1" = none ] && fail "the restore question came when nothing was left"
      xdotool windowfocus --sync "$box" key "$1"; return 0
    fi
    sleep 0.25
  done
  [ "$1" = none ] || fail "no restore question within $2 s"
}
autosaves() { ls "$saves"/autosave-*.pendulab 2>/dev/null; }
runs_in() { /usr/bin/python3 -c 'import json,sys; print(len(json.load(open(sys.argv[1]))["runs"]))' "$1"; }

start
for _ in $(seq 1 120); do main=$(visible '^Pendulab$'); [ -n "$main" ] && break; sleep 0.25; done
[ -n "${main:-}" ] || fail "no main window"
sleep 1
xdotool windowfocus --sync "$main" key alt+l
for _ in $(seq 1 120); do [ -n "$(autosaves)" ] && break; sleep 0.25; done
[ -n "$(autosaves)" ] || fail "no autosave after a recording"
kill -9 $app; wait $app 2>/dev/null
[ "$(runs_in "$(autosaves)")" = 1 ] || fail "the autosave does not hold the recording"

start
question alt+o 20                        # "Oui": restored
sleep 2
[ -z "$(autosaves)" ] || { ls -la "$saves"; fail "the restored autosave was left in place"; }
kill -TERM $app; wait $app
file=$(autosaves)
[ -n "$file" ] || fail "SIGTERM dropped the unsaved experiment"
[ "$(runs_in "$file")" = 1 ] || fail "the experiment kept by SIGTERM is not the restored one"
cp "$file" "$home/lab.pendulab"

start
question alt+n 20                        # "Non": dropped
sleep 1
[ -z "$(autosaves)" ] || fail "a declined autosave stays"
kill -TERM $app; wait $app

start
question none 4                          # nothing left: nothing asked
kill -TERM $app; wait $app
[ -z "$(autosaves)" ] || fail "an unchanged experiment left an autosave"

# As the file manager starts it: the named experiment's run, then a recording added to it.
start "$home/lab.pendulab"
question none 3
main=$(visible '^Pendulab$')
xdotool windowfocus --sync "$main" key alt+l
for _ in $(seq 1 120); do [ -n "$(autosaves)" ] && break; sleep 0.25; done
[ -n "$(autosaves)" ] || fail "no autosave after a recording added to the opened experiment"
[ "$(runs_in "$(autosaves)")" = 2 ] || fail "the experiment named at start was not opened"
kill -TERM $app; wait $app
cat "$home/stderr" >&2
echo "autosave: kept by SIGKILL and SIGTERM, restored once, gone when declined; a named experiment opened"
