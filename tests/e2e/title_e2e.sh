#!/usr/bin/env bash
# Plays the game's opening as a new player would, on a copy of the game folder under a virtual X
# server: the title animates, NEW GAME asks, the names are typed, "宇宙へ" opens the voyage window
# on the green log-on screen and then the instruments, and closing it with Yes saves the voyage.
# Started again, CONTINUE resumes it. Two more runs set a story roll going through QM_TEST_STORY,
# so the prologue, the ending's dedication and the message from Earth can be looked at; the
# screenshots are kept for a person to look at.
# Usage: title_e2e.sh GAME_DIR OUT_DIR   (run inside xvfb-run, or with DISPLAY set)
set -euo pipefail
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
stop_game() { [ -n "$pid" ] && kill "$pid" 2>/dev/null || true; }
trap stop_game EXIT

# Waits for a visible window of the game whose name matches; prints its id.
wait_window() {
  local name=$1 id=""
  for _ in $(seq 1 100); do
    id=$(xdotool search --all --onlyvisible --pid "$pid" --name "$name" 2>/dev/null | head -n 1 || true)
    [ -n "$id" ] && break
    sleep 0.1
  done
  echo "$id"
}
origin() {
  wx=$(xwininfo -id "$1" | awk '/Absolute upper-left X/ {print $4}')
  wy=$(xwininfo -id "$1" | awk '/Absolute upper-left Y/ {print $4}')
}
shot() { import -window root -crop "$3x$4+$((wx + $1))+$((wy + $2))" +repage "$out/$5.png"; }
differ() { { compare -metric AE "$out/$1.png" "$out/$2.png" null: 2>&1 || true; } | awk '{print int($1)}'; }
# Per cent of the picture's pixels that have exactly the colour.
share() {
  convert "$out/$1.png" -fill black +opaque "$2" -fill white -opaque "$2" -colorspace gray \
    -format "%[fx:int(100*mean)]" info:
}
# How many of the picture's pixels have exactly the colour.
count() {
  convert "$out/$1.png" -fill black +opaque "$2" -fill white -opaque "$2" -colorspace gray \
    -format "%[fx:int(w*h*mean+0.5)]" info:
}
click() {
  xdotool mousemove $((wx + $1)) $((wy + $2)) click 1
  sleep 0.3
}
# Answers the "確認" question with the accelerator of one of its buttons.
answer() {
  local box
  box=$(wait_window "確認")
  [ -n "$box" ] || { fail "no question was asked ($2)"; return; }
  xdotool windowfocus "$box" 2>/dev/null || true
  sleep 0.3
  xdotool key "$1"
  sleep 0.3
}
# Asks the window to close, as its close box does.
close_window() {
  python3 - "$1" <<'PY'
import ctypes, sys
x = ctypes.cdll.LoadLibrary("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XInternAtom.restype = ctypes.c_ulong
x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong),
                ("message_type", ctypes.c_ulong), ("format", ctypes.c_int),
                ("data", ctypes.c_long * 5)]
class Event(ctypes.Union):
    _fields_ = [("xclient", ClientMessage), ("pad", ctypes.c_long * 24)]
x.XOpenDisplay.argtypes = [ctypes.c_char_p]
d = x.XOpenDisplay(None)
win = int(sys.argv[1])
e = Event()
e.xclient.type = 33
e.xclient.window = win
e.xclient.message_type = x.XInternAtom(d, b"WM_PROTOCOLS", 0)
e.xclient.format = 32
e.xclient.data[0] = x.XInternAtom(d, b"WM_DELETE_WINDOW", 0)
x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                         ctypes.POINTER(Event)]
x.XSendEvent(d, win, 0, 0, ctypes.byref(e))
x.XFlush.argtypes = [ctypes.c_void_p]
x.XFlush(d)
PY
}
wait_exit() {
  for _ in $(seq 1 50); do
    kill -0 "$pid" 2>/dev/null || return 0
    sleep 0.1
  done
  return 1
}
# Starts the game and clicks CONTINUE; leaves wx, wy at the voyage window's view.
continue_voyage() {
  "$game/quelmarin" >>"$out/game.log" 2>&1 &
  pid=$!
  title=$(wait_window "Tellivar")
  [ -n "$title" ] || { fail "the title window did not come back ($1)"; return 1; }
  origin "$title"
  click 328 140
  voyage=$(wait_window "号・船長")
  [ -n "$voyage" ] || { fail "CONTINUE did not open the voyage window ($1)"; return 1; }
  origin "$voyage"
}

# --- First start: the title, NEW GAME and the naming ---
"$game/quelmarin" >"$out/game.log" 2>&1 &
pid=$!
title=$(wait_window "Tellivar")
[ -n "$title" ] || { echo "FAIL: the title window never appeared"; cat "$out/game.log"; exit 1; }
origin "$title"
sleep 1
shot 0 0 401 301 title_a
sleep 0.7
shot 0 0 401 301 title_b
moved=$(differ title_a title_b)
echo "title: $moved px changed in 0.7 s"
[ "$moved" -gt 200 ] || fail "the title does not animate"

click 328 174  # NEW GAME
answer alt+y "NEW GAME"
shot 0 0 401 301 title_names
# The name panel's aqua frame now lies over the buttons.
[ "$(count title_names '#00FFFF')" -ge 1000 ] || fail "NEW GAME did not bring the name panel"
click 112 168
# xdotool lends a spare key to each character the keyboard lacks, and the first keystroke after
# the keyboard map changes can be lost; a throw-away character takes that loss.
xdotool type --delay 80 "ア"
sleep 0.3
xdotool key BackSpace
xdotool type --delay 80 "アキラ"
click 296 168
xdotool type --delay 80 "ノア"
sleep 0.3
shot 0 0 401 301 title_named
click 342 202  # 宇宙へ

voyage=$(wait_window "ノア号・船長アキラ")
[ -n "$voyage" ] || { fail "宇宙へ did not open the voyage window named after ship and captain"; exit 1; }
still=$(xdotool search --all --onlyvisible --pid "$pid" --name Tellivar 2>/dev/null || true)
[ -z "$still" ] || fail "the title window is still shown: $still $(xdotool getwindowname $still) $(xwininfo -id $still | grep -i map)"
origin "$voyage"
sleep 1.2
shot 0 0 400 300 logon_early
sleep 2.3
shot 0 0 400 300 logon
import -window root "$out/logon_full.png"
green=$(share logon '#00FF00')
echo "log-on screen: $green % green"
[ "$green" -ge 60 ] || fail "the log-on screen is not green"
sleep 2.5
shot 0 0 400 300 instruments
import -window root "$out/instruments_full.png"
[ "$(share instruments '#00FF00')" -lt 20 ] || fail "the instruments did not take over"

close_window "$voyage"
answer alt+y "quit"
ok_box=$(wait_window "QUELMARIN")
if [ -n "$ok_box" ]; then
  xdotool windowfocus "$ok_box" 2>/dev/null || true
  sleep 0.2
  xdotool key Return
fi
wait_exit || fail "the game did not end after closing"
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
if continue_voyage "prologue"; then
  [ "$(xdotool getwindowname "$voyage")" = "ノア号・船長アキラ" ] || fail "CONTINUE lost the names"
  sleep 1
  shot 0 0 400 300 continue_logon
  [ "$(share continue_logon '#00FF00')" -ge 60 ] || fail "CONTINUE did not start the log-on"
  sleep 4.5
  shot 0 0 400 300 prologue_roll
  [ "$(count prologue_roll '#FFFFFF')" -ge 100 ] || fail "no prologue roll to be seen"
  close_window "$voyage"
  answer alt+n "quit without saving"
  wait_exit || fail "the game did not end after closing"
  pid=""
fi

# --- Third and fourth: the ending's dedication, and the message from Earth ---
export QM_TEST_STORY=ending:1290
if continue_voyage "ending"; then
  sleep 5.5
  shot 0 0 400 300 ending_roll
  [ "$(count ending_roll '#FFFFFF')" -ge 100 ] || fail "no ending roll to be seen"
  stop_game
  pid=""
fi
export QM_TEST_STORY=ending:2135
if continue_voyage "Earth"; then
  sleep 8
  import -window root -crop "400x428+$wx+$wy" +repage "$out/earth_message.png"
  # The message box lies over the panel at (4, 304), its aqua frame around the text.
  convert "$out/earth_message.png" -crop 393x125+4+304 +repage "$out/earth_box.png"
  [ "$(count earth_box '#00FFFF')" -ge 500 ] || fail "the message from Earth did not open the box"
  stop_game
  pid=""
fi

if [ $failures -eq 0 ]; then
  echo "title_e2e: 1 passed, 0 failed"
else
  echo "title_e2e: 0 passed, 1 failed"
  exit 1
fi
