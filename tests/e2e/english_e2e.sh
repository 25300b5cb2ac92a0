#!/usr/bin/env bash
# The English edition of the real game under a virtual X server: `--lang=en` opens the title in
# English, a new voyage is named and saved in English (the voyage log under its English name, in
# English), and the choice is remembered, so the next plain start is English too; `--lang=ja`
# brings the Japanese edition back, and the same saved voyage continues in it.
# Usage: english_e2e.sh GAME_DIR OUT_DIR   (run inside xvfb-run, or with DISPLAY set)
set -euo pipefail
here=$(dirname "$0")
source "$here/play_steps.sh"
qm_begin "$1" "$2"
settings="$XDG_CONFIG_HOME/quelmarin/settings.ini"

ascii() { ! LC_ALL=C grep -q -P '[^\x00-\x7F]' "$1"; }
title_caption() {
  local title
  title=$(qm_wait_window "$pid" "Tellivar")
  [ -n "$title" ] && xdotool getwindowname "$title"
}

# --- The English edition, chosen on the command line ---
qm_confirm_title="Confirm"
qm_voyage_caption=" - Captain "
start_game --lang=en
[ "$(title_caption)" = "QUELMARIN - Tellivar  ver0.1" ] || fail "the title is not in English"
voyage=$(qm_new_voyage "$pid" "Mina" "Sora")
[ -n "$voyage" ] || { fail "NEW GAME did not open the voyage window"; cat "$out/game.log"; exit 1; }
[ "$(xdotool getwindowname "$voyage")" = "The Sora - Captain Mina" ] ||
  fail "the voyage window's caption is $(xdotool getwindowname "$voyage")"
sleep 6
qm_origin "$voyage"
shot 0 0 400 428 english_flight

# The save point asks in English and writes the log under its English name.
qm_click 372 321
qm_answer "$pid" alt+y || fail "the save point did not ask in English"
qm_answer_notice save_done || fail "the save point did not report"
[ -f "$player/voyage_log.txt" ] || fail "no voyage_log.txt"
[ ! -e "$player/航海日誌.txt" ] || fail "the English edition wrote the Japanese log"
if [ -f "$player/voyage_log.txt" ]; then
  ascii "$player/voyage_log.txt" || fail "the voyage log is not plain English"
  head -n 1 "$player/voyage_log.txt" | grep -q "^\* Voyage log of Captain Mina of the Sora" ||
    fail "the voyage log begins $(head -n 1 "$player/voyage_log.txt")"
fi
grep -q '^language=en' "$settings" || fail "the English edition was not remembered"

# Leaving: the quit question is English too; No ends without saving again.
qm_close_and_answer "$pid" "$voyage" alt+n || fail "closing did not ask in English"
qm_wait_exit "$pid" || fail "the game did not end"
stop_game

# --- A plain start remembers the English edition and continues the voyage ---
start_game
[ "$(title_caption)" = "QUELMARIN - Tellivar  ver0.1" ] || fail "a plain start forgot the English"
voyage=$(qm_continue "$pid")
[ -n "$voyage" ] && [ "$(xdotool getwindowname "$voyage")" = "The Sora - Captain Mina" ] ||
  fail "CONTINUE did not bring the English voyage back"
stop_game

# --- The Japanese edition again: the same voyage continues in Japanese ---
qm_confirm_title="確認"
qm_voyage_caption="号・船長"
start_game --lang=ja
[ "$(title_caption)" = "QUELMARIN ― Tellivar  ver0.1" ] || fail "--lang=ja did not start in Japanese"
voyage=$(qm_continue "$pid")
[ -n "$voyage" ] && [ "$(xdotool getwindowname "$voyage")" = "Sora号・船長Mina" ] ||
  fail "the English save did not continue in the Japanese edition"
grep -q '^language=ja' "$settings" || fail "the Japanese edition was not remembered"
stop_game

# A language the game does not have is refused before any window opens.
if "$exe" --lang=xx >"$out/refused.log" 2>&1; then
  fail "--lang=xx was accepted"
fi
grep -q 'unknown language' "$out/refused.log" || fail "--lang=xx gave no clear message"

qm_report english_e2e
