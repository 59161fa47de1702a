#!/usr/bin/env bash
# Plays the demo in data/: looks for a display first, then installs what is missing and builds the
# program alone (no tests) into build-play/. Arguments go to the program instead of "data":
#   tools/play.sh                       the launcher; press Start
#   tools/play.sh --export demo.mp4     no display needed: the demo as a video
set -euo pipefail
cd "$(dirname "$0")/.."
case "${1:-}" in
  --export | --render | --check | --print-frame | --new | --help | -h | --version | -v) ;;
  *)
    if [ -z "${DISPLAY:-}" ] || { command -v xdpyinfo >/dev/null && ! xdpyinfo >/dev/null 2>&1; }; then
      echo "tools/play.sh: no display found${DISPLAY:+ (cannot open $DISPLAY)}." >&2
      echo "Without one, write the demo as a video instead:  tools/play.sh --export demo.mp4" >&2
      exit 1
    fi
    ;;
esac
tools/setup.sh --play
cmake -S . -B build-play -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF >/dev/null
cmake --build build-play -j"$(nproc)" --target quarnel
[ $# -gt 0 ] || set -- data
exec build-play/quarnel "$@"
