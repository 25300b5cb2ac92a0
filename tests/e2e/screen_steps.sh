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
