#!/usr/bin/env bash
# Flies the real game under a virtual X server: after the log-on screen the stars stand still,
# and holding the left button on the upper half of the pad makes the stars stream and the pad
# show the pressed picture and the forward dot. Screenshots are kept for a person to look at.
# Usage: flight_e2e.sh GAME_DIR OUT_DIR   (run inside xvfb-run, or with DISPLAY set)
set -euo pipefail
game_dir=$1
out=$2
mkdir -p "$out"
export QT_QPA_PLATFORM=xcb

"$game_dir/quelmarin" >"$out/game.log" 2>&1 &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT

# The game opens on the title window: start a new voyage through it.
source "$(dirname "$0")/title_steps.sh"
win=$(qm_new_voyage "$pid" "ﾃｽﾄ" "ﾃｽﾄ")
[ -n "$win" ] || { echo "FAIL: the voyage window never appeared"; cat "$out/game.log"; exit 1; }

# The client area's place on the screen (xdotool's geometry counts a frame twice). Read once
# the window has settled: it centres itself after it is first mapped.
locate() {
  wx=$(xwininfo -id "$win" | awk '/Absolute upper-left X/ {print $4}')
  wy=$(xwininfo -id "$win" | awk '/Absolute upper-left Y/ {print $4}')
}

shot() { import -window root -crop "$3x$4+$((wx + $1))+$((wy + $2))" +repage "$out/$5.png"; }
differ() { { compare -metric AE "$out/$1.png" "$out/$2.png" null: 2>&1 || true; } | awk '{print int($1)}'; }
# Only the stars' own colours, and only where no readout is drawn (the position line at the top,
# the speeds at the bottom left and the trouble list on the right all blink over the stars).
stars() {
  convert "$out/$1.png" -crop 200x150+20+60 +repage -fuzz 3% -fill "#FF00FF" \
    -opaque "#C0C0C0" -opaque "#808080" -fill black +opaque "#FF00FF" "$out/$1_stars.png"
}

sleep 6  # the ship computer's log-on screen lasts 4.5 s
locate
import -window root "$out/idle_full.png"
shot 0 0 400 300 idle_view_a
shot 148 304 100 100 idle_pad
sleep 0.5
shot 0 0 400 300 idle_view_b
stars idle_view_a
stars idle_view_b
still=$(differ idle_view_a_stars idle_view_b_stars)

# Hold the left button near the top of the pad: full forward thrust. Let go before the ship
# reaches the buoy at the start sector, whose collision would knock the hand off the pad.
xdotool mousemove $((wx + 198)) $((wy + 310)) mousedown 1
sleep 0.5
shot 0 0 400 300 flying_view_a
shot 148 304 100 100 flying_pad
sleep 0.3
shot 0 0 400 300 flying_view_b
import -window root "$out/flying_full.png"
xdotool mouseup 1
stars flying_view_a
stars flying_view_b
streaming=$(differ flying_view_a_stars flying_view_b_stars)
pad_changed=$(differ idle_pad flying_pad)

echo "still view: $still px changed; flying view: $streaming px changed; pad: $pad_changed px changed"
status=0
[ "$still" -lt 50 ] || { echo "FAIL: the view moved while the ship stood still"; status=1; }
[ "$streaming" -gt 200 ] || { echo "FAIL: the stars did not stream while thrusting"; status=1; }
[ "$pad_changed" -gt 200 ] || { echo "FAIL: the pad did not show the press"; status=1; }
[ $status -eq 0 ] && echo "flight_e2e: 1 passed, 0 failed" || echo "flight_e2e: 0 passed, 1 failed"
exit $status
