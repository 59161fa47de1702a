#!/usr/bin/env bash
# Installs the Debian packages that quarnel's build, program and tests need.
# Idempotent: asks dpkg first and runs apt-get only for what is missing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config libgtest-dev libbenchmark-dev
  libfltk1.3-dev libgl1-mesa-dri libgl-dev libglu1-mesa-dev libegl-dev libxext-dev libxrandr-dev
  xvfb xauth libsdl2-dev libmpg123-dev libstb-dev libglm-dev
  lame sox ffmpeg xdotool x11-utils imagemagick locales parallel
  lintian desktop-file-utils man-db
)

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

# A locale with a decimal comma, for the tests of number reading and writing.
locale -a 2>/dev/null | grep -qi '^de_DE.utf8$' || $sudo localedef -i de_DE -f UTF-8 de_DE.UTF-8
