#!/usr/bin/env bash
# Each file of the game's cg/ folder taken away in turn: the game starts without it, shows an
# error box only where it names a missing file, and plays on into the voyage window. Then the
# whole folder goes: one box, for the first picture, and the game still plays on.
# Usage: missing_cg_e2e.sh GAME_DIR OUT_DIR   (run inside xvfb-run, or with DISPLAY set)
set -euo pipefail
here=$(dirname "$0")
source "$here/play_steps.sh"
source "$here/missing_steps.sh"
qm_begin "$1" "$2"
started=$SECONDS
qm_without_each cg
echo "$(ls "$game/cg" | wc -l) files of cg/ taken away in turn in $((SECONDS - started)) s"

# Without any picture the title has nothing to animate, so only the boxes and the way on count.
mv "$game/cg" "$out/cg_aside"
qm_start_past_boxes no_cg || true
if [ -z "$title" ]; then
  fail "without cg/: the title never showed"
else
  echo "without cg/: $boxes error box(es)"
  [ "$boxes" -eq 1 ] || fail "without cg/: $boxes error boxes, not 1"
  qm_is_error_box box_no_cg || fail "without cg/: the box is no error box"
  qm_origin "$title"
  qm_click 328 140 # CONTINUE
  voyage=$(qm_wait_window "$pid" "号・船長")
  [ -n "$voyage" ] || fail "without cg/: the voyage window did not open"
  sleep 0.8
  alive || fail "without cg/: the game died in the voyage window"
fi
stop_game
mv "$out/cg_aside" "$game/cg"
qm_report missing_cg_e2e
