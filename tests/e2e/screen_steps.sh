# Steps for runs on a virtual screen of a size of their own, with the game's windows enlarged;
# source it beside title_steps.sh (and play_steps.sh). Coordinates given to qm_fit_* are the
# window's own pixels, as the game lays them out; they are taken to the screen the way the game
# shows a window that fits (the largest factor that keeps its shape, the side that limits it
# filled, centred on black).

# Starts a virtual X server with one screen of SIZE (1366x768) and points DISPLAY at it. The
# server stays up between games (-noreset); qm_own_screen_stop ends it.
own_screen=""
qm_own_screen() {
  local size=$1 number
  number=$(mktemp)
  Xvfb -displayfd 9 -screen 0 "${size}x24" -nolisten tcp -noreset 9>"$number" 2>/dev/null &
  own_screen=$!
  for _ in $(seq 1 100); do
    [ -s "$number" ] && break
    sleep 0.05
  done
  export DISPLAY=":$(head -n 1 "$number")"
  rm -f "$number"
}
qm_own_screen_stop() {
  [ -n "$own_screen" ] && kill "$own_screen" 2>/dev/null || true
  own_screen=""
}

# Where a window of DESIGN_W DESIGN_H pixels shows, fitted, on an area of AREA_W AREA_H: sets
# fit_x fit_y fit_w fit_h (the shown rectangle) and fit_factor, and remembers the design size
# for qm_fit_point.
qm_fit_place() {
  fit_dw=$1
  fit_dh=$2
  read -r fit_x fit_y fit_w fit_h fit_factor < <(python3 - "$@" <<'PY'
import sys
dw, dh, aw, ah = map(int, sys.argv[1:5])
f = min(aw / dw, ah / dh)
w, h = min(aw, int(dw * f + 0.5)), min(ah, int(dh * f + 0.5))
print((aw - w) // 2, (ah - h) // 2, w, h, f"{f:.4f}")
PY
  )
}

# The screen pixel in the middle of window pixel X Y: sets px py.
qm_fit_point() {
  px=$((fit_x + (2 * $1 + 1) * fit_w / (2 * fit_dw)))
  py=$((fit_y + (2 * $2 + 1) * fit_h / (2 * fit_dh)))
}
qm_fit_click() {
  qm_fit_point "$1" "$2"
  xdotool mousemove "$px" "$py" click 1
  sleep 0.3
}

# A rectangle of the screen (left top width height) into $out/NAME.png.
qm_screen_shot() { import -window root -crop "$3x$4+$1+$2" +repage "$out/$5.png"; }

# How many pixels of the picture are not black.
qm_lit() {
  convert "$out/$1.png" -fill white +opaque black -colorspace gray \
    -format "%[fx:int(w*h*mean+0.5)]" info:
}

# True while the message box lies over the panel: its aqua frame along the panel's top row (window
# row 304). Drawn at the finer resolution, the one-pixel frame is a shown line of its own
# thickness, partly mixed with its neighbours, so three shown rows are looked at and colours near
# aqua count.
qm_fit_box_shown() {
  qm_fit_point 4 304
  qm_screen_shot "$px" $((py - 1)) $((393 * fit_w / 400)) 3 box_rows
  local near
  near=$(convert "$out/box_rows.png" -fuzz 30% -fill black +opaque '#00FFFF' -fill white \
    -opaque '#00FFFF' -colorspace gray -format "%[fx:int(w*h*mean+0.5)]" info:)
  [ "$near" -ge $((380 * fit_w / 400)) ]
}

# The enlarged view (window pixels 0 0 to 400 300) on the screen: sets vx vy vw vh view_area.
qm_fit_view_rect() {
  qm_fit_point 0 0
  vx=$px
  vy=$py
  qm_fit_point 400 300
  vw=$((px - vx))
  vh=$((py - vy))
  view_area=$((vw * vh))
}
# Green in the enlarged view (after qm_fit_view_rect).
qm_fit_view_green() {
  qm_screen_shot "$vx" "$vy" "$vw" "$vh" "$1"
  count "$1" '#00FF00'
}

# From the voyage window's first showing (SHOWN, in seconds of the clock): a touch just above the
# middle of the pad adds to the forward speed in each frame it is held; let go, the ship drifts
# ahead one unit a frame towards the buoy at the start (as in play_e2e). Contact reaches the buoy
# from some 65 frames of drifting to some 170: at 115 frames, at the frame rate the log-on screen
# showed, the contact button is clicked. Sets logon_green (the view's green while the log-on
# screen shows, with view_area) and logon_seconds; true when the arrival pages came.
qm_fit_fly_to_contact() {
  local shown=$1 released wait_for
  qm_fit_view_rect
  qm_fit_point 198 349
  xdotool mousemove "$px" "$py" mousedown 1
  sleep 0.35
  xdotool mouseup 1
  released=$(date +%s.%N)
  sleep 0.5
  logon_green=$(qm_fit_view_green logon)
  for _ in $(seq 1 60); do
    [ "$(qm_fit_view_green instruments)" -lt $((view_area / 6)) ] && break
    sleep 0.25
  done
  logon_seconds=$(python3 -c "import time; print(time.time() - $shown)")
  wait_for=$(python3 -c "print(115 * max($logon_seconds, 4.6) / 46)")
  until python3 -c "import sys,time; sys.exit(time.time() - $released < $wait_for)"; do
    sleep 0.1
  done
  qm_fit_click 298 322
  for _ in $(seq 1 40); do
    qm_fit_box_shown && return 0
    sleep 0.1
  done
  return 1
}

# Reads the message box to its end through the enlarged window (as qm_read_box).
qm_fit_read_box() {
  qm_read_box qm_fit_click qm_fit_box_shown
}

# Puts the voyage window ID full screen with F11, as a player does once it has shown.
qm_full_screen() {
  sleep 0.5
  xdotool windowfocus "$1" 2>/dev/null || true
  sleep 0.2
  xdotool key F11
  sleep 0.8
}

# The client size of window ID: sets width height.
qm_window_size() {
  read -r width height < <(xwininfo -id "$1" |
    awk '/^ *Width:/ {w = $2} /^ *Height:/ {h = $2} END {print w, h}')
}
