#!/usr/bin/env bash
# Builds the Debian package build/quarnel_VERSION_amd64.deb with CPack (re-using build/, installed under
# /usr) and checks it with lintian, which must report no errors. Install it with
#   sudo apt install ./build/quarnel_VERSION_amd64.deb
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
cmake --build build -j"$(nproc)"
rm -f build/quarnel_*.deb
(cd build && cpack -G DEB >/dev/null)
deb=$(ls build/quarnel_*_amd64.deb)
lintian --fail-on error --suppress-tags-from-file /dev/null "$deb"
echo "$deb"
