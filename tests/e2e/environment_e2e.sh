#!/usr/bin/env bash
# The real game in a hostile place, under a virtual X server:
#   - no audio device (SDL_AUDIODRIVER names a driver that does not exist): silent, but it plays
#     on and ends cleanly;
#   - no soundfont, and files that only bear a soundfont's name (QM_SOUNDFONT_DIRS): no music,
#     the title and the voyage go on;
#   - a game folder whose dat/ cannot be written, once mounted read-only (where this machine lets
#     a mount namespace be made) and once with a folder standing where the save's temporary file
#     goes: the save point and the quit question both show the error box, the voyage stays open
#     after the failed save on quitting (closing again and answering No ends it), and the old save
#     stays byte for byte, with nothing left beside it;
#   - SIGTERM ends the game.
# Usage: environment_e2e.sh GAME_DIR OUT_DIR   (run inside xvfb-run, or with DISPLAY set)
set -euo pipefail
here=$(dirname "$0")
source "$here/play_steps.sh"
qm_begin "$1" "$2"
saved="$game/dat/my.dat"
started=$SECONDS

# --- SIGTERM ends the game ---
start_game
if [ -n "$(qm_wait_window "$pid" Tellivar)" ]; then
  kill -TERM "$pid"
  qm_wait_exit "$pid" || fail "SIGTERM did not end the game"
else
  fail "the title never showed"
fi
stop_game

# --- No audio device ---
SDL_AUDIODRIVER=none_such qm_plays_on "no audio device" new 0
if [ -n "$voyage" ]; then
  qm_origin "$voyage"
  xdotool mousemove $((wx + 198)) $((wy + 354)) mousedown 1 sleep 0.3 mouseup 1
  qm_click 298 322
  sleep 0.5
  qm_quit alt+n || fail "no audio device: closing did not ask"
  if qm_wait_exit "$pid"; then
    status=0
    wait "$pid" || status=$?
    [ "$status" -eq 0 ] || fail "no audio device: the game ended with status $status"
  else
    fail "no audio device: the game did not end"
  fi
fi
stop_game

# --- No soundfont, then soundfonts in name only ---
mkdir -p "$out/no_sf2" "$out/fake_sf2"
for font in FluidR3_GM.sf2 TimGM6mb.sf2 default-GM.sf2; do
  python3 "$here/damage.py" garbage "$out/fake_sf2/$font" 5000 4
done
QM_SOUNDFONT_DIRS="$out/no_sf2" qm_plays_on "no soundfont" new 0
stop_game
QM_SOUNDFONT_DIRS="$out/fake_sf2" qm_plays_on "soundfonts in name only" new 0
stop_game

# --- dat/ cannot be written ---
# Saves at the save point and again on quitting; both must fail with the error box and leave the
# old save as it was, and the voyage log unwritten.
refused_saves() {
  local what=$1
  voyage=$(qm_continue "$pid")
  if [ -z "$voyage" ]; then
    fail "$what: CONTINUE did not open the voyage window"
    return 0
  fi
  sleep 0.5
  qm_origin "$voyage"
  qm_click 372 321 # the save point
  qm_answer "$pid" alt+y || fail "$what: the save point did not ask"
  if qm_answer_notice "refused_${what// /_}"; then
    qm_is_error_box "refused_${what// /_}" || fail "$what: the save point reported success"
  else
    fail "$what: the save point showed no box"
  fi
  alive || fail "$what: the game died after the refused save"
  qm_quit alt+y || fail "$what: closing did not ask"
  if qm_answer_notice "refused_quit_${what// /_}"; then
    qm_is_error_box "refused_quit_${what// /_}" || fail "$what: quitting reported a save"
  else
    fail "$what: quitting showed no box"
  fi
  # The voyage since the last save is not thrown away: the game stays, flying, and closing again
  # asks again; No then ends it without saving.
  sleep 1
  if alive && [ -n "$(qm_visible "号・船長")" ]; then
    shot 0 0 400 428 "kept_${what// /_}"
  else
    fail "$what: a save that could not be written ended the voyage"
  fi
  qm_quit alt+n || fail "$what: closing again did not ask again"
  qm_wait_exit "$pid" || fail "$what: the game did not end"
  cmp -s "$saved" "$out/before.dat" || fail "$what: the old save was changed"
  [ ! -e "$game/航海日誌.txt" ] || fail "$what: a voyage log was written for a failed save"
  [ "$(ls -A "$game/dat")" = "$(cat "$out/dat_before.txt")" ] ||
    fail "$what: dat/ holds $(ls -A "$game/dat" | tr '\n' ' ')"
}
qm_saved_game new "$game/dat/map.dat" "$saved" name=ﾛｯｸ ship=ｶﾀｲ
cp "$saved" "$out/before.dat"

if unshare -m --propagation private sh -c 'mount --bind -o ro "$1" "$1"' sh "$game/dat" 2>/dev/null
then
  ls -A "$game/dat" >"$out/dat_before.txt"
  # unshare and sh hand their process over to the game, so $pid is the game's own.
  unshare -m --propagation private sh -c 'mount --bind -o ro "$1" "$1" && exec "$2"' sh \
    "$game/dat" "$game/quelmarin" >>"$out/game.log" 2>&1 &
  pid=$!
  refused_saves "read-only dat"
  stop_game
else
  echo "no mount namespace here: the read-only mount is left out"
fi

mkdir "$game/dat/my.dat.tmp"
ls -A "$game/dat" >"$out/dat_before.txt"
start_game
refused_saves "a folder for the temporary file"
stop_game
[ -d "$game/dat/my.dat.tmp" ] || fail "the folder in the temporary file's way was taken away"

echo "the hostile places took $((SECONDS - started)) s"
qm_report environment_e2e
