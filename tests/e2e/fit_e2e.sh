#!/usr/bin/env bash
# Full screen on a 1366 x 768 laptop screen, where no whole factor above 1 fits the voyage window:
# F11 shows it at the largest factor that fits, its height filled (718 x 768), centred on black,
# and the mouse works on the enlarged window: a nudge on the pad sets the ship drifting towards
# the buoy at the start, the contact button brings the arrival pages once the buoy is within
# reach, and clicks on the message box turn them to the end. The run makes a virtual X server of
# its own with that screen; screenshots are kept for a person to look at.
# Usage: fit_e2e.sh GAME_DIR OUT_DIR
set -euo pipefail
here=$(dirname "$0")
source "$here/title_steps.sh"
source "$here/play_steps.sh"
source "$here/screen_steps.sh"
out=$2
qm_fresh_copy "$1"
export QT_QPA_PLATFORM=xcb
# The player's own window settings stay out of it; the run's are looked at afterwards.
export XDG_CONFIG_HOME="$out/config"
trap 'qm_cleanup; qm_own_screen_stop' EXIT
qm_own_screen 1366x768
qm_hold_display
qm_saved_game new "$game/dat/map.dat" "$player/dat/my.dat" name=ﾐﾅ ship=ｿﾗ

start_game
voyage=$(qm_continue "$pid")
[ -n "$voyage" ] || { fail "CONTINUE did not open the voyage window"; cat "$out/game.log"; exit 1; }
shown=$(date +%s.%N)
sleep 0.5
xdotool windowfocus "$voyage" 2>/dev/null || true
sleep 0.2
xdotool key F11
sleep 0.8

# --- The window fills the screen's height ---
read -r width height < <(xwininfo -id "$voyage" | awk '/^ *Width:/ {w = $2} /^ *Height:/ {h = $2} END {print w, h}')
echo "voyage window: ${width} x ${height}"
[ "$width" = 1366 ] && [ "$height" = 768 ] || fail "full screen did not cover the 1366 x 768 screen"
qm_fit_place 400 428 1366 768
echo "shown at ${fit_w} x ${fit_h} from (${fit_x}, ${fit_y}), factor ${fit_factor}"
[ "$fit_h" = 768 ] && [ "$fit_w" = 718 ] || fail "the fit is not 718 x 768"
import -window root "$out/full_screen.png"
# Black beside the window; the window's own first and last rows and columns lit.
qm_screen_shot 0 0 "$fit_x" 768 left_border
qm_screen_shot $((fit_x + fit_w)) 0 $((1366 - fit_x - fit_w)) 768 right_border
[ "$(qm_lit left_border)" -eq 0 ] || fail "the left border is not black"
[ "$(qm_lit right_border)" -eq 0 ] || fail "the right border is not black"
qm_screen_shot "$fit_x" 767 "$fit_w" 1 bottom_row
qm_screen_shot "$fit_x" 0 1 768 left_column
qm_screen_shot $((fit_x + fit_w - 1)) 0 1 768 right_column
# The grey of the window around the panel runs along its bottom row and down both sides.
[ "$(count bottom_row '#949494')" -ge 10 ] || fail "the window's bottom row is not on the screen's last"
[ "$(count left_column '#949494')" -ge 100 ] || fail "the window's left column is not at $fit_x"
[ "$(count right_column '#949494')" -ge 100 ] || fail "the window's right column is not at $((fit_x + fit_w - 1))"

# --- The view and the message box in the enlarged window ---
view_green() {
  qm_fit_point 0 0
  local x0=$px y0=$py
  qm_fit_point 400 300
  qm_screen_shot "$x0" "$y0" $((px - x0)) $((py - y0)) "$1"
  count "$1" '#00FF00'
}

# A touch just above the middle of the pad adds to the forward speed in each frame it is held;
# let go, the ship drifts ahead one unit a frame (as in play_e2e).
qm_fit_point 198 349
xdotool mousemove "$px" "$py" mousedown 1
sleep 0.35
xdotool mouseup 1
released=$(date +%s.%N)
sleep 0.5
logon=$(view_green logon)
echo "log-on screen: $logon px green"
[ "$logon" -ge 100000 ] || fail "no green log-on screen in the enlarged view"
for _ in $(seq 1 60); do
  [ "$(view_green instruments)" -lt 60000 ] && break
  sleep 0.25
done
logon_seconds=$(python3 -c "import time; print(time.time() - $shown)")
echo "log-on screen: $logon_seconds s"

# Contact reaches the buoy from some 65 frames of drifting to some 170: at 115 frames, at the
# frame rate the log-on screen showed, it is within reach.
wait_for=$(python3 -c "print(115 * max($logon_seconds, 4.6) / 46)")
until python3 -c "import sys,time; sys.exit(time.time() - $released < $wait_for)"; do sleep 0.1; done
qm_screen_shot "$fit_x" "$fit_y" "$fit_w" "$fit_h" buoy_ahead
qm_fit_click 298 322 # contact
for _ in $(seq 1 40); do
  qm_fit_box_shown && break
  sleep 0.1
done
if qm_fit_box_shown; then
  qm_screen_shot "$fit_x" "$fit_y" "$fit_w" "$fit_h" arrival
  clicks=0
  while qm_fit_box_shown && [ $clicks -lt 60 ]; do
    qm_fit_click 200 380
    clicks=$((clicks + 1))
  done
  echo "arrival: the box closed after $clicks clicks"
  qm_fit_box_shown && fail "the arrival pages would not close"
  [ "$clicks" -ge 6 ] || fail "the arrival had fewer pages than a first buoy gives"
  qm_screen_shot "$fit_x" "$fit_y" "$fit_w" "$fit_h" after_arrival
else
  fail "contact in the enlarged window did not bring the arrival pages"
fi

# --- F11 again: back to the window's own size; full screen was remembered as left ---
xdotool key F11
sleep 0.5
read -r width height < <(xwininfo -id "$voyage" | awk '/^ *Width:/ {w = $2} /^ *Height:/ {h = $2} END {print w, h}')
[ "$width" = 400 ] && [ "$height" = 428 ] || fail "leaving full screen gave ${width} x ${height}"
grep -q '^full_screen=false' "$out/config/quelmarin/window.ini" || fail "window.ini did not follow"

qm_report fit_e2e
