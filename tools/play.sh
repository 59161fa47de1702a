#!/usr/bin/env bash
# Installs what is missing, builds quarnel and plays the demo in data/.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/build.sh
exec build/quarnel data
