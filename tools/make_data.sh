#!/usr/bin/env bash
# Regenerates the demo's generated data: data/texture*.bmp and data/soundtrack.mp3.
#
#   tools/make_data.sh [SECONDS]     SECONDS = soundtrack length, default 96 (the demo's length)
#
# Builds texgen and synth through the normal CMake build in build/, paints the textures, composes the
# soundtrack (120 BPM: a beat every 500 ms, a bar every 2000 ms; the section starts are printed) and
# encodes it with lame at 160 kbit/s. Old data/texture*.bmp files are removed first, so the numbered set
# has no stale extras. Everything is deterministic: a rerun gives the same textures and sound.
# Scene presets and the sequence file are authored by hand and are not touched.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-96}"

cmake -S . -B build >/dev/null
cmake --build build -j2 --target texgen synth
mkdir -p data
rm -f data/texture*.bmp
build/tools/texgen data
build/tools/synth build/soundtrack.wav "$seconds"
lame --quiet -b 160 build/soundtrack.wav data/soundtrack.mp3
echo "data/soundtrack.mp3: $(du -k data/soundtrack.mp3 | cut -f1) KB"
