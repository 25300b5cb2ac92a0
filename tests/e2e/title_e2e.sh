#!/usr/bin/env bash
# Plays the game's opening as a new player would, on a copy of the game folder under a virtual X
# server: the title animates, NEW GAME asks, the names are typed, "宇宙へ" opens the voyage window
# on the green log-on screen and then the instruments, and closing it with Yes saves the voyage.
# Started again, CONTINUE resumes it. Two more runs set a story roll going through QM_TEST_STORY,
# so the prologue, the ending's dedication and the message from Earth can be looked at; the
# screenshots are kept for a person to look at.
# Usage: title_e2e.sh GAME_DIR OUT_DIR   (run inside xvfb-run, or with DISPLAY set)
set -euo pipefail
source "$(dirname "$0")/title_steps.sh"
game_src=$1
out=$2
rm -rf "$out"
mkdir -p "$out"
export QT_QPA_PLATFORM=xcb
# The saved voyage is written into the game folder, so the run works on its own copy.
game="$out/game"
cp -r "$game_src" "$game"
rm -f "$game/dat/my.dat"

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

pid=""
stop_game() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  pid=""
}
trap stop_game EXIT

shot() { import -window root -crop "$3x$4+$((wx + $1))+$((wy + $2))" +repage "$out/$5.png"; }
differ() { { compare -metric AE "$out/$1.png" "$out/$2.png" null: 2>&1 || true; } | awk '{print int($1)}'; }
# How many of the picture's pixels have exactly the colour, and what per cent of them.
count() {
  convert "$out/$1.png" -fill black +opaque "$2" -fill white -opaque "$2" -colorspace gray \
    -format "%[fx:int(w*h*mean+0.5)]" info:
}
share() {
  convert "$out/$1.png" -fill black +opaque "$2" -fill white -opaque "$2" -colorspace gray \
    -format "%[fx:int(100*mean)]" info:
}
start_game() {
  "$game/quelmarin" >>"$out/game.log" 2>&1 &
  pid=$!
}
# Closes the voyage window and answers the quit question.
leave() {
  qm_close_and_answer "$pid" "$voyage" "$1" || fail "closing did not ask to save ($2)"
}

# --- First start: the title, NEW GAME and the naming ---
start_game
title=$(qm_wait_window "$pid" "Tellivar")
[ -n "$title" ] || { echo "FAIL: the title window never appeared"; cat "$out/game.log"; exit 1; }
qm_origin "$title"
sleep 1
shot 0 0 401 301 title_a
sleep 0.7
shot 0 0 401 301 title_b
moved=$(differ title_a title_b)
echo "title: $moved px changed in 0.7 s"
[ "$moved" -gt 200 ] || fail "the title does not animate"

qm_click 328 174  # NEW GAME
qm_answer "$pid" alt+y || fail "NEW GAME did not ask"
shot 0 0 401 301 title_names
# The name panel's aqua frame now lies over the buttons.
[ "$(count title_names '#00FFFF')" -ge 1000 ] || fail "NEW GAME did not bring the name panel"
qm_click 112 168
qm_type "アキラ"
qm_click 296 168
qm_type "ノア"
sleep 0.3
shot 0 0 401 301 title_named
qm_click 342 202  # 宇宙へ

voyage=$(qm_wait_window "$pid" "ノア号・船長アキラ")
[ -n "$voyage" ] || { fail "宇宙へ did not open the voyage window named after ship and captain"; exit 1; }
[ -z "$(xdotool search --all --onlyvisible --pid "$pid" --name Tellivar 2>/dev/null || true)" ] ||
  fail "the title window is still shown"
qm_origin "$voyage"
sleep 1.2
shot 0 0 400 300 logon_early
sleep 2.3
shot 0 0 400 300 logon
green=$(share logon '#00FF00')
echo "log-on screen: $green % green"
[ "$green" -ge 60 ] || fail "the log-on screen is not green"
sleep 2.5
shot 0 0 400 300 instruments
[ "$(share instruments '#00FF00')" -lt 20 ] || fail "the instruments did not take over"

leave alt+y "save"
ok_box=$(qm_wait_window "$pid" "QUELMARIN")
if [ -n "$ok_box" ]; then
  xdotool windowfocus "$ok_box" 2>/dev/null || true
  sleep 0.2
  xdotool key Return
fi
qm_wait_exit "$pid" || fail "the game did not end after closing"
pid=""
if [ -f "$game/dat/my.dat" ]; then
  name=$(sed -n 1p "$game/dat/my.dat" | tr -d '\r' | iconv -f CP932 -t UTF-8)
  ship=$(sed -n 428p "$game/dat/my.dat" | tr -d '\r' | iconv -f CP932 -t UTF-8)
  echo "saved: captain '$name', ship '$ship'"
  [ "$name" = "アキラ" ] && [ "$ship" = "ノア" ] || fail "the saved names are not the typed ones"
else
  fail "closing with Yes did not save dat/my.dat"
fi

# --- Second start: CONTINUE, with the prologue under way ---
export QM_TEST_STORY=prologue:150
start_game
voyage=$(qm_continue "$pid")
if [ -n "$voyage" ]; then
  qm_origin "$voyage"
  [ "$(xdotool getwindowname "$voyage")" = "ノア号・船長アキラ" ] || fail "CONTINUE lost the names"
  sleep 1
  shot 0 0 400 300 continue_logon
  [ "$(share continue_logon '#00FF00')" -ge 60 ] || fail "CONTINUE did not start the log-on"
  sleep 5
  shot 0 0 400 300 prologue_roll
  [ "$(count prologue_roll '#FFFFFF')" -ge 100 ] || fail "no prologue roll to be seen"
  leave alt+n "no save"
  qm_wait_exit "$pid" || fail "the game did not end after closing without saving"
  pid=""
else
  fail "CONTINUE did not open the voyage window"
  grep -v "^ALSA" "$out/game.log" | tail -n 5
  stop_game
fi

# --- Third and fourth: the ending's dedication, and the message from Earth ---
export QM_TEST_STORY=ending:1290
start_game
voyage=$(qm_continue "$pid")
if [ -n "$voyage" ]; then
  qm_origin "$voyage"
  sleep 6.5
  shot 0 0 400 300 ending_roll
  [ "$(count ending_roll '#FFFFFF')" -ge 100 ] || fail "no ending roll to be seen"
else
  fail "CONTINUE did not open the voyage window (ending)"
  grep -v "^ALSA" "$out/game.log" | tail -n 5
fi
stop_game

export QM_TEST_STORY=ending:2135
start_game
voyage=$(qm_continue "$pid")
if [ -n "$voyage" ]; then
  qm_origin "$voyage"
  sleep 8
  shot 0 0 400 428 earth_message
  # The message box lies over the panel at (4, 304), its aqua frame around the text.
  convert "$out/earth_message.png" -crop 393x124+4+304 +repage "$out/earth_box.png"
  [ "$(count earth_box '#00FFFF')" -ge 500 ] || fail "the message from Earth did not open the box"
else
  fail "CONTINUE did not open the voyage window (Earth)"
  grep -v "^ALSA" "$out/game.log" | tail -n 5
fi
stop_game

if [ $failures -eq 0 ]; then
  echo "title_e2e: 1 passed, 0 failed"
else
  echo "title_e2e: 0 passed, 1 failed"
  exit 1
fi
