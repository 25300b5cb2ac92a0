#!/usr/bin/env bash
# How quiet the game keeps the machine when the player only watches: the real game under a virtual
# X server with SDL's dummy audio driver (which runs the mixer's callback as a sound card would),
# first on the title window, then in flight (a saved voyage continued, the log-on screen over, the
# hands off the pad). For each it prints the share of one core the game used and its wakeups a
# second: voluntary and involuntary context switches of all of the game's threads, read from
# /proc/<pid>/task/*/status, so a thread that polls shows however little work it does. A third
# scene flies the same way in full screen (F11) on a virtual screen of its own, 1920 x 1080.
# Usage: tools/measure_idle.sh [GAME_DIR] [SECONDS]   (SECONDS per scene, default 20)
#   GAME_DIR defaults to build/game; it is copied, so the run writes nothing into it.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
game_src=$(cd "${1:-$here/../build/game}" && pwd)
seconds=${2:-20}

if [ -z "${QM_MEASURE_IN_XVFB:-}" ]; then
  QM_MEASURE_IN_XVFB=window xvfb-run -a -s "-screen 0 1024x768x24 -noreset" \
    "$0" "$game_src" "$seconds"
  QM_MEASURE_IN_XVFB=full exec xvfb-run -a -s "-screen 0 1920x1080x24 -noreset" \
    "$0" "$game_src" "$seconds"
fi

work=$(mktemp -d /tmp/qm-idle.XXXXXX)
cp -r "$game_src" "$work/game"
export QT_QPA_PLATFORM=xcb
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
# The player's own window settings stay out of it.
export XDG_CONFIG_HOME="$work/config"

python3 "$here/../tests/e2e/saved_game.py" new "$work/game/dat/map.dat" "$work/game/dat/my.dat" \
  name=ﾃｽﾄ ship=ﾃｽﾄ

"$work/game/quelmarin" >"$work/game.log" 2>&1 &
pid=$!
cleanup() {
  kill -KILL "$pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

cpu_ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
# Context switches of every thread the game has now; threads that ended take theirs along, so
# the count is taken over a window in which the thread set stays the same.
switches() {
  cat /proc/"$pid"/task/*/status 2>/dev/null |
    awk '/^(voluntary|nonvoluntary)_ctxt_switches/ {n += $2} END {print n + 0}'
}
measure() {
  local name=$1 t0 s0 n0 t1 s1 n1 threads
  t0=$(date +%s%N)
  s0=$(cpu_ticks)
  n0=$(switches)
  sleep "$seconds"
  t1=$(date +%s%N)
  s1=$(cpu_ticks)
  n1=$(switches)
  threads=$(ls /proc/"$pid"/task | wc -l)
  awk -v name="$name" -v t="$((s1 - s0))" -v hz="$(getconf CLK_TCK)" -v ns="$((t1 - t0))" \
    -v n="$((n1 - n0))" -v threads="$threads" 'BEGIN {
      s = ns / 1e9
      printf "%-7s %5.2f %% of one core, %6.1f wakeups/s (%d threads, %.1f s)\n",
             name, 100 * t / hz / s, n / s, threads, s }'
}

source "$here/../tests/e2e/title_steps.sh"
title=$(qm_wait_window "$pid" "Tellivar")
[ -n "$title" ] || { echo "the title window never appeared"; cat "$work/game.log"; exit 1; }

if [ "$QM_MEASURE_IN_XVFB" = full ]; then
  win=$(qm_continue "$pid")
  [ -n "$win" ] || { echo "the voyage window never appeared"; cat "$work/game.log"; exit 1; }
  sleep 1
  xdotool windowfocus "$win" 2>/dev/null || true
  sleep 0.3
  xdotool key F11
  xdotool mousemove 1910 1070
  sleep 7  # the ship computer's log-on screen
  width=$(xwininfo -id "$win" | awk '/^ *Width:/ {print $2}')
  [ "$width" = 1920 ] || { echo "the voyage window did not fill the screen ($width wide)"; exit 1; }
  measure full
  exit 0
fi
# The pointer rests outside the windows, as a watching player's would.
xdotool mousemove 1000 760
sleep 3
measure title

win=$(qm_continue "$pid")
[ -n "$win" ] || { echo "the voyage window never appeared"; cat "$work/game.log"; exit 1; }
xdotool mousemove 1000 760
sleep 7  # the ship computer's log-on screen
measure flight
