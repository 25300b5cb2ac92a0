# Takes each file of one folder of the game away in turn and starts the game without it; source
# it after title_steps.sh and play_steps.sh. For each file: the game starts, shows the error box
# where the game names a missing file (a picture of the voyage window, the chart) and none
# elsewhere, comes to the title once the boxes are answered with Return, and goes on into the
# voyage window, which is still running a moment later. Without dat/my.dat CONTINUE leads nowhere
# and NEW GAME is the way in.

# Starts the game and answers its error boxes until the title window shows; sets `title` (empty
# when it never came) and `boxes`, the number of boxes answered, keeping a picture of the first.
qm_start_past_boxes() {
  local tag=$1 box
  start_game
  title=""
  boxes=0
  for _ in $(seq 1 100); do
    title=$(xdotool search --all --onlyvisible --pid "$pid" --name Tellivar 2>/dev/null |
      head -n 1 || true)
    [ -n "$title" ] && return 0
    alive || return 1
    box=$(xdotool search --all --onlyvisible --pid "$pid" --name '^QUELMARIN$' 2>/dev/null |
      head -n 1 || true)
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

# Boxes the game shows at start for a missing file: the voyage window names each of its own
# pictures, and the chart's absence is reported when the saved game is loaded.
qm_boxes_for() {
  case "$1" in
    cg/black.bmp | cg/gamen.bmp | cg/txt.bmp | cg/cont.bmp | cg/cont2.bmp | cg/bui*.bmp | \
      cg/noize*.bmp | cg/trable.bmp | cg/syowaku.bmp | dat/map.dat)
      echo 1
      ;;
    *) echo 0 ;;
  esac
}

qm_without_each() {
  local folder=$1 file tag expected voyage aside="$out/aside"
  mkdir -p "$aside"
  # Every run continues this voyage, so every run has a saved game unless it is the one taken.
  qm_saved_game new "$game/dat/map.dat" "$game/dat/my.dat" name=ﾃｽﾄ ship=ﾃｽﾄ
  for path in "$game/$folder"/*; do
    file="$folder/$(basename "$path")"
    tag=${file//\//_}
    expected=$(qm_boxes_for "$file")
    mv "$path" "$aside/"
    echo "--- without $file" >>"$out/game.log"
    qm_start_past_boxes "$tag" || true
    if [ -z "$title" ]; then
      fail "without $file the title never showed"
    else
      [ "$boxes" -eq "$expected" ] || fail "without $file: $boxes error boxes, not $expected"
      [ $boxes -eq 0 ] || qm_is_error_box "box_$tag" || fail "without $file the box is no error box"
      qm_origin "$title"
      if [ "$file" = dat/map.dat ]; then
        # A failed load leaves the title window at the size it was designed at.
        [ "$(xwininfo -id "$title" | awk '/Width:/ {print $2}')" = 779 ] ||
          fail "without $file the title window took its playing size"
      fi
      if [ "$file" = dat/my.dat ]; then
        qm_click 328 140
        sleep 0.5
        [ -z "$(qm_wait_window_briefly "号・船長")" ] || fail "CONTINUE went on without a save"
        voyage=$(qm_enter_new_voyage)
      else
        qm_click 328 140
        voyage=$(qm_wait_window "$pid" "号・船長")
      fi
      if [ -z "$voyage" ]; then
        fail "without $file the voyage window did not open"
      else
        sleep 0.8
        if ! alive; then
          fail "without $file the game died in the voyage window"
        elif ! xdotool search --all --onlyvisible --pid "$pid" --name "号・船長" >/dev/null 2>&1; then
          fail "without $file the voyage window went away"
        fi
      fi
    fi
    stop_game
    mv "$aside/$(basename "$path")" "$path"
  done
}

# A window of the game whose name matches, if one is visible right now.
qm_wait_window_briefly() {
  xdotool search --all --onlyvisible --pid "$pid" --name "$1" 2>/dev/null | head -n 1 || true
}

# NEW GAME with one-letter names typed straight in: the keyboard has the letters, so nothing
# needs the spare keys that other names are typed with.
qm_enter_new_voyage() {
  qm_click 328 174
  qm_answer "$pid" alt+y || return 1
  qm_click 112 168
  xdotool type --delay 30 "a"
  qm_click 296 168
  xdotool type --delay 30 "b"
  qm_click 342 202
  qm_wait_window "$pid" "号・船長"
}
