#!/usr/bin/env bash
# The voyage window in full screen on the screens players have, each a virtual X server of its
# own: 1280 x 800, 1366 x 768, 1920 x 1080 and 2560 x 1440. On each the window is put full screen
# with F11 and flown by mouse: a nudge on the pad, contact once the buoy at the start is within
# reach, and clicks on the message box until its pages are read. Prints for each screen the size
# and place the window is shown at and its factor, and whether the pad, contact and the message
# box answered; keeps in OUT_DIR a picture of each whole screen with the arrival page (halved),
# and of the contact button and of the status line's text at the screen's own pixels, shown three
# times larger so that its pixels can be counted.
# Usage: tools/make_pictures/screen_sizes_shots.sh [GAME_DIR] [OUT_DIR]
#   (defaults build/game and docs/screens; the game folder is copied, nothing is written into it)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
steps="$here/../../tests/e2e"
game_src=$(cd "${1:-$here/../../build/game}" && pwd)
mkdir -p "${2:-$here/../../docs/screens}"
dest=$(cd "${2:-$here/../../docs/screens}" && pwd)
source "$steps/title_steps.sh"
source "$steps/play_steps.sh"
source "$steps/screen_steps.sh"
export QT_QPA_PLATFORM=xcb
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
work=$(mktemp -d /tmp/qm-screens.XXXXXX)
trap 'qm_cleanup; qm_own_screen_stop; rm -rf "$work"' EXIT

printf '%-11s %-11s %-12s %-7s %s\n' screen shown at factor "mouse (pad, contact, message box)"
for screen in 1280x800 1366x768 1920x1080 2560x1440; do
  sw=${screen%x*}
  sh=${screen#*x}
  out="$work/$screen"
  qm_fresh_copy "$game_src"
  export XDG_CONFIG_HOME="$out/config"
  qm_own_screen "$screen"
  qm_hold_display
  qm_saved_game new "$game/dat/map.dat" "$player/dat/my.dat" name=ﾐﾅ ship=ｿﾗ
  start_game
  voyage=$(qm_continue "$pid")
  if [ -z "$voyage" ]; then
    echo "$screen: the voyage window did not open"
    cat "$out/game.log"
    exit 1
  fi
  shown=$(date +%s.%N)
  qm_full_screen "$voyage"
  qm_fit_place 400 428 "$sw" "$sh"

  if qm_fit_fly_to_contact "$shown"; then
    import -window root "$out/screen.png"
    if clicks=$(qm_fit_read_box); then
      answered="pad and contact; $clicks clicks read the arrival pages"
    else
      answered="pad and contact; the box would not close"
    fi
  else
    answered="contact brought no arrival pages"
    import -window root "$out/screen.png"
  fi
  sleep 0.3
  import -window root "$out/panel.png"

  # What the screen shows: everything that is not black is the window.
  read -r w h x y < <(convert "$out/screen.png" -format "%@\n" info: | tr 'x+' '  ')
  factor=$(python3 -c "print(f'{min($w / 400, $h / 428):.4f}')")
  [ "$w" = "$fit_w" ] && [ "$h" = "$fit_h" ] && [ "$x" = "$fit_x" ] && [ "$y" = "$fit_y" ] ||
    answered="$answered; NOT AT THE FIT ${fit_w}x${fit_h}+${fit_x}+${fit_y}"
  # The whole screen with the arrival page, halved, and the contact button once the page is read,
  # at three times the screen's own pixels.
  convert "$out/screen.png" -resize 50% "$dest/full_screen_${screen}.png"
  qm_fit_point 246 300
  convert "$out/panel.png" -crop "$((104 * fit_w / 400))x$((44 * fit_h / 428))+$px+$py" +repage \
    -scale 300% "$dest/pixels_${screen}.png"
  # The status line's text, drawn at the next whole factor and reduced: finer than the pixels.
  qm_fit_point 148 405
  convert "$out/panel.png" -crop "$((249 * fit_w / 400))x$((22 * fit_h / 428))+$px+$py" +repage \
    -scale 300% "$dest/text_${screen}.png"
  printf '%-11s %-11s %-12s %-7s %s\n' "$screen" "${w}x${h}" "($x,$y)" "$factor" "$answered"
  stop_game
  [ -n "$holder" ] && kill "$holder" 2>/dev/null || true
  holder=""
  qm_own_screen_stop
done
