#!/usr/bin/env bash
# Takes the README's screenshots of one edition of the game, so that each Japanese screen can stand
# beside its English one. All of them come from the real game under a virtual X server, played the
# way a new player meets them:
#   title.png       the title, the colony ship flying in
#   new_game.png    NEW GAME's question
#   naming.png      the name panel, the captain's and the ship's names typed
#   flight.png      past the log-on screen, thrusting towards the first buoy
#   arrival.png     the first buoy's arrival page in the message box
#   chart.png       the chart after that buoy: its listing in the box, the map over the view
#   shockwave.png   the shockwave from the solar system: the ship computer's page that says so
#   prologue.png    the prologue roll that follows
#   converter.png   the energy converter's question, on the same voyage continued
#   save.png        the save point's report; voyage_log.txt is the log that save wrote, in UTF-8
#   survey.png      the survey question at the Earth-type planet ニーナ (Nina), on a saved game
#                   made in the planet's sector
# Usage: edition_shots.sh GAME_DIR OUT_DIR LANG   (LANG: ja or en; needs Xvfb, xdotool and
# ImageMagick). Every step checks that it happened; one that did not ends the run with its name.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
[ $# -eq 3 ] || { echo "usage: $0 GAME_DIR OUT_DIR ja|en" >&2; exit 2; }
game_src=$(cd "$1" && pwd)
pictures=$(mkdir -p "$2" && cd "$2" && pwd)
lang=$3
case $lang in
  ja | en) ;;
  *)
    echo "LANG must be ja or en, not $lang" >&2
    exit 2
    ;;
esac

# Troubles strike by chance as the ship flies (one run in ten meets one), and a lit repair button
# or its pages would set one edition's picture apart from the other's: such a run ends with
# status 3 and is flown again, up to three times.
if [ -z "${QM_SHOTS_INSIDE_X:-}" ]; then
  export QM_SHOTS_INSIDE_X=1
  for attempt in 1 2 3; do
    status=0
    xvfb-run -a -s "-screen 0 1024x768x24 -noreset" "$0" "$game_src" "$pictures" "$lang" ||
      status=$?
    [ "$status" -eq 3 ] || exit "$status"
    echo "edition_shots ($lang): chance spoiled run $attempt" >&2
  done
  exit 3
fi

source "$here/../../tests/e2e/title_steps.sh"
source "$here/../../tests/e2e/play_steps.sh"
# play_steps.sh plays in $out: the copy of the game folder, the game's output and the small
# pictures its checks look at. The finished shots go to $pictures.
out=$(mktemp -d)
work=$out
# A failed run keeps its folder, with the game's copy and the last picture taken (raw.ppm).
trap 'qm_cleanup; [ -e "$work/failed" ] || rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=xcb SDL_AUDIODRIVER=dummy
# --lang is remembered in the settings: a player's own must be neither read nor changed.
export XDG_CONFIG_HOME="$work/config"

# Each edition names its windows, its people and its player's files in its own words.
case $lang in
  ja)
    qm_confirm_title="確認"
    qm_voyage_caption="号・船長"
    captain="ミナ" ship="ソラ"
    log_name="航海日誌.txt"
    ;;
  en)
    qm_confirm_title="Confirm"
    qm_voyage_caption=" - Captain "
    captain="Mina" ship="Sora"
    log_name="voyage_log.txt"
    ;;
esac

step="starting"
die() {
  echo "edition_shots ($lang): $step: $*" >&2
  echo "  (the run's folder stays for a look: $work)" >&2
  touch "$work/failed"
  [ -f "$work/game.log" ] && grep -v '^ALSA lib' "$work/game.log" | sed 's/^/  game: /' >&2
  exit 1
}
# A step spoiled by chance rather than gone wrong: the run is flown again.
chance() {
  echo "edition_shots ($lang): $step: $*" >&2
  exit 3
}

# The place and size of a window's client area on the screen: gx, gy, gw, gh. (Not wx and wy:
# those belong to the window the clicks go to.)
geometry() {
  local info
  info=$(xwininfo -id "$1" 2>/dev/null) || die "window $1 is gone"
  gx=$(awk '/Absolute upper-left X/ {print $4}' <<<"$info")
  gy=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$info")
  gw=$(awk '/Width:/ {print $2}' <<<"$info")
  gh=$(awk '/Height:/ {print $2}' <<<"$info")
}

# The screen's rectangle (left top width height) into $work/raw.ppm.
grab() { import -window root -crop "$3x$4+$1+$2" +repage "$work/raw.ppm"; }

# How many pixels of raw.ppm's rectangle (left top width height) have exactly the colour.
pixels_of() {
  convert "$work/raw.ppm" -crop "$3x$4+$1+$2" +repage -fill black +opaque "$5" \
    -fill white -opaque "$5" -colorspace gray -format '%[fx:int(w*h*mean+0.5)]' info:
}

# Keeps raw.ppm as $pictures/NAME.png, stripped and squeezed. A window not drawn yet is black or
# one flat colour, and such a picture is refused rather than kept.
store() {
  local file="$pictures/$1.png" colours
  colours=$(convert "$work/raw.ppm" -format '%k' info:)
  [ "$colours" -ge 16 ] || die "$1.png would show only $colours colours: nothing is drawn"
  convert "$work/raw.ppm" -strip -define png:compression-level=9 "$file"
  echo "$1.png: $(stat -c %s "$file") bytes"
}

# A window's client area.
keep_window() {
  geometry "$1"
  grab "$gx" "$gy" "$gw" "$gh"
  store "$2"
}

# Films the voyage window for a number of microseconds: pictures in quick succession,
# $work/frame_1.ppm to frame_$frames.ppm (import takes 15 to 100 ms for one; the game draws a
# frame every 100 ms). Given a second number, the held Up key is let go once that much time has
# passed: timed here, not by a job of its own, which came a second late on a busy machine and let
# the ship ram the buoy.
film() {
  local length=$1 let_go=${2:-} start=${EPOCHREALTIME/./} now
  frames=0
  while :; do
    frames=$((frames + 1))
    import -window "$voyage" "$work/frame_$frames.ppm" || die "the camera failed"
    now=$((${EPOCHREALTIME/./} - start))
    if [ -n "$let_go" ] && [ "$now" -ge "$let_go" ]; then
      xdotool keyup Up
      let_go=""
    fi
    [ "$now" -lt "$length" ] || break
    sleep 0.03
  done
  [ -z "$let_go" ] || xdotool keyup Up
}

# True when raw.ppm, a picture of the voyage window, carries the view's readouts: the position
# line and the speeds' numbers (right of their bars, which are always drawn). Optionally where the
# window's corner lies in the picture, and "no-speeds" when a box hides them.
readouts_shown() {
  local dx=${1:-0} dy=${2:-0}
  [ "$(pixels_of $((dx + 113)) $((dy + 34)) 100 12 '#00FF00')" -ge 30 ] || return 1
  [ "${3:-}" = no-speeds ] || [ "$(pixels_of $((dx + 65)) $((dy + 228)) 50 30 '#00FF00')" -ge 30 ]
}

# How many red pixels raw.ppm has in its rectangle (left top width height).
red_in() {
  convert "$work/raw.ppm" -crop "$3x$4+$1+$2" +repage -fx 'r>0.3 && g<0.2 && b<0.2' \
    -format '%[fx:int(w*h*mean+0.5)]' info:
}

# The repair buttons, red below the energy gauge, all dark in raw.ppm (the voyage window's corner
# at DX DY in it). A lit one is a trouble: one that came by chance, or the ship rammed the buoy
# (the approach is timed to stop short of it; a ram comes back on every run, and the third ends
# the script).
lamps_dark() {
  local red
  red=$(red_in $((${1:-0} + 4)) $((${2:-0} + 336)) 142 90)
  [ "$red" -eq 0 ] ||
    chance "a repair button is lit: a trouble came by chance, or the ship rammed the buoy"
}

# Whether raw.ppm shows the message box over the panel: its aqua frame runs along the whole top
# row at (4, 304), where the panel's own pictures never do (as qm_box_shown looks at the screen).
box_in_picture() { [ "$(pixels_of 4 304 393 1 '#00FFFF')" -ge 380 ]; }

# Keeps the first of the filmed pictures that carries the readouts, checking that the message box
# is open (box) or closed (no-box) as the step expects; false when no picture carries them.
pick() {
  local i
  for i in $(seq 1 "$frames"); do
    mv "$work/frame_$i.ppm" "$work/raw.ppm"
    if readouts_shown; then
      if [ "$2" = box ]; then
        box_in_picture || die "the message box is not open"
      else
        box_in_picture && chance "a message box is open: a trouble's pages?"
        lamps_dark
      fi
      store "$1"
      return 0
    fi
  done
  return 1
}

# keep_voyage NAME box|no-box: the voyage window on a frame that carries the view's readouts.
# They blink: the speeds come on every other frame, the position on three of four, so both show
# on one frame in four; film six frames long, and at least one of them carries both.
keep_voyage() {
  for _ in 1 2 3 4; do
    film 600000
    pick "$1" "$2" && return 0
  done
  die "the view's readouts never showed"
}

# A question or notice as it stands over the window that asked it: the smallest rectangle holding
# both, so the player sees what is being asked about. Over the voyage window, the picture waits
# for a frame with the view's readouts, as keep_voyage does: the position line always, the speeds
# unless the box hides them.
keep_over() {
  local x0 y0 x1 y1 bx by bw bh speeds=""
  geometry "$2"
  bx=$gx by=$gy bw=$gw bh=$gh
  geometry "$1"
  x0=$((bx < gx ? bx : gx)) y0=$((by < gy ? by : gy))
  x1=$((bx + bw > gx + gw ? bx + bw : gx + gw)) y1=$((by + bh > gy + gh ? by + bh : gy + gh))
  [ $((bx + bw)) -le $((gx + 65)) ] || [ "$bx" -ge $((gx + 115)) ] ||
    [ $((by + bh)) -le $((gy + 228)) ] || [ "$by" -ge $((gy + 258)) ] || speeds=no-speeds
  for _ in $(seq 1 40); do
    grab "$x0" "$y0" $((x1 - x0)) $((y1 - y0))
    if [ "$1" != "${voyage:-}" ]; then
      store "$3"
      return 0
    fi
    if readouts_shown $((gx - x0)) $((gy - y0)) $speeds; then
      lamps_dark $((gx - x0)) $((gy - y0))
      store "$3"
      return 0
    fi
  done
  die "the view's readouts never showed beside the box"
}

# Waits until a box has been drawn whole: two pictures of it in a row alike.
drawn() {
  import -window "$1" "$work/box_a.ppm" 2>/dev/null || die "the box went away"
  for _ in $(seq 1 25); do
    sleep 0.2
    import -window "$1" "$work/box_b.ppm" 2>/dev/null || die "the box went away"
    [ "$(compare -metric AE "$work/box_a.ppm" "$work/box_b.ppm" null: 2>&1 || true)" = 0 ] &&
      return 0
    mv "$work/box_b.ppm" "$work/box_a.ppm"
  done
  die "the box never stood still"
}

# Waits for a box whose title matches PATTERN and prints its id once it is drawn.
drawn_box() {
  local box
  box=$(qm_wait_window "$pid" "$1")
  [ -n "$box" ] || die "no $2 came"
  drawn "$box"
  echo "$box"
}
# The game's question box (its title names the edition's word for "confirm").
question() { drawn_box "^$qm_confirm_title\$" question; }
# The game's notice box (its title is the game's name alone).
notice() { drawn_box '^QUELMARIN$' notice; }

# Answers a box with a key (alt+y, alt+n, Return) and waits until it has gone.
answer() {
  xdotool windowfocus "$1" 2>/dev/null || true
  sleep 0.2
  xdotool key "$2"
  for _ in $(seq 1 30); do
    xwininfo -id "$1" 2>/dev/null | grep -q IsViewable || return 0
    sleep 0.1
  done
  die "the box did not close on $2"
}

# A key to the voyage window; every box it opens takes the keyboard away from it.
press() {
  xdotool windowfocus "$voyage" 2>/dev/null || true
  sleep 0.1
  xdotool key "$1"
}

# The typewriter writes a page letter by letter; waits until the box stops changing.
settle_box() {
  shot 4 304 393 125 box_a
  for _ in $(seq 1 40); do
    sleep 0.5
    shot 4 304 393 125 box_b
    [ "$(differ box_a box_b)" -eq 0 ] && return 0
    mv "$out/box_b.png" "$out/box_a.png"
  done
  die "the message box never stopped changing"
}

# CONTINUE into the saved voyage, past its log-on screen, the keyboard on the voyage window.
continue_voyage() {
  start_game --lang="$lang"
  voyage=$(qm_continue "$pid")
  [ -n "$voyage" ] || die "CONTINUE did not open the voyage window"
  fly_in
}
fly_in() {
  # The log-on screen runs about five seconds before the instruments show.
  sleep 6.5
  qm_origin "$voyage"
  xdotool windowfocus "$voyage"
  sleep 0.2
  qm_box_shown && die "a message box is open right after the log-on"
  return 0
}

# Contacts the point ahead; true once the box (arrival) or a question (survey, its id in `box`)
# has come. A contact out of reach stops the ship dead, so each miss is followed by a touch of
# thrust, a few steps closer: the reach is a hundred steps deep, a touch some twenty.
contact() {
  local what=$1
  for _ in 1 2 3 4 5 6 7 8; do
    press c
    # The examination comes ten frames after the contact.
    for _ in $(seq 1 25); do
      if [ "$what" = box ]; then
        qm_box_shown && return 0
      else
        box=$(qm_visible "^$qm_confirm_title\$")
        [ -n "$box" ] && return 0
      fi
      sleep 0.1
    done
    xdotool keydown Up
    sleep 0.15
    xdotool keyup Up
    sleep 0.8
  done
  return 1
}

# =================================================================================================
# A new voyage, from the title to the prologue
# =================================================================================================
qm_fresh_copy "$game_src"
start_game --lang="$lang"

step="title"
title=$(qm_wait_window "$pid" "Tellivar")
[ -n "$title" ] || die "the title window never appeared"
qm_origin "$title"
# The colony ship is halfway across by now.
sleep 1.1
keep_window "$title" title

step="NEW GAME"
qm_click 328 174
box=$(question)
keep_over "$title" "$box" new_game
answer "$box" alt+y

step="naming"
qm_click 112 168
qm_type "$captain"
qm_click 296 168
qm_type "$ship"
sleep 0.3
keep_window "$title" naming
# Both entries (125 x 24, white) hold black letters; the caret alone is some twenty pixels.
for left in 52 236; do
  letters=$(pixels_of "$left" 156 125 24 '#000000')
  [ "$letters" -ge 40 ] || die "an entry is empty ($letters black pixels at x $left)"
done
qm_click 342 202
voyage=$(qm_wait_window "$pid" "$qm_voyage_caption")
[ -n "$voyage" ] || die "the voyage window never appeared (no window named \"$qm_voyage_caption\")"

step="flight"
fly_in
# A third of a second of thrust and a moment's drift bring the buoy up ahead; a second thrust,
# twice as long, is what the picture catches: filmed from a quarter of a second on, when it has
# gathered speed, so that three frames or more are taken with the pad held (and if none of them
# carries the readouts, one of the next, the speed ebbing). The ship must end inside the contact
# reach, short of the buoy itself: thrust is some fourteen steps a frame, the reach a hundred
# steps deep.
xdotool keydown Up
sleep 0.3
xdotool keyup Up
sleep 1
xdotool keydown Up
sleep 0.25
film 600000 350000
pick flight no-box || keep_voyage flight no-box

step="arrival"
contact box || die "the first buoy never answered the contact"
settle_box
keep_voyage arrival box

step="chart"
# Read to the end, the buoy's pages close the box: the buttons under it work again.
qm_read_box >/dev/null || die "the buoy's pages would not close"
# The last of them was the NEXT POINT page, and the shockwave is now some twenty seconds away:
# the chart is looked at in the meantime.
press m
qm_await_box 20 || die "the chart's listing did not open"
settle_box
keep_voyage chart box
# The map is a dark green grid over the view.
grid=$(pixels_of 70 30 260 230 '#008000')
[ "$grid" -ge 2000 ] || die "no map over the view ($grid grid pixels)"
qm_read_box >/dev/null || die "the chart's pages would not close"

step="shockwave"
qm_await_box 600 || die "no shockwave within a minute of the NEXT POINT page"
# The fifth of the ship computer's seven pages is the one that tells where the blast came from.
for _ in 1 2 3 4; do
  settle_box
  qm_click 200 380
  qm_box_shown || die "the ship computer's pages ended early"
done
settle_box
keep_voyage shockwave box

step="prologue"
qm_read_box >/dev/null || die "the ship computer's pages would not close"
# Turning the last page started the roll. Each of its lines rises from the middle of the view
# and grows for ten seconds; the second ("we left the Earth") stands high and large five and a
# half seconds into its turn.
sleep 14.5
keep_voyage prologue no-box
# The letters are white and large, where the stars and the buoy leave a few dozen white pixels.
white=$(pixels_of 30 20 340 260 '#FFFFFF')
[ "$white" -ge 250 ] || die "no roll over the view ($white white pixels)"

# Ending the game saves the voyage, so it can be continued for the converter and the save point.
step="quitting with a save"
qm_close_window "$voyage"
box=$(question)
answer "$box" alt+y
box=$(notice)
answer "$box" Return
qm_wait_exit "$pid" || die "the game did not end"
stop_game
[ -f "$game/dat/my.dat" ] || die "no saved voyage"

# =================================================================================================
# The same voyage continued: the energy converter and the save point
# =================================================================================================
# The save point must write its own log, not leave the one the quit wrote.
rm -f "$game/$log_name"
continue_voyage

step="converter"
press e
box=$(question)
keep_over "$voyage" "$box" converter
answer "$box" alt+n

step="save"
press r
box=$(question)
answer "$box" alt+y
box=$(notice)
keep_over "$voyage" "$box" save
answer "$box" Return
[ -f "$game/$log_name" ] || die "the save wrote no $log_name"
iconv -f CP932 -t UTF-8 "$game/$log_name" >"$pictures/voyage_log.txt" ||
  die "$log_name is not CP932"
grep -q "$captain" "$pictures/voyage_log.txt" || die "$log_name does not name the captain"
echo "voyage_log.txt: $(stat -c %s "$pictures/voyage_log.txt") bytes"
stop_game

# =================================================================================================
# The survey question, on a saved game in the sector of the planet ニーナ
# =================================================================================================
step="survey"
# The chart's X runs the other way from the sector's: ニーナ stands at chart (6, 1, 4).
qm_saved_game new "$game/dat/map.dat" "$game/dat/my.dat" name="$captain" ship="$ship" \
  sector_x=-6 sector_y=1 sector_z=4
continue_voyage
# The planet stands ahead, as the first buoy does at the start: half a second of thrust and a
# moment's drift bring the ship into its contact reach.
xdotool keydown Up
sleep 0.5
xdotool keyup Up
sleep 1.5
contact question || die "the planet never asked for a survey"
drawn "$box"
keep_over "$voyage" "$box" survey
answer "$box" alt+n
stop_game
echo "edition_shots ($lang): all taken"
