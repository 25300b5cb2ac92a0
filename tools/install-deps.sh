#!/usr/bin/env bash
# Installs every Debian 12 package the game needs to build, run and test.
# --no-install-recommends keeps a 148 MB soundfont and a synthesizer GUI off the machine.
set -euo pipefail
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
packages=(
  build-essential cmake ninja-build pkg-config clang-format
  qt6-base-dev libgl-dev
  libsdl2-dev libfluidsynth-dev timgm6mb-soundfont
  fonts-ipafont-gothic fonts-ipafont-mincho fonts-dejavu-core
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool x11-utils imagemagick
)
if [ "${1:-}" = "--test" ]; then
  packages+=(clang libclang-rt-14-dev)
fi
$SUDO apt-get update
$SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${packages[@]}"
