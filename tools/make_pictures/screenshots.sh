#!/usr/bin/env bash
# Takes the README's screenshots from the real game under a virtual X server: the title with the
# colony ship crossing it; a new voyage in flight towards the first buoy with two troubles on
# the panel; the arrival there with its message page; and, after saving and continuing, the
# prologue roll. Each is cropped to the window's client area and kept small.
# Usage: screenshots.sh GAME_DIR OUT_DIR   (needs Xvfb, xdotool and ImageMagick, and a game built
# with -DQM_TEST_HOOKS=ON: the troubles and the roll are set going through its test hooks)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
game_src=$(cd "$1" && pwd)
out=$(mkdir -p "$2" && cd "$2" && pwd)

if [ -z "${QM_SHOTS_INSIDE_X:-}" ]; then
  export QM_SHOTS_INSIDE_X=1
  exec xvfb-run -a -s "-screen 0 1024x768x24 -noreset" "$0" "$game_src" "$out"
fi

source "$here/../../tests/e2e/title_steps.sh"
export QT_QPA_PLATFORM=xcb
# The game saves into its folder, so it runs on a copy, from a fresh voyage.
work=$(mktemp -d)
game="$work/game"
cp -r "$game_src" "$game"
rm -f "$game/dat/my.dat"

pid=""
# The game turns a plain kill into a quit request it may not get to; give it a moment, then end
# it for sure.
stop_game() {
  [ -n "$pid" ] || return 0
  kill "$pid" 2>/dev/null || true
  qm_wait_exit "$pid" || kill -9 "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  pid=""
}
trap 'stop_game; rm -rf "$work"' EXIT

start_game() {
  "$game/quelmarin" >>"$work/game.log" 2>&1 &
  pid=$!
}

# Crops the client area (w x h) of the window last given to qm_origin into a small PNG.
shot() {
  import -window root -crop "$1x$2+$wx+$wy" +repage "$work/raw.png"
  convert "$work/raw.png" -strip -define png:compression-level=9 "$out/$3.png"
  echo "$3.png: $(stat -c %s "$out/$3.png") bytes"
}

# The colour of one client pixel of the window last given to qm_origin, as #RRGGBB.
pixel() {
  import -window root -crop "1x1+$((wx + $1))+$((wy + $2))" +repage "$work/pixel.png"
  convert "$work/pixel.png" -format '#%[hex:p{0,0}]' info: | cut -c1-7
}

# --- The title, with the colony ship flying in from the left ---
# Two troubles make the flight show the trouble list and their repair buttons.
export QM_TEST_TROUBLES=3,9
start_game
title=$(qm_wait_window "$pid" "Tellivar")
[ -n "$title" ] || { echo "the title window never appeared"; cat "$work/game.log"; exit 1; }
qm_origin "$title"
sleep 1.1
shot 403 301 title

# --- In flight: a new voyage, past the log-on screen, thrusting towards the first buoy ---
qm_click 328 174
qm_answer "$pid" alt+y
qm_click 112 168
qm_type "ﾐﾗｲ"
qm_click 296 168
qm_type "ｸｴﾙﾏﾘﾝ"
qm_click 342 202
voyage=$(qm_wait_window "$pid" "号・船長")
[ -n "$voyage" ] || { echo "the voyage window never appeared"; exit 1; }
unset QM_TEST_TROUBLES
sleep 6
qm_origin "$voyage"
xdotool mousemove $((wx + 198)) $((wy + 318)) mousedown 1
sleep 0.7
shot 400 428 flight
xdotool mouseup 1

# --- The arrival: contact once the buoy is in reach, nudging closer until it answers ---
arrived=""
for attempt in 1 2 3 4 5 6; do
  sleep 0.6
  qm_click 298 322  # the contact button
  sleep 1.2
  # The message box's aqua frame now covers the panel's left edge.
  if [ "$(pixel 4 364)" = "#00FFFF" ]; then
    arrived=yes
    break
  fi
  xdotool mousemove $((wx + 198)) $((wy + 330)) mousedown 1
  sleep 0.2
  xdotool mouseup 1
done
[ -n "$arrived" ] || { echo "no arrival at the first buoy"; exit 1; }
# Wait for the typewriter to finish the page: the box stops changing.
box() { import -window root -crop "393x125+$((wx + 4))+$((wy + 304))" +repage "$work/$1.png"; }
box before
for _ in $(seq 1 30); do
  sleep 0.5
  box after
  if [ "$(compare -metric AE "$work/before.png" "$work/after.png" null: 2>&1 || true)" = "0" ]; then
    break
  fi
  mv "$work/after.png" "$work/before.png"
done
shot 400 428 arrival

# Save on the way out, so the next start can continue this voyage.
qm_close_and_answer "$pid" "$voyage" alt+y
ok_box=$(qm_wait_window "$pid" "QUELMARIN")
if [ -n "$ok_box" ]; then
  xdotool windowfocus "$ok_box" 2>/dev/null || true
  sleep 0.2
  xdotool key Return
fi
qm_wait_exit "$pid" || true
stop_game

# --- The prologue roll, its second line opening up over the view ---
export QM_TEST_STORY=prologue:101
start_game
voyage=$(qm_continue "$pid")
[ -n "$voyage" ] || { echo "CONTINUE did not open the voyage window"; exit 1; }
qm_origin "$voyage"
sleep 9
shot 400 428 story
stop_game
