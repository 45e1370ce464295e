#!/usr/bin/env bash
# Installs, with apt-get, whatever the build and the tests need and this machine lacks.
# Quiet when everything is already there. Works as root on a fresh Debian 12 machine.
set -euo pipefail

packages=(
  cmake make ccache g++ clang libclang-rt-14-dev
  googletest libgtest-dev libbenchmark-dev zlib1g-dev
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-tools libz-mingw-w64-dev
  wine64 wine fonts-wine fonts-liberation xvfb x11-utils xdotool imagemagick ghostscript
  libjpeg-dev libjpeg-turbo-progs libpng-dev libpng-tools pngcheck libgif-dev giflib-tools
  libtiff-dev libtiff-tools netpbm libvips-tools python3 python3-pil chromium zip unzip
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
