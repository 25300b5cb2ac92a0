#!/usr/bin/env bash
# Takes the README's "First voyage" screenshots from the real game under a virtual X server,
# flown from the keyboard on a fresh voyage: the first buoy ahead within contact reach; the
# contact and the arrival page it brings; and the same buoy rammed (red view, the pad let go, a
# trouble lit on the panel). Each is the voyage window's client area.
# Usage: first_voyage_shots.sh GAME_DIR OUT_DIR   (needs Xvfb, xdotool and ImageMagick)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
game_src=$(cd "$1" && pwd)
out=$(mkdir -p "$2" && cd "$2" && pwd)

if [ -z "${QM_SHOTS_INSIDE_X:-}" ]; then
  export QM_SHOTS_INSIDE_X=1
  exec xvfb-run -a -s "-screen 0 1024x768x24 -noreset" "$0" "$game_src" "$out"
fi

source "$here/../../tests/e2e/title_steps.sh"
export QT_QPA_PLATFORM=xcb SDL_AUDIODRIVER=dummy
work=$(mktemp -d)
export XDG_CONFIG_HOME="$work/config"
game="$work/game"
cp -r "$game_src" "$game"
pid=""
stop_game() {
  [ -n "$pid" ] || return 0
  kill -9 "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  pid=""
}
trap 'stop_game; rm -rf "$work"' EXIT

# A fresh voyage continued from a saved game, the log-on screen over.
fly() {
  python3 "$here/../../tests/e2e/saved_game.py" new "$game/dat/map.dat" "$game/dat/my.dat" \
    name=ﾃｽﾄ ship=ﾐﾗｲ
  "$game/quelmarin" >>"$work/game.log" 2>&1 &
  pid=$!
  win=$(qm_continue "$pid")
  [ -n "$win" ] || { echo "no voyage window"; exit 1; }
  sleep 6.5
  qm_origin "$win"
  xdotool windowfocus "$win"
  sleep 0.3
}
shot() { import -window root -crop "400x428+$wx+$wy" +repage "$out/$1"; }

fly
# Up for a moment: the ship gathers speed towards the buoy ahead, then drifts on.
xdotool keydown Up
sleep 0.5
xdotool keyup Up
sleep 1.2
shot voyage_reach.png
xdotool key c
sleep 2.5
shot voyage_contact.png
stop_game

fly
# Holding on: the ship runs into the buoy.
xdotool keydown Up
sleep 2.2
shot voyage_ram.png
xdotool keyup Up
stop_game
