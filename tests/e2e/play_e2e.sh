#!/usr/bin/env bash
# A first voyage played through the real game under a virtual X server, the way a new player meets
# it: a new game from the title, a nudge on the pad that sets the ship drifting towards the buoy at
# the start, contact once the buoy stands within reach, the arrival pages read to the end, the save
# point, and quitting without saving (dat/my.dat stays as the save point left it, byte for byte).
# Started again, CONTINUE brings the voyage back, the chart lists the buoy just visited and the one
# it revealed, and quitting with Yes records the voyage again with every value as it was.
# Screenshots are kept for a person to look at.
# Usage: play_e2e.sh GAME_DIR OUT_DIR   (run inside xvfb-run, or with DISPLAY set; with
#        QM_GAME_EXE=/usr/bin/quelmarin and GAME_DIR its data folder, the installed game is played)
set -euo pipefail
here=$(dirname "$0")
source "$here/play_steps.sh"
qm_begin "$1" "$2"
saved="$player/dat/my.dat"

# --- A new voyage ---
start_game
voyage=$(qm_new_voyage "$pid" "ミナ" "ソラ")
[ -n "$voyage" ] || { fail "NEW GAME did not open the voyage window"; cat "$out/game.log"; exit 1; }
shown=$(date +%s.%N)
[ "$(xdotool getwindowname "$voyage")" = "ソラ号・船長ミナ" ] || fail "the caption lacks the names"
sleep 0.5
qm_origin "$voyage"
now_since() { python3 -c "import time; print(time.time() - $1)"; }

# A touch just above the middle of the pad adds 1 to the forward speed in each frame it is held;
# let go, the speed damps back to 1 and stays there, and the ship drifts ahead one unit a frame.
# The log-on screen does not hold the pad back.
xdotool mousemove $((wx + 198)) $((wy + 349)) mousedown 1
sleep 0.35
shot 148 304 100 100 pad_held
xdotool mouseup 1
released=$(date +%s.%N)
sleep 0.5
shot 0 0 400 300 logon
[ "$(count logon '#00FF00')" -ge 60000 ] || fail "no green log-on screen"
# The log-on screen lasts 45 frames: how long it takes here tells the frame rate.
for _ in $(seq 1 60); do
  shot 0 0 400 428 instruments
  [ "$(count instruments '#00FF00')" -lt 20000 ] && break
  sleep 0.25
done
[ "$(count instruments '#00FF00')" -lt 20000 ] || fail "the instruments did not take over"
logon_seconds=$(now_since "$shown")
echo "log-on screen: $logon_seconds s"
# The energy gauge stands full at the start: aqua along its whole 130 pixels.
shot 9 310 130 8 gauge_full
[ "$(count gauge_full '#00FFFF')" -ge 900 ] || fail "the energy gauge is not full at the start"

# The buoy stands at the centre of the start sector; contact reaches it from 75 to 180 units
# short of it. Drifting from about 10, the ship is there after some 65 frames and leaves after
# some 170: contact comes after 115, at the frame rate the log-on screen showed.
wait_for=$(python3 -c "print(115 * max($logon_seconds, 4.6) / 46)")
until python3 -c "import sys,time; sys.exit(time.time() - $released < $wait_for)"; do sleep 0.1; done
shot 0 0 400 300 buoy_ahead
qm_click 298 322 # contact
qm_await_box 40 || fail "contact did not bring the arrival pages"
shot 0 0 400 428 arrival
clicks=$(qm_read_box) || fail "the arrival pages would not close"
echo "arrival: the box closed after $clicks clicks"
[ "${clicks:-0}" -ge 6 ] || fail "the arrival had fewer pages than a first buoy gives"
shot 0 0 400 428 after_arrival

# --- The save point: one resource for a record of the voyage ---
qm_click 372 321
qm_answer "$pid" alt+y || fail "the save point did not ask"
qm_answer_notice save_done || fail "the save point did not report"
qm_is_error_box save_done && fail "the save point reported an error"
if [ -f "$saved" ] && qm_saved_game check "$saved"; then
  for pair in name=ミナ ship=ソラ voyage_days=1 point_state.0=2 point_state.1=1 resources=7 \
    resources_max=8 energy=200 hull=10 story_stage=1 sector_x=0 sector_z=0; do
    value=$(qm_saved_game get "$saved" "${pair%%=*}")
    [ "$value" = "${pair#*=}" ] || fail "the save point wrote ${pair%%=*} $value, not ${pair#*=}"
  done
  # The names are written as the game holds them, in CP932, byte for byte.
  [ "$(head -n 1 "$saved" | od -An -tx1 | tr -d ' \n')" = "837e83690d0a" ] ||
    fail "the commander's name is not CP932 ミナ"
  LC_ALL=C grep -qF "$(printf '\x83\x5c\x83\x89')" "$player/航海日誌.txt" 2>/dev/null ||
    fail "the voyage log does not name the ship"
else
  fail "the save point wrote no whole dat/my.dat"
fi
cp "$saved" "$out/saved_at_point.dat" 2>/dev/null || true

# --- Quitting without saving ---
qm_quit alt+n || fail "closing did not ask whether to save"
qm_wait_exit "$pid" || fail "the game did not end after No"
pid=""
cmp -s "$saved" "$out/saved_at_point.dat" || fail "quitting without saving changed dat/my.dat"

# --- CONTINUE ---
start_game
voyage=$(qm_continue "$pid")
if [ -n "$voyage" ]; then
  [ "$(xdotool getwindowname "$voyage")" = "ソラ号・船長ミナ" ] || fail "CONTINUE lost the names"
  sleep 0.5
  qm_origin "$voyage"
  sleep 5
  shot 0 0 400 300 continued
  [ "$(count continued '#008000')" -lt 300 ] || fail "a chart is drawn before it was asked for"

  # --- The chart: the listing page in the box, the chart over the view ---
  qm_click 350 358
  qm_await_box 20 || fail "the chart did not open its listing"
  sleep 0.3
  shot 0 0 400 428 chart
  grid=$(count chart '#008000')
  echo "chart: $grid px of grid"
  [ "$grid" -ge 2000 ] || fail "the chart is not drawn over the view"
  clicks=$(qm_read_box) || fail "the listing would not close"
  # Two lines make one page: one click shows it whole, the next closes it.
  [ "${clicks:-0}" -le 2 ] || fail "the listing of two points took $clicks clicks"
  sleep 0.3
  shot 0 0 400 300 chart_closed
  [ "$(count chart_closed '#008000')" -lt 300 ] || fail "the chart stayed after the box closed"

  # --- Quitting with saving: the voyage as it was continued ---
  qm_quit alt+y || fail "closing did not ask whether to save"
  qm_answer_notice quit_saved || fail "quitting with Yes did not report the save"
  qm_wait_exit "$pid" || fail "the game did not end after Yes"
  pid=""
  if qm_saved_game check "$saved"; then
    qm_saved_game same "$saved" "$out/saved_at_point.dat" name ship voyage_days energy hull \
      resources resources_max energy_max hull_max story_stage sector_x sector_y sector_z \
      $(seq -f 'point_state.%g' 0 399) || fail "CONTINUE did not bring every value back"
  else
    fail "quitting with Yes wrote no whole dat/my.dat"
  fi
else
  fail "CONTINUE did not open the voyage window"
fi

qm_report play_e2e
