#!/usr/bin/env bash
# The layering rules of the source tree, checked over the include lines:
#  - a file in a layer's folder (or in its tests' folder) includes headers of that layer and those below
#    it only; the layers, lowest first, are listed in LAYERS;
#  - only widgets/, tweak/, timeline/ and ui/ (and their tests) include FLTK's headers;
#  - no two source files share a name, whatever their folders.
# Usage: tools/check_layers.sh [SOURCE_DIR]   (default: this script's project). Exit 0 when all hold,
# 1 with one line per broken rule otherwise. One grep and one awk over the whole tree.
set -euo pipefail
root="${1:-$(dirname "$0")/..}"
cd "$root"

LAYERS=(scene audio gpu draw engine authoring widgets tweak timeline devmode ui cli)
TOOLKIT_LAYERS="widgets tweak timeline ui"

sources() {  # the C++ files under the given folders, NUL-separated
  find "$@" -type f \( -name '*.cpp' -o -name '*.h' \) -print0 2>/dev/null || true
}

# Every include line as "file:#include ...", then one verdict per broken rule.
includes=$(sources "${LAYERS[@]}" tests | xargs -0 -r grep -H -E '^#include [<"]' || true)
include_faults=$(awk -v layers="${LAYERS[*]}" -v toolkit="$TOOLKIT_LAYERS" '
  BEGIN {
    count = split(layers, names, " ")
    for (i = 1; i <= count; i++) rank[names[i]] = i
    split(toolkit, kit, " ")
    for (i in kit) mayUseToolkit[kit[i]] = 1
  }
  {
    colon = index($0, ":")
    file = substr($0, 1, colon - 1)
    split(file, parts, "/")
    folder = (parts[1] == "tests") ? parts[2] : parts[1]
    if (!(folder in rank)) next
    header = substr($0, colon + 1)
    sub(/^#include [<"]/, "", header)
    sub(/[">].*$/, "", header)
    top = header
    sub(/\/.*$/, "", top)
    if (top == "FL" && !(folder in mayUseToolkit))
      print file ": includes the window toolkit (" header "); only widgets/, tweak/, timeline/ and ui/ may"
    else if ((top in rank) && rank[top] > rank[folder])
      print file ": includes " header " of the higher layer " top "/ (layers, lowest first: " layers ")"
  }' <<<"$includes" | sort)

name_faults=$(sources "${LAYERS[@]}" tests tools bench | sort -z | tr '\0' '\n' | awk '
  {
    name = $0
    sub(/^.*\//, "", name)
    paths[name] = paths[name] "./" $0 " "
    seen[name]++
  }
  END {
    for (name in seen)
      if (seen[name] > 1) print "the file name " name " is used more than once: " paths[name]
  }' | sort)

faults=$(printf '%s\n%s\n' "$include_faults" "$name_faults" | sed '/^$/d')
[ -z "$faults" ] || { echo "$faults"; exit 1; }
