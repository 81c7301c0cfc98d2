#!/usr/bin/env bash
# Installs the Debian packages the project needs: with --play only what
# building and playing the game needs, by default everything for the tests
# too. Runs apt-get (through sudo when not root) only when one is missing.
set -euo pipefail

PLAY_PACKAGES=(
  cmake ninja-build g++
  libsfml-dev libopenal-dev libasound2-dev
  fonts-3270
)
TEST_PACKAGES=(
  clang libclang-rt-14-dev ccache
  libgtest-dev libgmock-dev libbenchmark-dev libvorbis-dev
  xvfb xauth xdotool x11-apps imagemagick libx11-dev libxtst-dev
  netcat-openbsd python3 pkg-config time tmux doxygen
  fonts-dejavu-core
)

case "${1:-}" in
  --play) packages=("${PLAY_PACKAGES[@]}") ;;
  "") packages=("${PLAY_PACKAGES[@]}" "${TEST_PACKAGES[@]}") ;;
  *)
    echo "usage: $0 [--play]" >&2
    exit 2
    ;;
esac

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update
  $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
