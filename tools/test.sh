#!/usr/bin/env bash
# Installs what is missing, builds quarnel, runs every test, then builds the Debian package and checks
# it with lintian (tools/package.sh, in build-package/).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/build.sh
# Two tests a core: the window tests spend much of their time waiting for their X server and the program.
(cd build && ctest -j"$((2 * $(nproc)))" --output-on-failure)
tools/package.sh
