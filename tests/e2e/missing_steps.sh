# Takes each file of one folder of the game away in turn and starts the game without it; source
# it after title_steps.sh and play_steps.sh. For each file: the game starts, shows the error box
# where the game names a missing file (a picture of the voyage window, the chart) and none
# elsewhere, comes to the title once the boxes are answered with Return, and goes on into the
# voyage window, which is still running a moment later. Without dat/my.dat CONTINUE leads nowhere
# and NEW GAME is the way in.

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
  local folder=$1 file tag expected way aside="$out/aside"
  mkdir -p "$aside"
  # Every run continues this voyage, so every run has a saved game unless it is the one taken.
  qm_saved_game new "$game/dat/map.dat" "$game/dat/my.dat" name=ﾃｽﾄ ship=ﾃｽﾄ
  for path in "$game/$folder"/*; do
    file="$folder/$(basename "$path")"
    tag=${file//\//_}
    expected=$(qm_boxes_for "$file")
    mv "$path" "$aside/"
    echo "--- without $file" >>"$out/game.log"
    if [ "$file" = dat/my.dat ]; then way=new; else way=continue; fi
    qm_plays_on "without $file" $way "$expected" "$tag"
    # A failed load leaves the title window at the size it was designed at.
    if [ "$file" = dat/map.dat ] && [ -n "$title" ] &&
      [ "$(xwininfo -id "$title" | awk '/Width:/ {print $2}')" != 779 ]; then
      fail "without $file the title window took its playing size"
    fi
    stop_game
    mv "$aside/$(basename "$path")" "$path"
  done
}
