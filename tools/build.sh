#!/usr/bin/env bash
# Installs what is missing and builds quarnel into build/ (every compiler warning is an error), with
# Debian's release flags (dpkg-buildflags, hardening on): the tests run the program the package ships,
# and tools/package.sh packs it from build/ without compiling it again.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
flags() { dpkg-buildflags --get "$1"; }
# CMake reads no CPPFLAGS: the preprocessor's flags (_FORTIFY_SOURCE) go with the compilers'. Ninja for a
# new build folder (an existing one keeps the generator it was made with).
CMAKE_GENERATOR="${CMAKE_GENERATOR:-Ninja}" cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUARNEL_WERROR=ON \
  -DCMAKE_C_FLAGS="$(flags CFLAGS) $(flags CPPFLAGS)" \
  -DCMAKE_CXX_FLAGS="$(flags CXXFLAGS) $(flags CPPFLAGS)" -DCMAKE_EXE_LINKER_FLAGS="$(flags LDFLAGS)" >/dev/null
cmake --build build -j"$(nproc)"
