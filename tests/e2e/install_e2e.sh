#!/usr/bin/env bash
# `cmake --install` into a prefix of its own gives a game that runs: the built game folder under
# lib/quelmarin (without anybody's save), a link bin/quelmarin, and, started through that link
# from another folder under a virtual X server, the game shows its title, opens a new voyage and
# saves it into its installed dat/, its voyage log beside it.
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
prefix="$out/prefix"
export QT_QPA_PLATFORM=xcb
trap qm_cleanup EXIT
qm_hold_display

started=$SECONDS
cmake --install "$build" --prefix "$prefix" >"$out/install.log" 2>&1 ||
  { cat "$out/install.log"; fail "cmake --install failed"; qm_report install_e2e; }
echo "installed in $((SECONDS - started)) s"
folder="$prefix/lib/quelmarin"
[ -L "$prefix/bin/quelmarin" ] || fail "no link bin/quelmarin"
[ "$(readlink -f "$prefix/bin/quelmarin")" = "$(readlink -f "$folder/quelmarin")" ] ||
  fail "bin/quelmarin does not lead to the installed game"
[ -x "$folder/quelmarin" ] || fail "the installed game cannot be run"
# The game folder as the build made it, every picture, sound and the chart, and no one's save.
diff -r -x my.dat -x '*.tmp' "$game_src/cg" "$folder/cg" >/dev/null || fail "cg/ was not installed whole"
diff -r -x my.dat -x '*.tmp' "$game_src/dat" "$folder/dat" >/dev/null || fail "dat/ was not installed whole"
[ ! -e "$folder/dat/my.dat" ] || fail "a save was installed"
[ -z "$(ls "$folder" | grep -v -x -e quelmarin -e cg -e dat)" ] || fail "stray files installed"

# Started through the link, from a folder that is not the game's.
game="$folder"
(cd / && exec "$prefix/bin/quelmarin") >>"$out/game.log" 2>&1 &
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
  [ "$(qm_saved_game get "$folder/dat/my.dat" name 2>/dev/null)" = "ｲﾝｽﾄ" ] ||
    fail "the save did not go into the installed dat/"
  [ -f "$folder/航海日誌.txt" ] || fail "the voyage log did not go beside the installed game"
else
  fail "the installed game did not open a voyage"
  cat "$out/game.log"
fi

qm_report install_e2e
