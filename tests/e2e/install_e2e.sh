#!/usr/bin/env bash
# `cmake --install` into a staging root (DESTDIR) gives a game laid out as Linux expects: the
# executable in games/, the read-only pictures, sounds, music and chart under share/quelmarin
# (without anybody's save and without the portable marker), the desktop entry, icons and metadata
# beside them. Started from another folder under a virtual X server, the installed game shows its
# title, opens a new voyage and saves it into the player's data folder ($XDG_DATA_HOME/quelmarin),
# never into its own data, while the build's portable game folder still keeps its save in itself.
# Usage: install_e2e.sh GAME_DIR OUT_DIR   (GAME_DIR is the build's game folder; the build folder
#        holding it is the one installed. Run inside xvfb-run, or with DISPLAY set)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/title_steps.sh"
source "$here/play_steps.sh"
game_src=$(cd "$1" && pwd)
build=$(dirname "$game_src")
out=$2
rm -rf "$out"
mkdir -p "$out"
stage="$out/stage"
prefix=/opt/quelmarin-test
export QT_QPA_PLATFORM=xcb
export XDG_DATA_HOME="$out/xdg-data"
trap qm_cleanup EXIT
qm_hold_display

started=$SECONDS
DESTDIR="$stage" cmake --install "$build" --prefix "$prefix" >"$out/install.log" 2>&1 ||
  { cat "$out/install.log"; fail "cmake --install failed"; qm_report install_e2e; }
echo "installed in $((SECONDS - started)) s"
root="$stage$prefix"
data="$root/share/quelmarin"
# games/ unless the build was told another CMAKE_INSTALL_BINDIR.
exe=$(ls "$root"/games/quelmarin "$root"/bin/quelmarin 2>/dev/null | head -n 1 || true)
[ -n "$exe" ] && [ -x "$exe" ] && [ ! -L "$exe" ] || fail "no executable games/quelmarin"
# The game folder's data as the build made it, every picture, sound and the chart, and no one's save.
diff -r -x my.dat -x '*.tmp' "$game_src/cg" "$data/cg" >/dev/null || fail "cg/ was not installed whole"
diff -r -x my.dat -x '*.tmp' "$game_src/dat" "$data/dat" >/dev/null || fail "dat/ was not installed whole"
[ -z "$(ls "$data" | grep -v -x -e cg -e dat)" ] || fail "stray files in share/quelmarin"
[ -z "$(find "$root" -name my.dat -o -name portable.txt -o -name '航海日誌.txt')" ] ||
  fail "a save, a voyage log or the portable marker was installed"
for f in share/applications/io.github.tellivar.Quelmarin.desktop \
  share/applications/io.github.tellivar.Quelmarin.English.desktop \
  share/metainfo/io.github.tellivar.Quelmarin.metainfo.xml \
  share/icons/hicolor/48x48/apps/io.github.tellivar.Quelmarin.png \
  share/icons/hicolor/256x256/apps/io.github.tellivar.Quelmarin.png \
  share/doc/quelmarin/copyright share/man/man6/quelmarin.6.gz; do
  [ -f "$root/$f" ] || fail "no $f installed"
done
# The installed data is read-only for the game: nothing may appear in it.
chmod -R a-w "$data"
before=$(find "$root" -printf '%P %s %T@\n' | sort)

# Started from a folder that is not the game's, the staged game finds its data beside games/.
(cd / && exec "$exe") >>"$out/game.log" 2>&1 &
pid=$!
voyage=$(qm_new_voyage "$pid" "ｲﾝｽﾄ" "ｰﾙ") || true
if [ -n "$voyage" ]; then
  sleep 0.5
  qm_origin "$voyage"
  sleep 1
  shot 0 0 400 300 installed_logon
  [ "$(count installed_logon '#00FF00')" -ge 60000 ] || fail "the installed game shows no log-on screen"
  qm_quit alt+y || fail "closing did not ask whether to save"
  qm_answer_notice saved || fail "the installed game did not report its save"
  qm_is_error_box saved && fail "the installed game could not save"
  qm_wait_exit "$pid" || fail "the installed game did not end"
  pid=""
  [ "$(qm_saved_game get "$XDG_DATA_HOME/quelmarin/dat/my.dat" name 2>/dev/null)" = "ｲﾝｽﾄ" ] ||
    fail "the save did not go into the player's data folder"
  [ -f "$XDG_DATA_HOME/quelmarin/航海日誌.txt" ] || fail "the voyage log is not in the player's data folder"
  [ "$(find "$root" -printf '%P %s %T@\n' | sort)" = "$before" ] || fail "the game wrote into its install"
else
  fail "the installed game did not open a voyage"
  cat "$out/game.log"
fi
chmod -R u+w "$data"

# The build's own game folder is portable: a copy of it saves beside itself, not in the data folder.
rm -rf "$XDG_DATA_HOME"
game="$out/portable"
cp -r "$game_src" "$game"
rm -f "$game/dat/my.dat" "$game/航海日誌.txt"
exe="$game/quelmarin"
start_game
voyage=$(qm_new_voyage "$pid" "ﾎﾟｰ" "ﾀﾌﾞﾙ") || true
if [ -n "$voyage" ]; then
  sleep 0.5
  qm_origin "$voyage"
  qm_quit alt+y || fail "closing the portable game did not ask whether to save"
  qm_answer_notice portable_saved || fail "the portable game did not report its save"
  qm_wait_exit "$pid" || fail "the portable game did not end"
  pid=""
  [ "$(qm_saved_game get "$game/dat/my.dat" name 2>/dev/null)" = "ﾎﾟｰ" ] ||
    fail "the portable game did not save into its own dat/"
  [ -f "$game/航海日誌.txt" ] || fail "the portable game's voyage log is not beside it"
  [ ! -e "$XDG_DATA_HOME" ] || fail "the portable game wrote into the player's data folder"
else
  fail "the portable game did not open a voyage"
fi

# A copy that lost its marker still holds its data beside the executable: it plays from there
# without an error box and keeps the voyage with it.
rm -rf "$XDG_DATA_HOME"
game="$out/unmarked"
cp -r "$game_src" "$game"
rm -f "$game/portable.txt" "$game/dat/my.dat" "$game/航海日誌.txt"
exe="$game/quelmarin"
qm_start_past_boxes unmarked || true
[ -n "$title" ] && [ "$boxes" -eq 0 ] || fail "the unmarked copy started with $boxes error boxes"
voyage=$(qm_new_voyage "$pid" "ｺﾋﾟｰ" "ﾌｫﾙﾀﾞ") || true
if [ -n "$voyage" ]; then
  qm_quit alt+y || fail "closing the unmarked copy did not ask whether to save"
  qm_answer_notice unmarked_saved || fail "the unmarked copy did not report its save"
  qm_wait_exit "$pid" || fail "the unmarked copy did not end"
  pid=""
  [ "$(qm_saved_game get "$game/dat/my.dat" name 2>/dev/null)" = "ｺﾋﾟｰ" ] ||
    fail "the unmarked copy did not save into its own dat/"
  [ ! -e "$XDG_DATA_HOME" ] || fail "the unmarked copy wrote into the player's data folder"
else
  fail "the unmarked copy did not open a voyage"
fi
stop_game

qm_report install_e2e
