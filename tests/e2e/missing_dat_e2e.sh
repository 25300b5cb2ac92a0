#!/usr/bin/env bash
# Each file of the game's dat/ folder taken away in turn: the game starts without it, shows an
# error box only where it names a missing file, and plays on into the voyage window.
# Usage: missing_dat_e2e.sh GAME_DIR OUT_DIR   (run inside xvfb-run, or with DISPLAY set)
set -euo pipefail
here=$(dirname "$0")
source "$here/play_steps.sh"
source "$here/missing_steps.sh"
qm_begin "$1" "$2"
started=$SECONDS
qm_without_each dat
echo "$(ls "$game/dat" | wc -l) files of dat/ taken away in turn in $((SECONDS - started)) s"
qm_report missing_dat_e2e
