#!/usr/bin/env bash
# Runs a command on a private X server (Xvfb) that picks its own free display number (-displayfd), so
# that any number of these start side by side without two taking the same number (xvfb-run -a can).
#   own_display.sh SCREEN COMMAND...   (SCREEN as WIDTHxHEIGHTxDEPTH)
set -euo pipefail
screen="$1"
shift
number_file=$(mktemp /tmp/quarnel-display.XXXXXX)
Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp 3>"$number_file" >/dev/null 2>&1 &
server=$!
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; rm -f "$number_file"' EXIT
# The server writes its number once it accepts clients; up to 20 s under load.
for ((tenth = 0; tenth < 200; ++tenth)); do
  grep -q . "$number_file" && break
  kill -0 "$server" 2>/dev/null || { echo "Xvfb did not start" >&2; exit 1; }
  sleep 0.1
done
number=$(head -n1 "$number_file")
[ -n "$number" ] || { echo "Xvfb gave no display number within 20 s" >&2; exit 1; }
DISPLAY=":$number" "$@"
