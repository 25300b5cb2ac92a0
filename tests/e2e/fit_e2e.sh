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
qm_full_screen "$voyage"

# --- The window fills the screen's height ---
qm_window_size "$voyage"
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
[ "$(count bottom_row '#949494')" -ge 10 ] || fail "the window's last row is not the screen's"
[ "$(count left_column '#949494')" -ge 100 ] || fail "the window's left column is not at $fit_x"
[ "$(count right_column '#949494')" -ge 100 ] ||
  fail "the window's right column is not at $((fit_x + fit_w - 1))"

# --- The pad, the contact button and the message box by mouse ---
if qm_fit_fly_to_contact "$shown"; then
  echo "log-on screen: $logon_green of $view_area px green, $logon_seconds s"
  qm_screen_shot "$fit_x" "$fit_y" "$fit_w" "$fit_h" arrival
  clicks=$(qm_fit_read_box) || fail "the arrival pages would not close"
  echo "arrival: the box closed after $clicks clicks"
  [ "${clicks:-0}" -ge 6 ] || fail "the arrival had fewer pages than a first buoy gives"
  qm_screen_shot "$fit_x" "$fit_y" "$fit_w" "$fit_h" after_arrival
else
  echo "log-on screen: $logon_green of $view_area px green, $logon_seconds s"
  [ "$logon_green" -ge $((view_area / 2)) ] || fail "no green log-on screen in the enlarged view"
  fail "contact in the enlarged window did not bring the arrival pages"
fi

# --- F11 again: back to the window's own size; full screen was remembered as left ---
xdotool key F11
sleep 0.5
qm_window_size "$voyage"
[ "$width" = 400 ] && [ "$height" = 428 ] || fail "leaving full screen gave ${width} x ${height}"
grep -q '^full_screen=false' "$out/config/quelmarin/window.ini" || fail "window.ini did not follow"

qm_report fit_e2e
