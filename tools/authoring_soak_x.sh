#!/bin/bash
# The authoring soak with the real windows: `quarnel -d --music` on its own X server, driven with xdotool
# as an author would (clicks over the tweak window's controls, typed values, Ctrl+Z / Ctrl+Y, the clock
# keys, Space over the picture, picks in "set", saves into the picked preset's file or a new one and edits
# of the files from outside), message boxes closed with Enter as they come (a question takes its first
# answer). Fails when the program ends or shows a fatal box.
#
#   tools/authoring_soak_x.sh [MINUTES] [QUARNEL_BINARY] [SCREEN]   # defaults: 5, build/quarnel, 1280x1024
#
# Run from the project folder (the data folder's MP3 path is relative to it). Needs xvfb-run and xdotool.
set -u
minutes=${1:-5}
binary=${2:-build/quarnel}
screen=${3:-1280x1024}

if [ -z "${SOAK_INSIDE_X:-}" ]; then
  export SOAK_INSIDE_X=1
  exec xvfb-run -a -s "-screen 0 ${screen}x24" "$0" "$minutes" "$binary" "$screen"
fi

work=$(mktemp -d /tmp/quarnel-soak-x.XXXXXX)
cp -r data "$work/data"
log="$work/quarnel.log"
echo "display $DISPLAY" >"$work/display.txt"
# Its recovery file goes with the rest of the run.
XDG_STATE_HOME="$work/state" SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy} MESA_DEBUG=1 "$binary" -d --music "$work/data" >>"$log" 2>&1 &
pid=$!
end=$(( $(date +%s) + ${minutes%.*} * 60 ))
actions=0 boxes=0 edits=0

fail() {
  echo "FAIL after $actions actions: $1"
  echo "--- program output (last lines):"
  tail -20 "$log"
  kill -9 "$pid" 2>/dev/null
  exit 1
}

# Moves the pointer to (X, Y) of WINDOW and does the actions there: at WINDOW X Y ACTION...
# `mousemove --sync` waits up to 15 s for the pointer to leave where it was: step one pixel aside first.
at() {
  local window=$1 x=$2 y=$3
  shift 3
  xdotool mousemove --window "$window" $((x - 1)) "$y" mousemove --sync --window "$window" "$x" "$y" "$@" 2>/dev/null
}

# Closes every open message box; a fatal one fails the soak.
close_boxes() {
  if xdotool search --onlyvisible --name '^Demo fuckup message' >/dev/null 2>&1; then fail "a fatal error box"; fi
  for box in $(xdotool search --onlyvisible --name '^dravel was here$' 2>/dev/null); do
    at "$box" 20 20 key Return
    boxes=$((boxes + 1))
  done
}

# An editor changes one base value line of the picked preset's file (scene0 .. scene10 are all watched).
edit_outside() {
  file="$work/data/scene$((RANDOM % 11)).txt"
  value=$(shuf -n1 -e -- -5 300 0 1 255 70000 12 -1)
  line=$((4 + 6 * (RANDOM % 77)))
  sed -i "${line}s/^-\?[0-9.e]*/$value/" "$file"
  touch -d "+$((edits + 1)) seconds" "$file"
  edits=$((edits + 1))
}

tweak=""
for _ in $(seq 1 100); do
  tweak=$(xdotool search --onlyvisible --class quarnel-tweak 2>/dev/null | head -1)
  [ -n "$tweak" ] && break
  sleep 0.2
done
[ -n "$tweak" ] || fail "no tweak window"
output=$(xdotool search --onlyvisible --class '^quarnel$' 2>/dev/null | head -1)

click() { at "$tweak" "$1" "$2" click 1; }

while [ "$(date +%s)" -lt "$end" ]; do
  kill -0 "$pid" 2>/dev/null || fail "the program ended"
  close_boxes
  xdotool windowmap "$tweak" 2>/dev/null
  case $((RANDOM % 15)) in
    0) click $((10 + RANDOM % 230)) $((92 + RANDOM % 140)) ;;                         # the parameter list
    1) click 270 $((100 + 37 * (RANDOM % 4))) ;;                                      # first last up dn
    2) click 238 290; xdotool key ctrl+a BackSpace; xdotool type -- "$(shuf -n1 -e -- 0 1 2 12 255 300 -3 1e 70000 0.5)"
       xdotool key Return ;;                                                          # the base value
    3) click 188 313 ;; 4) click 246 313 ;;                                           # add, sub
    5) click 215 372 ;; 6) click 256 372 ;;                                           # rand, var
    7) click 68 490; xdotool key Down Return ;;                                       # a pick in "set"
    8) click 81 513 ;;                                                                # load
    9) click 116 513 ;;                                                               # save
    14) click 170 513 ;;                                                              # save as new
    10) xdotool key ctrl+z ctrl+z ctrl+y ;;
    11) edit_outside ;;
    12) xdotool key "$(shuf -n1 -e F5 F6 F7 F8)" ;;
    13) [ -n "$output" ] && at "$output" 300 200 key space ;;
  esac
  actions=$((actions + 1))
  sleep 0.2
done
close_boxes
kill -0 "$pid" 2>/dev/null || fail "the program ended"
if grep -q "Mesa: User error" "$log"; then fail "Mesa reported a user error"; fi
kill -9 "$pid" 2>/dev/null
echo "PASS: $actions actions, $boxes message boxes closed, $edits outside edits in $minutes minutes"
rm -rf "$work"
