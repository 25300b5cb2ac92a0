# Steps through the title window for end-to-end runs; source it from a *_e2e.sh script. The game
# opens on the title window, so a run that wants to fly starts a new voyage first:
#   "$game/quelmarin" & pid=$!
#   win=$(qm_new_voyage "$pid" "ﾃｽﾄ" "ﾃｽﾄ")    # the voyage window, on its log-on screen
# Coordinates are client coordinates of the window last given to qm_origin (wx, wy).

# The names of the windows the steps wait for, in the edition under test; a run of another
# edition sets its own.
qm_confirm_title="確認"
qm_voyage_caption="号・船長"

# Waits up to 10 s for a visible window of the process whose name matches; prints its id.
qm_wait_window() {
  local pid=$1 name=$2 id=""
  for _ in $(seq 1 100); do
    # --all: without it xdotool takes any window of the process, whatever its name.
    id=$(xdotool search --all --onlyvisible --pid "$pid" --name "$name" 2>/dev/null | head -n 1 || true)
    [ -n "$id" ] && break
    sleep 0.1
  done
  echo "$id"
}

# The client area's place on the screen (xdotool's geometry counts a frame twice).
qm_origin() {
  wx=$(xwininfo -id "$1" | awk '/Absolute upper-left X/ {print $4}')
  wy=$(xwininfo -id "$1" | awk '/Absolute upper-left Y/ {print $4}')
}

qm_click() {
  xdotool mousemove $((wx + $1)) $((wy + $2)) click 1
  sleep 0.3
}

# Answers the "確認" question with a button's accelerator (alt+y, alt+n); false when none came.
qm_answer() {
  local pid=$1 key=$2 box
  box=$(qm_wait_window "$pid" "$qm_confirm_title")
  [ -n "$box" ] || return 1
  xdotool windowfocus "$box" 2>/dev/null || true
  sleep 0.3
  xdotool key "$key"
  sleep 0.3
}

# Types text into the focused entry. xdotool lends a spare key to each character the keyboard
# lacks, and the first keystroke after the keyboard map changes can be lost: a throw-away
# character takes that loss.
qm_type() {
  xdotool type --delay 80 "${1:0:1}"
  sleep 0.3
  xdotool key BackSpace
  xdotool type --delay 80 "$1"
}

# NEW GAME, yes, the two names and "宇宙へ"; prints the voyage window's id, or nothing on failure
# (and still succeeds, so that a caller under `set -e` reports the failure instead of ending).
qm_new_voyage() {
  local pid=$1 name=$2 ship=$3 title
  title=$(qm_wait_window "$pid" "Tellivar")
  [ -n "$title" ] || { echo "the title window never appeared" >&2; return 0; }
  qm_origin "$title"
  qm_click 328 174
  qm_answer "$pid" alt+y || { echo "NEW GAME did not ask" >&2; return 0; }
  qm_click 112 168
  qm_type "$name"
  qm_click 296 168
  qm_type "$ship"
  qm_click 342 202
  qm_wait_window "$pid" "$qm_voyage_caption"
}

# CONTINUE; prints the voyage window's id, or nothing on failure (as qm_new_voyage).
qm_continue() {
  local pid=$1 title
  title=$(qm_wait_window "$pid" "Tellivar")
  [ -n "$title" ] || { echo "the title window never appeared" >&2; return 0; }
  qm_origin "$title"
  qm_click 328 140
  qm_wait_window "$pid" "$qm_voyage_caption"
}

# Asks a window to close, as its close box does (there is no window manager to click).
qm_close_window() {
  python3 - "$1" <<'PY'
import ctypes, sys
x = ctypes.cdll.LoadLibrary("libX11.so.6")
x.XOpenDisplay.argtypes = [ctypes.c_char_p]
x.XOpenDisplay.restype = ctypes.c_void_p
x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x.XInternAtom.restype = ctypes.c_ulong
class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong),
                ("message_type", ctypes.c_ulong), ("format", ctypes.c_int),
                ("data", ctypes.c_long * 5)]
class Event(ctypes.Union):
    _fields_ = [("xclient", ClientMessage), ("pad", ctypes.c_long * 24)]
x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                         ctypes.POINTER(Event)]
x.XFlush.argtypes = [ctypes.c_void_p]
d = x.XOpenDisplay(None)
win = int(sys.argv[1])
e = Event()
e.xclient.type = 33  # ClientMessage
e.xclient.window = win
e.xclient.message_type = x.XInternAtom(d, b"WM_PROTOCOLS", 0)
e.xclient.format = 32
e.xclient.data[0] = x.XInternAtom(d, b"WM_DELETE_WINDOW", 0)
x.XSendEvent(d, win, 0, 0, ctypes.byref(e))
x.XFlush(d)
PY
}

# Closes a window as its close box does and answers the question that asks (alt+y, alt+n); false
# when none came. A close that reaches the window while a box is still going away is dropped by
# the toolkit, as a click on a blocked window is, so like a player it tries again.
qm_close_and_answer() {
  local pid=$1 window=$2 key=$3 box=""
  for _ in 1 2 3; do
    qm_close_window "$window"
    box=$(qm_wait_window "$pid" "$qm_confirm_title")
    [ -n "$box" ] && break
  done
  [ -n "$box" ] || return 1
  qm_answer "$pid" "$key"
}

# Waits up to 5 s for the process to end.
qm_wait_exit() {
  for _ in $(seq 1 50); do
    kill -0 "$1" 2>/dev/null || return 0
    sleep 0.1
  done
  return 1
}
