#!/usr/bin/env bash
# Installs every Debian package that building, playing and testing need.
set -euo pipefail

PACKAGES=(
  cmake ninja-build g++ clang libclang-rt-14-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libsfml-dev libopenal1 libopenal-dev libasound2-dev libvorbis-dev
  xvfb xauth xdotool x11-apps imagemagick libx11-dev
  netcat-openbsd python3 tmux
  fonts-dejavu-core fonts-3270
)

missing=()
for package in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update
  $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
