#!/usr/bin/env bash
# Installs what is missing and builds quarnel into build/ (every compiler warning is an error).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUARNEL_WERROR=ON >/dev/null
cmake --build build -j"$(nproc)"
