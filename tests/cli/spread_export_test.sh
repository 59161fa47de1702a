#!/bin/sh
# The README's export spread over machines, run with GNU parallel's local sshlogin ":" (no ssh): range
# parts of the picture alone, joined by the README's ffmpeg command with the soundtrack, equal the
# export in one piece frame for frame (lossless FFV1, so the decoded pictures are compared).
# Usage: spread_export_test.sh QUARNEL_BINARY DATA_DIR
set -eu
quarnel=$1
data=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
options="--codec ffv1 --fps 10 --size 160x120"

"$quarnel" --export whole.mkv $options --to 6000 "$data" 2>/dev/null
parallel --sshlogin : "$quarnel" --export part-{1}.mkv $options --no-music --from {1} --to {2} "$data" \
  ::: 0 2000 4000 :::+ 1999 3999 6000 2>/dev/null
printf "file '%s'\n" part-0.mkv part-2000.mkv part-4000.mkv > parts.txt
ffmpeg -v error -f concat -safe 0 -i parts.txt -i "$data/soundtrack.mp3" -map 0:v -map 1:a -c copy -shortest joined.mkv

frames() { ffmpeg -v error -i "$1" -map 0:v -f framemd5 - | grep -v '^#'; }
frames whole.mkv > whole.txt
frames joined.mkv > joined.txt
[ "$(wc -l < whole.txt)" -eq 61 ] || { echo "the whole export has $(wc -l < whole.txt) frames, not 61"; exit 1; }
diff whole.txt joined.txt > /dev/null || { echo "the joined parts differ from the whole export:"; diff whole.txt joined.txt | head; exit 1; }
echo "61 frames, the same"
