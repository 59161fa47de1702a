#!/usr/bin/env bash
# Builds the Debian package build-package/quarnel_VERSION_amd64.deb from what ships only, with Debian's
# hardening flags (dpkg-buildflags), the program stripped and its debug symbols in
# build-package/quarnel.debug, and checks it with lintian --pedantic, which must report nothing but the
# tags tools/packaging/lintian-notes justifies. Install it with
#   sudo apt install ./build-package/quarnel_VERSION_amd64.deb
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
flags() { dpkg-buildflags --get "$1"; }
# CMake reads no CPPFLAGS: the preprocessor's flags (_FORTIFY_SOURCE) go with the compilers'.
cmake -S . -B build-package -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr -DBUILD_TESTING=OFF \
  -DCMAKE_C_FLAGS="$(flags CFLAGS) $(flags CPPFLAGS)" \
  -DCMAKE_CXX_FLAGS="$(flags CXXFLAGS) $(flags CPPFLAGS)" -DCMAKE_EXE_LINKER_FLAGS="$(flags LDFLAGS)" >/dev/null
cmake --build build-package -j"$(nproc)" --target quarnel quarnel_icons
rm -f build-package/quarnel*.deb build-package/quarnel.debug
(cd build-package && cpack -G DEB >/dev/null)
deb=$(ls build-package/quarnel_*_amd64.deb)
lintian --pedantic --display-info --fail-on error,warning,info,pedantic --suppress-tags-from-file tools/packaging/lintian-notes "$deb"
echo "$deb"
