#!/usr/bin/env bash
# Builds the Debian package build-package/quarnel_VERSION_amd64.deb from build/ (tools/build.sh: Debian's
# hardening flags from dpkg-buildflags; only what ships goes into the package, and after tools/test.sh
# nothing is compiled again), the program stripped and its debug symbols in build-package/quarnel.debug,
# and checks it with lintian --pedantic, which must report nothing but the tags
# tools/packaging/lintian-notes justifies. Install it with
#   sudo apt install ./build-package/quarnel_VERSION_amd64.deb
set -euo pipefail
cd "$(dirname "$0")/.."
tools/build.sh
rm -f build-package/quarnel*.deb build-package/quarnel.debug
(cd build && cpack -G DEB -B "$PWD/../build-package" >/dev/null)
deb=$(ls build-package/quarnel_*_amd64.deb)
lintian --pedantic --display-info --fail-on error,warning,info,pedantic --suppress-tags-from-file tools/packaging/lintian-notes "$deb"
echo "$deb"
