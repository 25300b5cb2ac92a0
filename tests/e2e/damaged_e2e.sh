#!/usr/bin/env bash
# The real game with damaged files under a virtual X server. Each damage is one start that must
# reach the title, answering the error boxes the game shows (only where it names the failure),
# and go on into the voyage window, which must still be running a moment later:
#   dat/my.dat  a word where a number belongs (the box; CONTINUE closed, the title at its design
#               size; a new voyage then saves whole), noise, cut short, one endless line, empty,
#               a value changed behind the check value's back (CONTINUE closed, no box)
#   dat/map.dat cut short, a word where a number belongs (the box), noise, values no chart has
#               (a buoy of the largest size at the start, points outside space and of no kind)
#   WAVE files  every sound the opening plays, each damaged in its own way, on SDL's disk driver:
#               where the loader must refuse them the game stays silent through them and still
#               plays the chart's sound intact; where a lenient reader may play them it plays on
#   PCMMIX.INI  noise, and values far outside every range: the mixer still plays
# Usage: damaged_e2e.sh GAME_DIR OUT_DIR   (run inside xvfb-run, or with DISPLAY set)
set -euo pipefail
here=$(dirname "$0")
source "$here/play_steps.sh"
qm_begin "$1" "$2"
damage() { python3 "$here/damage.py" "$@"; }
saved="$game/dat/my.dat"
chart="$game/dat/map.dat"
cp "$chart" "$out/map.dat.whole"
fresh_save() { qm_saved_game new "$out/map.dat.whole" "$saved" name=ﾀﾞﾒ ship=ｷｽﾞ; }
title_width() { xwininfo -id "$title" | awk '/Width:/ {print $2}'; }
started=$SECONDS

# --- dat/my.dat ---
fresh_save
damage line "$saved" 9 "12ab"
qm_plays_on "my.dat with a word for the energy" new 1 my_word
[ -z "$title" ] || [ "$(title_width)" = 779 ] || fail "after the box the title took its playing size"
if [ -n "$voyage" ]; then
  qm_quit alt+y || fail "closing did not ask whether to save"
  qm_answer_notice my_word_saved || fail "the new voyage did not report its save"
  qm_wait_exit "$pid" || fail "the game did not end"
  qm_saved_game check "$saved" || fail "the new voyage did not replace the damaged my.dat whole"
fi
stop_game

damage garbage "$saved" 20000 1
qm_plays_on "my.dat of noise" either any my_noise
stop_game

fresh_save
damage cut "$saved" 0.3
qm_plays_on "my.dat cut short" continue 0
stop_game

damage longline "$saved" 3000000
qm_plays_on "my.dat of one endless line" continue 0
stop_game

: >"$saved"
qm_plays_on "an empty my.dat" continue 0
stop_game

fresh_save
damage line "$saved" 9 "150"
qm_plays_on "my.dat with the energy changed by hand" new 0
stop_game

# --- dat/map.dat ---
fresh_save
damage cut "$chart" 0.5
qm_plays_on "map.dat cut short" continue 0
stop_game

cp "$out/map.dat.whole" "$chart"
damage line "$chart" 6 "x1"
qm_plays_on "map.dat with a word for a kind" continue 1 map_word
stop_game

damage garbage "$chart" 60000 2
qm_plays_on "map.dat of noise" either any map_noise
stop_game

cp "$out/map.dat.whole" "$chart"
damage chart "$chart"
qm_plays_on "map.dat with impossible values" continue 0
if [ -n "$voyage" ]; then
  # The buoy of the largest size stands in the start sector: the frames still come after the
  # log-on screen, the readouts blinking.
  # The position readout is left out every fourth frame. Looks at uneven intervals (a steady one
  # could keep meeting the same frames of the four) catch it gone, unless the frames have stopped.
  qm_origin "$voyage"
  sleep 5
  changed=0
  shot 100 28 220 24 huge_buoy_1
  for look in $(seq 2 40); do
    sleep "0.0$((RANDOM % 10))"
    shot 100 28 220 24 "huge_buoy_$look"
    if [ "$(differ huge_buoy_1 "huge_buoy_$look")" -gt 20 ]; then
      changed=1
      break
    fi
  done
  [ $changed -eq 1 ] || fail "the view stood still before the huge buoy"
  alive || fail "the game died before the huge buoy"
fi
stop_game
cp "$out/map.dat.whole" "$chart"

# --- WAVE files, heard through SDL's disk driver ---
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$out/sound.raw"
heard_from() {
  python3 -c "
import sys
f = open(sys.argv[1], 'rb'); f.seek(int(sys.argv[2])); d = f.read()
print('silence' if d.strip(b'\x80') == b'' else 'sound')" "$SDL_DISKAUDIOFILE" "$1"
}
size_of() { stat -c %s "$SDL_DISKAUDIOFILE" 2>/dev/null || echo 0; }
# Plays the chart's sound, intact, on a voyage window that has been open for its log-on screen;
# true when the mixer sent anything but silence within 3 s.
chart_heard() {
  local before
  before=$(size_of)
  qm_origin "$voyage"
  qm_click 350 358
  for _ in $(seq 1 15); do
    [ "$(heard_from "$before")" = sound ] && return 0
    sleep 0.2
  done
  return 1
}
mkdir -p "$out/waves"
cp "$game"/dat/*.wav "$out/waves/"
opening_sounds=({0..18}.wav 1.wav log.wav logon.wav e.wav e2.wav pi.wav check.wav on.wav)
# Sounds the loader must refuse: not a sound of the opening may be heard, and afterwards the
# chart's own sound still plays.
damage waves refused "$game/dat" "${opening_sounds[@]}"
fresh_save
qm_plays_on "sounds the loader refuses" continue 0
if [ -n "$voyage" ]; then
  qm_origin "$voyage"
  for _ in 1 2 3; do
    xdotool mousemove $((wx + 198)) $((wy + 354)) mousedown 1 sleep 0.2 mouseup 1
  done
  qm_click 298 322 # contact, with nothing in reach
  sleep 4.5
  [ "$(size_of)" -gt 0 ] || fail "the mixer never opened SDL's disk driver"
  [ "$(heard_from 0)" = silence ] || fail "a sound the loader should refuse was heard"
  chart_heard || fail "after the refused sounds the chart's sound was not heard"
  alive || fail "the game died among the refused sounds"
fi
stop_game
# Damage that may play: the game plays on through it.
damage waves odd "$game/dat" "${opening_sounds[@]}"
qm_plays_on "sounds damaged in ways that may play" continue 0
if [ -n "$voyage" ]; then
  qm_origin "$voyage"
  for _ in 1 2 3; do
    xdotool mousemove $((wx + 198)) $((wy + 354)) mousedown 1 sleep 0.2 mouseup 1
  done
  qm_click 298 322
  sleep 4.5
  qm_click 350 358
  sleep 0.5
  alive || fail "the game died among the odd sounds"
fi
stop_game
cp "$out"/waves/*.wav "$game/dat/"

# --- PCMMIX.INI ---
for kind in garbage extremes; do
  damage ini "$XDG_CONFIG_HOME/PCMMIX.INI" $kind
  rm -f "$SDL_DISKAUDIOFILE"
  qm_plays_on "PCMMIX.INI of $kind" continue 0
  if [ -n "$voyage" ]; then
    sleep 4.5
    chart_heard || fail "with PCMMIX.INI of $kind the chart's sound was not heard"
  fi
  stop_game
done
rm -f "$SDL_DISKAUDIOFILE"

echo "damaged files played through in $((SECONDS - started)) s"
qm_report damaged_e2e
