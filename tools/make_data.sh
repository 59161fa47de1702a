#!/usr/bin/env bash
# Regenerates the demo's generated data: data/texture*.bmp, data/soundtrack.mp3, the scene presets
# data/scene0.txt .. data/scene10.txt (from their recipes in tools/scene_recipes.cpp) and the automation
# keys of data/sceneseq.txt (from their recipes in tools/automation_recipes.cpp).
#
#   tools/make_data.sh [SECONDS]     SECONDS = soundtrack length, default 96 (the demo's length)
#
# Builds texgen and synth through the normal CMake build in build/, paints the textures, composes the
# soundtrack (120 BPM: a beat every 500 ms, a bar every 2000 ms; the section starts are printed) and
# encodes it with lame at 160 kbit/s. Old data/texture*.bmp files are removed first, so the numbered set
# has no stale extras. Everything is deterministic: a rerun gives the same textures and sound.
# The sequence file data/sceneseq.txt is authored by hand: keygen rewrites only its key lines
# ("// key ..." in the header) and leaves every other line as it is, byte for byte; preset files beyond
# the recipes' numbers are left alone.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-96}"

cmake -S . -B build >/dev/null
cmake --build build -j2 --target texgen synth presetgen keygen
mkdir -p data
rm -f data/texture*.bmp
build/tools/texgen data
build/tools/synth build/soundtrack.wav "$seconds"
lame --quiet -b 160 build/soundtrack.wav data/soundtrack.mp3
build/tools/presetgen data
build/tools/keygen data
echo "data/soundtrack.mp3: $(du -k data/soundtrack.mp3 | cut -f1) KB"
