#!/usr/bin/env bash
# The pause and the loudness in the real game under a virtual X server, with SDL's disk driver
# for a sound card (it writes what the game sends to the speakers, in real time):
# - P stops a ship in full flight: the view stands still, says so in the middle, and P again
#   sets it streaming;
# - the typewriter's beeps already queued stop at the sound card while paused (only silence is
#   written) and go on afterwards;
# - [ three times turns the effects down to 70 %, which the beeps of the listing typed again
#   are, and the player's settings keep it.
# Usage: pause_e2e.sh GAME_DIR OUT_DIR   (run inside xvfb-run, or with DISPLAY set)
set -euo pipefail
here=$(dirname "$0")
source "$here/title_steps.sh"
source "$here/play_steps.sh"
out=$2
qm_fresh_copy "$1"
export QT_QPA_PLATFORM=xcb
mkdir -p "$out/config"
export XDG_CONFIG_HOME="$out/config"
export SDL_AUDIODRIVER=disk
export SDL_DISKAUDIOFILE="$out/sound.raw"
unset SDL_DISKAUDIODELAY
trap qm_cleanup EXIT
qm_hold_display
qm_saved_game new "$game/dat/map.dat" "$game/dat/my.dat" name=ﾊﾙ ship=ｶｲ

size_of() { stat -c %s "$SDL_DISKAUDIOFILE" 2>/dev/null || echo 0; }
# The largest distance from silence (128) among the bytes from $1 up to $2.
swing() {
  python3 -c "
import sys
f = open(sys.argv[1], 'rb'); f.seek(int(sys.argv[2])); d = f.read(int(sys.argv[3]) - int(sys.argv[2]))
print(max([abs(b - 128) for b in d] or [0]))" "$SDL_DISKAUDIOFILE" "$1" "$2"
}
key() {
  xdotool windowfocus "$voyage" 2>/dev/null || true
  xdotool key "$1"
}

start_game
voyage=$(qm_continue "$pid")
[ -n "$voyage" ] || { fail "CONTINUE did not open the voyage window"; cat "$out/game.log"; exit 1; }
sleep 0.5
qm_origin "$voyage"
sleep 5 # the log-on screen

# --- Flying backwards, away from the buoy, paused and going on ---
xdotool windowfocus "$voyage" 2>/dev/null || true
xdotool keydown Down
sleep 0.6
shot 0 0 400 300 flying_a
sleep 0.3
shot 0 0 400 300 flying_b
key p
sleep 0.4
shot 0 0 400 300 paused_a
sleep 0.8
shot 0 0 400 300 paused_b
shot 120 132 160 36 paused_plate
key p
sleep 0.4
shot 0 0 400 300 going_a
sleep 0.3
shot 0 0 400 300 going_b
xdotool keyup Down
flying=$(differ flying_a flying_b)
paused=$(differ paused_a paused_b)
going=$(differ going_a going_b)
plate=$(count paused_plate '#00FFFF')
echo "view changed: flying $flying px, paused $paused px, going on $going px; pause plate $plate aqua px"
[ "$flying" -gt 200 ] || fail "the view did not stream while flying"
[ "$paused" -eq 0 ] || fail "the view moved while paused"
[ "$plate" -ge 100 ] || fail "the view does not say it is paused"
[ "$going" -gt 200 ] || fail "the view did not stream again after the pause"
sleep 1.5 # the ship comes to a drift

# --- The typewriter's beeps: held at the sound card, and going on ---
key m
qm_await_box 20 || fail "the chart did not open the message box"
sleep 1.0
before_pause=$(size_of)
typing=$(swing $((before_pause - 8000)) "$before_pause")
paused_at=$(date +%s.%N)
key p
# The file grows in steps of SDL's buffer, up to some 0.7 s behind: a second on, every byte
# written since was made during the pause.
sleep 1.0
held_from=$(size_of)
sleep 1.0
held_to=$(size_of)
went_on_at=$(date +%s.%N)
key p
sleep 1.0
after_from=$(size_of)
sleep 1.0
after_to=$(size_of)
held=$(swing "$held_from" "$held_to")
after=$(swing "$after_from" "$after_to")
# The beeps a frame before the pause queued up to half a second ahead: held, they sound only
# after it, so the stretch of silence is the pause itself, not the pause less what was queued.
gap=$(python3 -c "
import re, sys
f = open(sys.argv[1], 'rb'); f.seek(int(sys.argv[2])); d = f.read(int(sys.argv[3]) - int(sys.argv[2]))
print(max([len(m.group()) for m in re.finditer(b'\x80+', d)] or [0]))" \
  "$SDL_DISKAUDIOFILE" $((before_pause - 16000)) "$after_to")
needed=$(python3 -c "import sys; print(int((float(sys.argv[2]) - float(sys.argv[1]) - 0.2) * 11025))" \
  "$paused_at" "$went_on_at")
echo "typewriter swing: before the pause $typing, paused $held ($((held_to - held_from)) bytes), after $after"
echo "longest silence around the pause: $gap bytes (the pause less 0.2 s: $needed)"
[ "$typing" -ge 20 ] || fail "no typewriter beeps reached the sound card"
[ $((held_to - held_from)) -ge 8000 ] || fail "the sound card stopped while paused"
[ "$held" -eq 0 ] || fail "sound reached the sound card while paused"
[ "$gap" -ge "$needed" ] || fail "the beeps queued before the pause were heard during it"
[ "$after" -ge 20 ] || fail "the beeps did not go on after the pause"

# --- Effects at 70 %: the same listing typed again ---
for _ in $(seq 1 40); do
  qm_box_shown || break
  key space
  sleep 0.2
done
qm_box_shown && fail "the chart listing would not close"
key bracketleft
key bracketleft
key bracketleft
sleep 0.3
shot 100 178 200 22 volume_note
key m
qm_await_box 20 || fail "the chart did not open the message box again"
sleep 1.0 # past the chart's own sound
low_from=$(size_of)
sleep 1.0
low=$(swing "$low_from" "$(size_of)")
echo "typewriter swing at 70 %: $low (full: $after)"
[ "$(count volume_note '#00FFFF')" -ge 30 ] || fail "no note of the new loudness"
[ "$low" -ge $((after * 60 / 100)) ] && [ "$low" -le $((after * 75 / 100)) ] ||
  fail "the beeps at 70 % swing $low against $after"
grep -qx "effects=70" "$out/config/quelmarin/settings.ini" ||
  fail "settings.ini does not keep the effects at 70: $(cat "$out/config/quelmarin/settings.ini")"

qm_quit alt+n || fail "the quit question did not come"
qm_wait_exit "$pid" || fail "the game did not end"
pid=""
rm -f "$SDL_DISKAUDIOFILE"
qm_report pause_e2e
