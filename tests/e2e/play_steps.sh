# Steps of the voyage window for end-to-end runs, beside title_steps.sh (source both). Every run
# plays on its own copy of the game folder, $out/game, and keeps its screenshots in $out.
# Coordinates are client coordinates of the window last given to qm_origin (wx, wy).

qm_saved_game() { python3 "$(dirname "${BASH_SOURCE[0]}")/saved_game.py" "$@"; }

# Makes $out afresh with a copy of the game folder, without a saved voyage.
qm_fresh_copy() {
  local game_src=$1
  rm -rf "$out"
  mkdir -p "$out"
  game="$out/game"
  cp -r "$game_src" "$game"
  rm -f "$game/dat/my.dat" "$game/航海日誌.txt"
}

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
# The line ctest reads; the exit status follows it.
qm_report() {
  if [ "$failures" -eq 0 ]; then
    echo "$1: 1 passed, 0 failed"
  else
    echo "$1: 0 passed, 1 failed"
    exit 1
  fi
}

pid=""
start_game() {
  "$game/quelmarin" >>"$out/game.log" 2>&1 &
  pid=$!
}
stop_game() {
  [ -n "$pid" ] && kill -KILL "$pid" 2>/dev/null || true
  [ -n "$pid" ] && wait "$pid" 2>/dev/null || true
  pid=""
}
alive() { kill -0 "$pid" 2>/dev/null; }

# The X server resets itself whenever its last client leaves, and a game started during the reset
# cannot connect: one idle client held open for the whole run keeps the server up between games.
holder=""
qm_hold_display() {
  python3 -c 'import ctypes, time
x = ctypes.cdll.LoadLibrary("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
assert x.XOpenDisplay(None)
time.sleep(3600)' &
  holder=$!
}
# For the EXIT trap.
qm_cleanup() {
  stop_game
  [ -n "$holder" ] && kill "$holder" 2>/dev/null || true
}

# A rectangle of the window (left top width height) into $out/NAME.png.
shot() { import -window root -crop "$3x$4+$((wx + $1))+$((wy + $2))" +repage "$out/$5.png"; }
# How many pixels of the picture have exactly the colour.
count() {
  convert "$out/$1.png" -fill black +opaque "$2" -fill white -opaque "$2" -colorspace gray \
    -format "%[fx:int(w*h*mean+0.5)]" info:
}
differ() { { compare -metric AE "$out/$1.png" "$out/$2.png" null: 2>&1 || true; } | awk '{print int($1)}'; }

# True while the message box lies over the panel at (4, 304): its aqua frame runs along the whole
# top row there, where the panel's own pictures never do.
qm_box_shown() {
  shot 4 304 393 1 box_row
  [ "$(count box_row '#00FFFF')" -ge 380 ]
}
# Waits up to $1 tenths of a second for the message box to open.
qm_await_box() {
  for _ in $(seq 1 "$1"); do
    qm_box_shown && return 0
    sleep 0.1
  done
  return 1
}
# Clicks the message box page by page (a click finishes a page being typed, the next one turns
# it) until it closes; prints the clicks it took, false when it would not close.
qm_read_box() {
  local clicks=0
  while qm_box_shown; do
    [ $clicks -lt 60 ] || return 1
    qm_click 200 380
    clicks=$((clicks + 1))
  done
  echo "$clicks"
}

# The game's own information and error boxes carry the application title alone. Waits up to 5 s
# for one, keeps a picture of it as $out/NAME.png, and answers it with Return; false when none came.
qm_answer_notice() {
  local name=$1 box=""
  for _ in $(seq 1 50); do
    box=$(xdotool search --all --onlyvisible --pid "$pid" --name '^QUELMARIN$' 2>/dev/null |
      head -n 1 || true)
    [ -n "$box" ] && break
    sleep 0.1
  done
  [ -n "$box" ] || return 1
  sleep 0.2
  import -window "$box" "$out/$name.png" 2>/dev/null || true
  xdotool windowfocus "$box" 2>/dev/null || true
  sleep 0.2
  xdotool key Return
  sleep 0.3
}
# The error box wears the red error sign; the information box does not.
qm_is_error_box() { [ "$(count "$1" '#FF0000')" -ge 100 ]; }

# Closes the voyage window and answers the quit question with alt+y or alt+n.
qm_quit() {
  qm_close_window "$voyage"
  qm_answer "$pid" "$1"
}
