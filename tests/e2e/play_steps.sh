# Steps of the voyage window for end-to-end runs, beside title_steps.sh (source both). Every run
# plays on its own copy of the game folder, $out/game, and keeps its screenshots in $out.
# Coordinates are client coordinates of the window last given to qm_origin (wx, wy).

source "$(dirname "${BASH_SOURCE[0]}")/title_steps.sh"

qm_saved_game() { python3 "$(dirname "${BASH_SOURCE[0]}")/saved_game.py" "$@"; }

# Makes $out afresh with a copy of the game folder, without a saved voyage; $player is where the
# game keeps the player's files. With QM_GAME_EXE naming an installed game, that game is played
# instead, and its player's files are looked for in the player's data folder.
qm_fresh_copy() {
  local game_src=$1
  rm -rf "$out"
  mkdir -p "$out"
  if [ -n "${QM_GAME_EXE:-}" ]; then
    game=$game_src
    exe=$QM_GAME_EXE
    player="${XDG_DATA_HOME:-$HOME/.local/share}/quelmarin"
  else
    game="$out/game"
    cp -r "$game_src" "$game"
    exe="$game/quelmarin"
    player=$game
  fi
  rm -f "$player/dat/my.dat" "$player/航海日誌.txt"
}

# The opening of a run: `qm_begin GAME_DIR OUT_DIR` plays on a fresh copy of the game folder
# (see qm_fresh_copy) on the X server's own windows, with settings of the run's own (the player's
# window sizes and mixer file stay out of it), and holds the display open until the run ends.
qm_begin() {
  out=$2
  qm_fresh_copy "$1"
  export QT_QPA_PLATFORM=xcb
  export XDG_CONFIG_HOME="$out/config"
  mkdir -p "$XDG_CONFIG_HOME"
  trap qm_cleanup EXIT
  qm_hold_display
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
  "${exe:-$game/quelmarin}" "$@" >>"$out/game.log" 2>&1 &
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
# it) until it closes; prints the clicks it took, false when it would not close. An enlarged
# window names its own way to click and to see the box: qm_read_box CLICK SHOWN.
qm_read_box() {
  local click=${1:-qm_click} shown=${2:-qm_box_shown} clicks=0
  while "$shown"; do
    [ $clicks -lt 60 ] || return 1
    "$click" 200 380
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
  qm_close_and_answer "$pid" "$voyage" "$1"
}

# Starts the game and answers its error boxes until the title window shows; sets `title` (empty
# when it never came) and `boxes`, the number of boxes answered, keeping a picture of the first
# as $out/box_TAG.png.
qm_start_past_boxes() {
  local tag=$1 box
  start_game
  title=""
  boxes=0
  for _ in $(seq 1 100); do
    title=$(qm_visible Tellivar)
    [ -n "$title" ] && return 0
    alive || return 1
    box=$(qm_visible '^QUELMARIN$')
    if [ -n "$box" ]; then
      boxes=$((boxes + 1))
      sleep 0.1
      [ $boxes -eq 1 ] && import -window "$box" "$out/box_$tag.png" 2>/dev/null
      xdotool windowfocus "$box" 2>/dev/null || true
      xdotool key Return
      # The same box must not be counted twice.
      for _ in $(seq 1 20); do
        xdotool search --all --onlyvisible --pid "$pid" --name '^QUELMARIN$' 2>/dev/null |
          grep -qx "$box" || break
        sleep 0.05
      done
    fi
    sleep 0.05
  done
}

# A visible window of the game whose name matches, if there is one right now.
qm_visible() {
  xdotool search --all --onlyvisible --pid "$pid" --name "$1" 2>/dev/null | head -n 1 || true
}

# NEW GAME with one-letter names typed straight in: the keyboard has the letters, so nothing
# needs the spare keys that other names are typed with. Prints the voyage window's id.
qm_enter_new_voyage() {
  qm_click 328 174
  qm_answer "$pid" alt+y || return 1
  qm_click 112 168
  xdotool type --delay 30 "a"
  qm_click 296 168
  xdotool type --delay 30 "b"
  qm_click 342 202
  qm_wait_window "$pid" "$qm_voyage_caption"
}

# Starts the game and plays on into the voyage window, failing with WHAT in the message:
#   WAY      continue  CONTINUE opens the saved voyage
#            new       CONTINUE is closed (a click leads nowhere), NEW GAME starts a voyage
#            either    CONTINUE if it opens the voyage, NEW GAME if not
#   BOXES    the number of error boxes expected at start, or "any"
# Leaves the game running with `voyage` set (empty on failure); the caller stops it.
qm_plays_on() {
  local what=$1 way=$2 expected=$3 tag=${4:-box}
  voyage=""
  qm_start_past_boxes "$tag" || true
  if [ -z "$title" ]; then
    fail "$what: the title never showed"
    return 0
  fi
  [ "$expected" = any ] || [ "$boxes" -eq "$expected" ] ||
    fail "$what: $boxes error boxes, not $expected"
  [ $boxes -eq 0 ] || qm_is_error_box "box_$tag" || fail "$what: the box is no error box"
  qm_origin "$title"
  # The title animates (its logo shivers at every step), error boxes or not.
  shot 0 0 401 300 "title_${tag}_a"
  sleep 0.5
  shot 0 0 401 300 "title_${tag}_b"
  [ "$(differ "title_${tag}_a" "title_${tag}_b")" -gt 0 ] || fail "$what: the title stands still"
  qm_click 328 140 # CONTINUE
  if [ "$way" = continue ]; then
    voyage=$(qm_wait_window "$pid" "$qm_voyage_caption")
  else
    sleep 0.5
    voyage=$(qm_visible "$qm_voyage_caption")
    if [ "$way" = new ] && [ -n "$voyage" ]; then
      fail "$what: CONTINUE opened a voyage"
    elif [ -z "$voyage" ]; then
      voyage=$(qm_enter_new_voyage) || true
    fi
  fi
  if [ -z "$voyage" ]; then
    fail "$what: the voyage window did not open"
    return 0
  fi
  sleep 0.8
  if ! alive; then
    fail "$what: the game died in the voyage window"
  elif [ -z "$(qm_visible "$qm_voyage_caption")" ]; then
    fail "$what: the voyage window went away"
  fi
}
