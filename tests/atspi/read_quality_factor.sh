#!/usr/bin/env bash
# Starts Pendulab on a virtual display with the AT-SPI bridge on, opens the modelling dialog from the
# keyboard, and reads the quality factor through the accessibility tree, as a screen reader would.
# Usage (inside dbus-run-session): read_quality_factor.sh path/to/pendulab
set -u
exe=$1
here=$(dirname "$0")
# Our own virtual display: Xvfb picks a free number and tells it once it accepts clients.
number=$(mktemp)
Xvfb -displayfd 5 -screen 0 1600x900x24 -nolisten tcp 5>"$number" 2>/dev/null &
xvfb=$!
for _ in $(seq 1 100); do [ -s "$number" ] && break; sleep 0.1; done
[ -s "$number" ] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=:$(head -1 "$number")
# A loaded machine can take a while before the display takes clients: up to 30 s, then say so.
ready=
for _ in $(seq 1 300); do xdotool getdisplaygeometry >/dev/null 2>&1 && { ready=1; break; }; sleep 0.1; done
[ -n "$ready" ] || { echo "Xvfb on $DISPLAY did not accept clients within 30 s" >&2; kill $xvfb 2>/dev/null; exit 1; }
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
bus=$!
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 VIRTUALCARD_PACE=none LC_ALL=C
log=$(mktemp)
"$exe" >/dev/null 2>"$log" &
app=$!
trap 'kill $app $bus $xvfb 2>/dev/null' EXIT
# Wait for the main window, answering the about box whenever it is up (a loaded machine is slow).
visible() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1; }
main=
for _ in $(seq 1 240); do
  main=$(visible '^Pendulab$')
  [ -n "$main" ] && break
  about=$(visible 'propos de Pendulab')
  [ -n "$about" ] && xdotool windowfocus --sync "$about" key Return 2>/dev/null
  sleep 0.25
done
[ -n "$main" ] || { echo "the main window did not appear; the program said:" >&2; cat "$log" >&2; kill -0 $xvfb 2>/dev/null || echo "(Xvfb on $DISPLAY has gone)" >&2; exit 1; }
sleep 0.5
xdotool windowfocus --sync "$main" key alt+m
text=$(/usr/bin/python3 "$here/read_quality_factor.py" 30) || exit 1
echo "qlbl reads: $text"
[ "$text" = "Q= 12.25" ]
