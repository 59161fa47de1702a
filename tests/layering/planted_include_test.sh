#!/usr/bin/env bash
# The layering check refuses what it is there to refuse: an upward include, the window toolkit below
# tweak/, a file name used twice; and it passes the same tree without them.
set -euo pipefail
check="$1"
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree/scene" "$tree/engine" "$tree/ui" "$tree/tests/draw"
printf '#include "scene/model.h"\n' > "$tree/engine/clock.cpp"
printf '#include <FL/Fl.H>\n#include "engine/clock.h"\n' > "$tree/ui/window.cpp"
"$check" "$tree" || { echo "a sound tree was refused"; exit 1; }

expect_refused() {  # FILE LINE WORDS: LINE in FILE makes the check fail, naming WORDS
  local out
  cp -r "$tree" "$tree.case"
  printf '%s\n' "$2" >> "$tree.case/$1"
  if out=$("$check" "$tree.case"); then echo "not refused: $2 in $1"; exit 1; fi
  grep -q "$3" <<<"$out" || { echo "the refusal does not say '$3': $out"; exit 1; }
  rm -rf "$tree.case"
}
expect_refused scene/model.cpp '#include "engine/clock.h"' "higher layer engine/"
expect_refused tests/draw/pictures_test.cpp '#include "ui/window.h"' "higher layer ui/"
expect_refused engine/clock.cpp '#include <FL/Fl.H>' "window toolkit"
expect_refused scene/clock.cpp '// same name as engine/clock.cpp' "clock.cpp is used more than once"
echo "the layering check refuses every planted fault"
