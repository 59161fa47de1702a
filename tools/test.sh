#!/usr/bin/env bash
# Installs what is missing, builds quarnel, runs every test, then builds the Debian package and checks
# it with lintian (tools/package.sh, in build-package/).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/build.sh
(cd build && ctest -j"$(nproc)" --output-on-failure)
tools/package.sh
