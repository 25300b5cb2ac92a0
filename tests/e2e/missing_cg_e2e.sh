#!/usr/bin/env bash
# Each file of the game's cg/ folder taken away in turn: the game starts without it, shows an
# error box only where it names a missing file, and plays on into the voyage window.
# Usage: missing_cg_e2e.sh GAME_DIR OUT_DIR   (run inside xvfb-run, or with DISPLAY set)
set -euo pipefail
here=$(dirname "$0")
source "$here/title_steps.sh"
source "$here/play_steps.sh"
source "$here/missing_steps.sh"
out=$2
qm_fresh_copy "$1"
export QT_QPA_PLATFORM=xcb
trap qm_cleanup EXIT
qm_hold_display
started=$SECONDS
qm_without_each cg
echo "$(ls "$game/cg" | wc -l) files of cg/ taken away in turn in $((SECONDS - started)) s"
qm_report missing_cg_e2e
