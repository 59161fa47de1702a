#!/usr/bin/env bash
# Installs the Debian packages that quarnel's build and program need, and with no argument also those of
# its tests and its package. Idempotent: asks dpkg first and runs apt-get only for what is missing.
#   tools/setup.sh           everything (tools/test.sh, tools/package.sh)
#   tools/setup.sh --play    only what builds and plays the program (tools/play.sh)
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libfltk1.3-dev libgl1-mesa-dri libgl-dev libglu1-mesa-dev libegl-dev libxext-dev libxrandr-dev
  libsdl2-dev libmpg123-dev libstb-dev libglm-dev ffmpeg x11-utils libkissfft-dev liblo-dev librtmidi-dev
)
if [ "${1:-}" != "--play" ]; then
  packages+=(
    ninja-build libgtest-dev libbenchmark-dev xvfb xauth lame sox xdotool imagemagick locales
    lintian desktop-file-utils man-db appstream dpkg-dev parallel jackd2 liblo-tools
  )
fi

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
[ "${1:-}" != "--play" ] || exit 0

# Locales with a decimal comma (Turkish also with its own i and I), for the tests of number reading.
for name in de_DE tr_TR; do
  locale -a 2>/dev/null | grep -qi "^$name.utf8$" || $sudo localedef -i "$name" -f UTF-8 "$name.UTF-8"
done
