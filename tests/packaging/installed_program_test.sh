#!/usr/bin/env bash
# The installed program, as a user meets it: `cmake --install` into a staging folder, then, each from a
# working folder of its own, --check with no argument passes on the installed demo, --render draws it,
# --new makes a demo that --check passes from a third folder, the man page renders without warnings,
# --help is the man page's synopsis, and the desktop entry is valid.
#   installed_program_test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d /tmp/quarnel-installed.XXXXXX)
trap 'rm -rf "$work"' EXIT
stage="$work/stage"
fail() { echo "FAIL: $*"; exit 1; }

cmake --install "$build" --prefix "$stage" >/dev/null
quarnel="$stage/bin/quarnel"
[ -x "$quarnel" ] || fail "no program in $stage/bin"
[ -f "$stage/share/quarnel/demo/data/soundtrack.mp3" ] || fail "the installed demo has no MP3"
[ -f "$stage/share/doc/quarnel/copyright" ] || fail "no licence in share/doc/quarnel"
[ -f "$stage/share/icons/hicolor/256x256/apps/quarnel.png" ] || fail "no icon"

mkdir "$work/one" "$work/two" "$work/three"
cd "$work/one"
out=$("$quarnel" --check) || fail "--check on the installed demo: $out"
grep -q "share/quarnel/demo/data: check passed" <<<"$out" || fail "--check did not take the installed demo: $out"
"$quarnel" --render 5000 x.png --fps 10 --size 160x120 || fail "--render on the installed demo"
# A viewer sees a picture: the frame is not one flat colour.
colours=$(convert x.png -format %k info:) || fail "x.png is no picture"
[ "$colours" -gt 50 ] || fail "the rendered frame shows only $colours colours"

cd "$work/two"
"$quarnel" --new mydemo >new.txt || fail "--new: $(cat new.txt)"
grep -q "quarnel -d mydemo/data" new.txt || fail "--new does not say how to author the copy: $(cat new.txt)"
"$quarnel" --new mydemo 2>refused.txt && fail "--new over a demo that exists succeeded"
grep -q "not an empty folder" refused.txt || fail "--new refused without saying why: $(cat refused.txt)"
cd "$work/three"
out=$("$quarnel" --check ../two/mydemo/data) || fail "--check of the new demo from another folder: $out"

page="$stage/share/man/man6/quarnel.6"
warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "the man page renders with warnings: $warnings"
synopsis=$(MANWIDTH=200 LC_ALL=C man -l "$page" 2>/dev/null | sed -n '/^SYNOPSIS/,/^DESCRIPTION/p' | sed '1d;$d')
help=$("$quarnel" --help | sed 's/^usage://')
[ "$(tr -s ' \n' ' ' <<<"$synopsis" | sed 's/^ //;s/ $//')" = "$(tr -s ' \n' ' ' <<<"$help" | sed 's/^ //;s/ $//')" ] ||
  fail "--help differs from the man page's synopsis"

desktop-file-validate "$stage/share/applications/quarnel.desktop" || fail "the desktop entry is not valid"
echo "PASS"
