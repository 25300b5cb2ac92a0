#!/usr/bin/env bash
# Start-up time: from launching the game to its title window shown (mapped and viewable) on a
# virtual X server, measured from outside the process; RUNS runs (default 5), the median printed.
# Usage: tools/measure_startup.sh [GAME_DIR] [RUNS]
#   GAME_DIR defaults to build/game; it is copied, so the runs write nothing into it.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
game_src=$(cd "${1:-$here/../build/game}" && pwd)
runs=${2:-5}

if [ -z "${QM_MEASURE_IN_XVFB:-}" ]; then
  QM_MEASURE_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24 -noreset" "$0" "$game_src" "$runs"
fi

work=$(mktemp -d /tmp/qm-startup.XXXXXX)
cp -r "$game_src" "$work/game"
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=xcb
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}

# One run; prints the milliseconds until the title window was viewable.
one_run() {
  local start pid shown="" now
  start=$(date +%s%N)
  "$work/game/quelmarin" >"$work/game.log" 2>&1 &
  pid=$!
  for _ in $(seq 1 2000); do
    if xdotool search --all --onlyvisible --pid "$pid" --name "Tellivar" >/dev/null 2>&1; then
      now=$(date +%s%N)
      shown=$(((now - start) / 1000000))
      break
    fi
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.005
  done
  # SIGKILL: the measurement is over, and nothing of the game's is worth waiting for.
  kill -KILL "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  [ -n "$shown" ] || { echo "the title window never appeared" >&2; cat "$work/game.log" >&2; return 1; }
  echo "$shown"
}

# A first run warms the page cache and the font cache, as any start after the first finds them.
one_run >/dev/null
times=()
for _ in $(seq 1 "$runs"); do
  times+=("$(one_run)")
  sleep 0.5
done
sorted=$(printf '%s\n' "${times[@]}" | sort -n)
median=$(echo "$sorted" | sed -n "$(((runs + 1) / 2))p")
echo "start-up to title window: runs ${times[*]} ms; median $median ms"
