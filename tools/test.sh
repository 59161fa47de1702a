#!/usr/bin/env bash
# Installs what is missing, builds quarnel and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/build.sh
cd build
ctest --output-on-failure
