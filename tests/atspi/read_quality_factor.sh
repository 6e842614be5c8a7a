#!/usr/bin/env bash
# Starts Pendulab on a virtual display with the AT-SPI bridge on, opens the modelling dialog from the
# keyboard, and reads the quality factor through the accessibility tree, as a screen reader would.
# Usage (inside xvfb-run and dbus-run-session): read_quality_factor.sh path/to/pendulab
set -u
exe=$1
here=$(dirname "$0")
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
bus=$!
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 VIRTUALCARD_PACE=none LC_ALL=C
"$exe" >/dev/null 2>&1 &
app=$!
trap 'kill $app $bus 2>/dev/null' EXIT
window() { for _ in $(seq 1 40); do w=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1); [ -n "$w" ] && { echo "$w"; return; }; sleep 0.25; done; }
about=$(window 'propos de Pendulab')
[ -n "$about" ] && xdotool windowfocus --sync "$about" key Return
main=$(window '^Pendulab$')
[ -n "$main" ] || { echo "the main window did not appear" >&2; exit 1; }
sleep 0.5
xdotool windowfocus --sync "$main" key alt+m
text=$(/usr/bin/python3 "$here/read_quality_factor.py" 30) || exit 1
echo "qlbl reads: $text"
[ "$text" = "Q= 12.25" ]
