#!/usr/bin/env bash
# Installs the Debian 12 packages a player needs to build and play the game; with --test also
# what the tests, the sanitizer and fuzzing builds and the package checks need.
# --no-install-recommends keeps a 148 MB soundfont and a synthesizer GUI off the machine.
set -euo pipefail
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libgl-dev
  libsdl2-dev libfluidsynth-dev timgm6mb-soundfont
  fonts-ipafont-gothic fonts-ipafont-mincho fonts-liberation2 fonts-dejavu-core
)
if [ "${1:-}" = "--test" ]; then
  packages+=(
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth xdotool x11-utils imagemagick
    clang clang-format clang-tidy libclang-rt-14-dev
    dpkg-dev file lintian desktop-file-utils appstream util-linux gettext python3
  )
fi
$SUDO apt-get update
$SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${packages[@]}"
