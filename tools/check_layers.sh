#!/usr/bin/env bash
# The layering rules of the source tree, checked over the include lines:
#  - a file in a layer's folder (or in its tests' folder) includes headers of that layer and those below
#    it only; the layers, lowest first, are listed in LAYERS;
#  - only widgets/, tweak/, timeline/ and ui/ (and their tests) include FLTK's headers;
#  - no two source files share a name, whatever their folders.
# Usage: tools/check_layers.sh [SOURCE_DIR]   (default: this script's project). Exit 0 when all hold,
# 1 with one line per broken rule otherwise.
set -euo pipefail
root="${1:-$(dirname "$0")/..}"
cd "$root"

LAYERS=(scene audio gpu draw engine authoring widgets tweak timeline devmode ui cli)
TOOLKIT_LAYERS=" widgets tweak timeline ui "

rank() {  # the layer's position in LAYERS, or nothing when it is not a layer
  local i
  for i in "${!LAYERS[@]}"; do [ "${LAYERS[$i]}" = "$1" ] && echo "$i" && return; done
  return 0
}

faults=0
fault() { echo "$1"; faults=$((faults + 1)); }

while IFS= read -r file; do
  folder="${file%%/*}"
  [ "$folder" = tests ] && { rest="${file#tests/}"; folder="${rest%%/*}"; }
  own=$(rank "$folder")
  [ -n "$own" ] || continue
  while IFS= read -r line; do
    header=$(sed -E 's/^#include [<"]([^">]+)[">].*/\1/' <<<"$line")
    top="${header%%/*}"
    if [ "$top" = FL ] && [[ "$TOOLKIT_LAYERS" != *" $folder "* ]]; then
      fault "$file: includes the window toolkit ($header); only widgets/, tweak/, timeline/ and ui/ may"
      continue
    fi
    theirs=$(rank "$top")
    if [ -n "$theirs" ] && [ "$theirs" -gt "$own" ]; then
      fault "$file: includes $header of the higher layer $top/ (layers, lowest first: ${LAYERS[*]})"
    fi
  done < <(grep -E '^#include [<"]' "$file" || true)
done < <(find "${LAYERS[@]}" tests -type f \( -name '*.cpp' -o -name '*.h' \) 2>/dev/null | sort)

while IFS= read -r name; do
  fault "the file name $name is used more than once: $(find . -path ./build -prune -o -name "$name" -print | sort | tr '\n' ' ')"
done < <(find "${LAYERS[@]}" tests tools bench -type f \( -name '*.cpp' -o -name '*.h' \) -printf '%f\n' 2>/dev/null |
           sort | uniq -d)

[ "$faults" -eq 0 ] || exit 1
