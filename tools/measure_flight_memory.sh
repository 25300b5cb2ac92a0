#!/usr/bin/env bash
# Peak memory and CPU share of a flight: the real game under a virtual X server, a saved voyage
# continued through the title window, then a hand on the steering pad for DURATION (minutes, or
# seconds with an "s": 30s; default 10 minutes), re-gripping every few seconds at a new place and
# clicking any message away, as a restless player would. The saved voyage is a new one with a tank
# and a hold large enough for the whole flight: a new ship with this hand runs dry after about four
# minutes, and the rest would measure the end-of-voyage static rather than a flight. Prints GNU time's "Maximum resident set size" of the
# game process and the share of one core the game used while flying (from /proc, so the start-up
# is not counted).
# Usage: tools/measure_flight_memory.sh [GAME_DIR] [DURATION] [SHOT_DIR]
#   GAME_DIR defaults to build/game; it is copied, so the run writes nothing into it. With SHOT_DIR
#   a screenshot of the voyage window is kept there each minute, to see that the ship really flew.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
game_src=$(cd "${1:-$here/../build/game}" && pwd)
duration=${2:-10}
case "$duration" in
  *s) seconds=${duration%s} ;;
  *) seconds=$((duration * 60)) ;;
esac
shots=${3:-}
[ -z "$shots" ] || { mkdir -p "$shots" && shots=$(cd "$shots" && pwd); }

if [ -z "${QM_MEASURE_IN_XVFB:-}" ]; then
  QM_MEASURE_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24 -noreset" "$0" "$game_src" "$duration" "$shots"
fi

work=$(mktemp -d /tmp/qm-flight-memory.XXXXXX)
cp -r "$game_src" "$work/game"
export QT_QPA_PLATFORM=xcb
# The dummy driver runs the mixer's callback as a sound card would, without needing one.
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}

python3 "$here/../tests/e2e/saved_game.py" new "$work/game/dat/map.dat" "$work/game/dat/my.dat" \
  name=ﾃｽﾄ ship=ﾃｽﾄ energy=50000 energy_max=50000 resources=500 resources_max=500

/usr/bin/time -v -o "$work/time.txt" "$work/game/quelmarin" >"$work/game.log" 2>&1 &
time_pid=$!
cleanup() {
  [ -z "${pid:-}" ] || kill -KILL "$pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
# GNU time forks the game: find the game's own process id for the window searches.
pid=""
for _ in $(seq 1 100); do
  pid=$(pgrep -P "$time_pid" -x quelmarin || true)
  [ -n "$pid" ] && break
  sleep 0.1
done
[ -n "$pid" ] || { echo "the game did not start"; exit 1; }

source "$here/../tests/e2e/title_steps.sh"
win=$(qm_continue "$pid")
[ -n "$win" ] || { echo "the voyage window never appeared"; cat "$work/game.log"; exit 1; }
sleep 6  # the ship computer's log-on screen
qm_origin "$win"

# CPU ticks the game has used so far (user + system).
cpu_ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
ticks_start=$(cpu_ticks)
flight_start=$(date +%s%N)
end=$(($(date +%s) + seconds))
grips=0
while [ "$(date +%s)" -lt "$end" ]; do
  # Mostly forward, sometimes back, drifting to either side; now and then the right button.
  x=$((150 + RANDOM % 96))
  y=$((306 + RANDOM % 96))
  button=1
  [ $((RANDOM % 5)) -eq 0 ] && button=3
  xdotool mousemove $((wx + x)) $((wy + y)) mousedown $button
  sleep 2.5
  xdotool mouseup $button
  # The message box's corner when it is up; the status line's frame (the same click) when not.
  xdotool mousemove $((wx + 346)) $((wy + 411)) click 1
  sleep 0.3
  grips=$((grips + 1))
  if [ -n "$shots" ] && [ $((grips % 20)) -eq 0 ]; then
    import -window root -crop "400x430+$wx+$wy" +repage "$shots/flight_$((grips / 20)).png"
  fi
done

ticks_used=$(($(cpu_ticks) - ticks_start))
flight_ms=$((($(date +%s%N) - flight_start) / 1000000))
hz=$(getconf CLK_TCK)

# Close the voyage window and decline to save: the program ends and GNU time reports.
qm_close_window "$win"
qm_answer "$pid" alt+n || true
# A game that hangs on the way out is ended by force: the measurement is over.
qm_wait_exit "$pid" || kill -KILL "$pid"
wait "$time_pid" || true
rss=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$work/time.txt")
echo "flight of $seconds s, $grips grips on the pad: maximum resident set size $rss kB" \
  "($((rss / 1024)) MB)"
awk -v t="$ticks_used" -v hz="$hz" -v ms="$flight_ms" 'BEGIN {
  printf "CPU while flying: %.2f s in %.1f s = %.1f %% of one core\n", t / hz, ms / 1000, 100 * t / hz / (ms / 1000) }'
