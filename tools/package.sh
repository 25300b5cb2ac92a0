#!/usr/bin/env bash
# Builds the Debian package in a Release build for /usr, checks the staged install and the
# package (desktop-file-validate, appstreamcli, lintian), then, as root on a test machine, installs
# it with apt-get, plays the first voyage against the installed game as an ordinary user (nobody,
# with a home folder of its own and its own virtual X server), checks that the voyage went into
# ~/.local/share/quelmarin and nothing into /usr, and removes the package again.
# Usage: tools/package.sh [--no-install]   (QM_PACKAGE_BUILD picks the build folder, default
#        build-package; the package is left in it)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${QM_PACKAGE_BUILD:-build-package}
install_too=1
[ "${1:-}" = "--no-install" ] && install_too=0

# Only the game and what the package needs: no tests, no benchmarks.
# Debian's hardening flags, as a package built by Debian's own tools gets them.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
  LDFLAGS=$(dpkg-buildflags --get LDFLAGS) \
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DQM_BUILD_TESTS=OFF -DQM_BUILD_BENCH=OFF -DQM_WERROR=ON >/dev/null
cmake --build "$build" -j "$(nproc)"

stage=$(mktemp -d /tmp/qm-stage.XXXXXX)
work=$(mktemp -d /tmp/qm-installed.XXXXXX)
cleanup() {
  rm -rf "$stage" "$work"
}
trap cleanup EXIT

echo "-- staged install"
DESTDIR="$stage" cmake --install "$build" >/dev/null
app=io.github.tellivar.Quelmarin
desktop-file-validate "$stage/usr/share/applications/$app.desktop" \
  "$stage/usr/share/applications/$app.English.desktop"
appstreamcli validate --no-net --explain "$stage/usr/share/metainfo/$app.metainfo.xml"
for f in usr/games/quelmarin usr/share/quelmarin/dat/map.dat usr/share/quelmarin/cg/title.bmp \
  usr/share/icons/hicolor/48x48/apps/$app.png usr/share/icons/hicolor/256x256/apps/$app.png \
  usr/share/doc/quelmarin/copyright usr/share/doc/quelmarin/changelog.gz \
  usr/share/man/man6/quelmarin.6.gz; do
  [ -f "$stage/$f" ] || { echo "FAIL: the install lacks /$f"; exit 1; }
done
if [ -n "$(find "$stage" -name my.dat -o -name portable.txt -o -name '航海日誌.txt')" ]; then
  echo "FAIL: the install holds a player's file or the portable marker"
  exit 1
fi

echo "-- package"
(cd "$build" && cpack -G DEB >/dev/null)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
deb="$PWD/$build/quelmarin_${version}_amd64.deb"
[ -f "$deb" ] || { echo "FAIL: no $deb"; exit 1; }
echo "$(basename "$deb"): $(stat -c %s "$deb") bytes"
dpkg-deb -f "$deb" Depends Recommends
echo "-- lintian"
# Errors fail the run; warnings and notes are printed for the maintainer.
lintian --fail-on error --display-info "$deb"

[ "$install_too" = 1 ] || exit 0
if [ "$(id -u)" -ne 0 ]; then
  echo "installing and playing the package needs root (a test machine); skipped"
  exit 0
fi

echo "-- installed game, played by an ordinary user"
export DEBIAN_FRONTEND=noninteractive
apt-get install -y "$deb" >"$work/apt-install.log" 2>&1 || { cat "$work/apt-install.log"; exit 1; }
# Everything the player touches lies in a folder of the player's own: the home folder, the run's
# screenshots and a copy of the test scripts (the checkout need not be readable by nobody).
mine="$work/player"
player_home="$mine/home"
out="$mine/play"
mkdir -p "$player_home"
cp -r tests/e2e "$mine/e2e"
chown -R nobody:nogroup "$mine"
chmod 755 "$work"
status=0
setpriv --reuid=nobody --regid=nogroup --clear-groups \
  env -i PATH=/usr/local/bin:/usr/bin:/bin HOME="$player_home" LANG=C.UTF-8 \
  QM_GAME_EXE=/usr/games/quelmarin \
  xvfb-run -a -s "-screen 0 1024x768x24 -noreset" bash "$mine/e2e/play_e2e.sh" /usr/share/quelmarin "$out" ||
  status=$?
saves="$player_home/.local/share/quelmarin"
[ -f "$saves/dat/my.dat" ] || { echo "FAIL: no save in ~/.local/share/quelmarin/dat"; status=1; }
[ -f "$saves/航海日誌.txt" ] || { echo "FAIL: no voyage log in ~/.local/share/quelmarin"; status=1; }
# Nothing under /usr belongs to the player, and the package's files are as installed.
if [ -n "$(find /usr -xdev -user nobody -print -quit)" ]; then
  echo "FAIL: the player wrote under /usr:"
  find /usr -xdev -user nobody | head
  status=1
fi
if ! dpkg --verify quelmarin; then
  echo "FAIL: the installed files changed"
  status=1
fi
extra=$(comm -13 <(dpkg -L quelmarin | sort) <(find /usr/share/quelmarin | sort))
[ -z "$extra" ] || { echo "FAIL: files appeared in the installed data: $extra"; status=1; }
ls -l "$saves" "$saves/dat" || true
if [ "$status" -ne 0 ]; then
  rm -rf "$build/installed_play"
  cp -r "$out" "$build/installed_play" && echo "screenshots and logs kept in $build/installed_play"
fi
apt-get remove -y quelmarin >"$work/apt-remove.log" 2>&1 || { cat "$work/apt-remove.log"; status=1; }
[ ! -e /usr/games/quelmarin ] || { echo "FAIL: removing left /usr/games/quelmarin"; status=1; }
[ "$status" -eq 0 ] && echo "installed game: played, saved into ~/.local/share/quelmarin, removed"
exit "$status"
