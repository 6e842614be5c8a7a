#!/usr/bin/env bash
# Takes screenshots of the real program under a virtual display: the about box, each page and the
# modelling dialog, after a (virtual card) acquisition. Usage: screenshot.sh path/to/pendulab outdir
set -euo pipefail
exe=${1:-build/bin/pendulab}
out=${2:-docs}
mkdir -p "$out"
command -v Xvfb >/dev/null && command -v xdotool >/dev/null && command -v import >/dev/null || {
  echo "screenshot.sh needs Xvfb, xdotool and ImageMagick (apt-get install xvfb xdotool imagemagick)" >&2; exit 1; }
display=:${SCREEN_DISPLAY:-97}
Xvfb "$display" -screen 0 1600x900x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $app $xvfb 2>/dev/null || true' EXIT
export DISPLAY=$display
sleep 1
VIRTUALCARD_PACE=none "$exe" &
app=$!
sleep 3
import -window root "$out/about.png"
xdotool key --window "$(xdotool search --onlyvisible --pid $app | tail -1)" Return 2>/dev/null || xdotool key Return
sleep 2
main=$(xdotool search --onlyvisible --name '^Pendulab$' | head -1)
focus() { xdotool windowfocus --sync "$main" 2>/dev/null || true; }
focus; xdotool key alt+l; sleep 3     # "&Lancer": one acquisition from the virtual card
focus; xdotool key alt+m; sleep 2     # "&Modélisation"
import -window root "$out/acquisition.png"
for page in derivative portrait energy; do
  focus; xdotool key ctrl+Tab; sleep 1
  import -window root "$out/$page.png"
done
echo "screenshots in $out"
