#!/usr/bin/env bash
# The resource panel of the real game under a virtual X server: a saved voyage with half its
# energy spent is continued, the plate under the resources label starts the engine booster for 2t
# (its countdown shows over the view), and the converter trades half of what is left for energy
# (the gauge grows). Quitting with Yes records both; the converter then refuses when one resource
# is all there is. Screenshots are kept for a person to look at.
# Usage: panel_e2e.sh GAME_DIR OUT_DIR   (run inside xvfb-run, or with DISPLAY set)
set -euo pipefail
here=$(dirname "$0")
source "$here/play_steps.sh"
qm_begin "$1" "$2"
saved="$game/dat/my.dat"
qm_saved_game new "$game/dat/map.dat" "$saved" name=ﾊﾙ ship=ｶｲ energy=100 resources=7

# Green of the booster countdown in the band of the view it is written in; the countdown skips
# one frame in five, so the band is looked at three times.
booster_green() {
  local most=0 n
  for i in 1 2 3; do
    shot 110 246 180 22 "booster_$i"
    n=$(count "booster_$i" '#00FF00')
    [ "$n" -gt "$most" ] && most=$n
    sleep 0.15
  done
  echo "$most"
}
gauge() {
  shot 9 310 130 8 "$1"
  count "$1" '#00FFFF'
}

start_game
voyage=$(qm_continue "$pid")
[ -n "$voyage" ] || { fail "CONTINUE did not open the voyage window"; cat "$out/game.log"; exit 1; }
sleep 0.5
qm_origin "$voyage"
sleep 5 # the log-on screen
half=$(gauge gauge_half)
before=$(booster_green)
echo "energy 100/200: gauge $half px; booster band before: $before px green"
[ "$half" -ge 400 ] && [ "$half" -le 600 ] || fail "the gauge does not stand at half"

# --- The booster ---
qm_click 324 390
qm_answer "$pid" alt+y || fail "the booster did not ask"
sleep 0.3
shot 0 0 400 428 booster
during=$(booster_green)
echo "booster band while it runs: $during px green"
[ "$during" -ge 40 ] && [ "$during" -gt $((before + 30)) ] || fail "no booster countdown over the view"

# --- The converter: 5t left, so 2t for 40E ---
qm_click 277 359
qm_answer "$pid" alt+y || fail "the converter did not ask"
sleep 0.5
grown=$(gauge gauge_grown)
echo "energy 140/200: gauge $grown px"
[ "$grown" -ge $((half * 13 / 10)) ] || fail "the converter did not fill the gauge"

qm_quit alt+y || fail "closing did not ask whether to save"
qm_answer_notice quit_saved || fail "quitting with Yes did not report the save"
qm_wait_exit "$pid" || fail "the game did not end"
pid=""
if qm_saved_game check "$saved"; then
  energy=$(qm_saved_game get "$saved" energy)
  resources=$(qm_saved_game get "$saved" resources)
  echo "saved: energy $energy, resources $resources"
  [ "$energy" = 140 ] || fail "energy $energy after the converter, not 100 + 40"
  [ "$resources" = 3 ] || fail "resources $resources, not 7 - 2 (booster) - 2 (converter)"
else
  fail "quitting with Yes wrote no whole dat/my.dat"
fi

# --- One resource is not enough to convert ---
qm_saved_game new "$game/dat/map.dat" "$saved" name=ﾊﾙ ship=ｶｲ energy=100 resources=1
cp "$saved" "$out/one_resource.dat"
start_game
voyage=$(qm_continue "$pid")
[ -n "$voyage" ] || { fail "CONTINUE did not open the voyage window again"; exit 1; }
sleep 0.5
qm_origin "$voyage"
qm_click 277 359
qm_answer_notice refused || fail "the converter did not refuse with one resource"
qm_is_error_box refused && fail "the refusal came as an error"
qm_quit alt+n || fail "closing did not ask whether to save"
qm_wait_exit "$pid" || fail "the game did not end"
pid=""
cmp -s "$saved" "$out/one_resource.dat" || fail "quitting without saving changed dat/my.dat"

qm_report panel_e2e
