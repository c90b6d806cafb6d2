#!/usr/bin/env bash
# The program's window under Wine, with the windows platform plugin on an X
# display: kvt10.exe from the portable folder, in English, opens a measurement
# file and shows its main window, and nothing else (no error box), at its
# first-start size. Saves a picture of the screen.
# usage: window_check.sh PORTABLE_FOLDER FILE.kvt SCREENSHOT.png
set -euo pipefail
portable=$(realpath "$1")
file=$(realpath "$2")
picture=$3
here=$(dirname "$(realpath "$0")")
source "$here/bare_prefix.sh"

# A copy of the folder of its own, so its settings (English) stay here.
cp -r "$portable" "$work/program"
printf '[Config]\r\nLangId=Eng\r\n' >"$work/program/KVT10.ini"
cp "$file" "$work/site.kvt"
wine "$work/program/kvt10.exe" "$(winpath "$work/site.kvt")" >"$work/program.log" 2>&1 &

window=$(timeout 60 xdotool search --sync --onlyvisible --name '^KVT-1\.0$' | head -1) \
  || fail "no main window within 60 s: $(cat "$work/program.log")"
sleep 3 # the tables and the chart are drawn
others=$(xdotool search --onlyvisible --name '.' | while read -r id; do
  name=$(xdotool getwindowname "$id" 2>/dev/null || true)
  [ "$id" = "$window" ] || [ -z "$name" ] || echo "$name"
done)
[ -z "$others" ] || fail "other windows are open: $others"
eval "$(xdotool getwindowgeometry --shell "$window")"
echo "window_check: main window ${WIDTH}x${HEIGHT}"
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$picture"
# A window that drew nothing is one colour.
[ "$(identify -format '%k' "$picture")" -gt 50 ] || fail "the window shows nothing ($picture)"
xdotool windowclose "$window" || true
echo "window_check: saved $picture"
