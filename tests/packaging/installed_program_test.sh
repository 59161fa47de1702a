#!/usr/bin/env bash
# The installed program, as a user meets it: `cmake --install` into a staging folder (not the prefix the
# build was configured for), then, each from a working folder of its own, --check with no argument passes
# on the installed demo (also beside an unrelated data/, and under comma-decimal language settings),
# --render draws it, --new makes a demo that --check passes from a third folder, the program names itself
# as it is run, the man page renders without warnings, --help is the man page's synopsis, and the desktop
# entry, the AppStream metainfo and the icons are there and valid.
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
for size in 16 22 24 32 48 64 128 256; do
  icon="$stage/share/icons/hicolor/${size}x${size}/apps/quarnel.png"
  [ "$(identify -format %wx%h "$icon" 2>/dev/null)" = "${size}x${size}" ] || fail "no ${size} px icon"
done
if grep -rl "/usr/local" "$stage/share/applications" "$stage/share/man" "$stage/share/metainfo"; then
  fail "a file holds the prefix the build was configured for"
fi

mkdir "$work/one" "$work/two" "$work/three"
cd "$work/one"
out=$("$quarnel" --check) || fail "--check on the installed demo: $out"
grep -q "share/quarnel/demo/data: check passed" <<<"$out" || fail "--check did not take the installed demo: $out"
mkdir data && echo "not a demo" >data/notes.txt
out=$("$quarnel" --check) || fail "--check beside an unrelated data/: $out"
grep -q "share/quarnel/demo/data: check passed" <<<"$out" || fail "--check took an unrelated data/: $out"
for locale in de_DE.UTF-8 tr_TR.UTF-8; do
  out=$(LC_ALL=$locale "$quarnel" --check) || fail "--check under $locale: $out"
done
"$quarnel" --render 5000 x.png --fps 10 --size 160x120 || fail "--render on the installed demo"
# A viewer sees a picture: the frame is not one flat colour.
colours=$(convert x.png -format %k info:) || fail "x.png is no picture"
[ "$colours" -gt 50 ] || fail "the rendered frame shows only $colours colours"

cd "$work/two"
"$quarnel" --new mydemo >new.txt || fail "--new: $(cat new.txt)"
grep -qF "$quarnel -d mydemo/data" new.txt || fail "--new does not say how to author the copy: $(cat new.txt)"
PATH="$stage/bin:$PATH" quarnel --new ondemand >new.txt || fail "--new from PATH: $(cat new.txt)"
grep -q "^author it:  quarnel -d ondemand/data" new.txt || fail "the program on PATH does not name itself quarnel: $(cat new.txt)"
"$quarnel" --new mydemo 2>refused.txt && fail "--new over a demo that exists succeeded"
grep -q "not an empty folder" refused.txt || fail "--new refused without saying why: $(cat refused.txt)"
cd "$work/three"
out=$("$quarnel" --check ../two/mydemo/data) || fail "--check of the new demo from another folder: $out"

page="$stage/share/man/man1/quarnel.1"
warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "the man page renders with warnings: $warnings"
synopsis=$(MANWIDTH=200 LC_ALL=C man -l "$page" 2>/dev/null | sed -n '/^SYNOPSIS/,/^DESCRIPTION/p' | sed '1d;$d')
help=$("$quarnel" --help | sed 's/^usage://')
[ "$(tr -s ' \n' ' ' <<<"$synopsis" | sed 's/^ //;s/ $//')" = "$(tr -s ' \n' ' ' <<<"$help" | sed 's/^ //;s/ $//')" ] ||
  fail "--help differs from the man page's synopsis"

desktop-file-validate "$stage/share/applications/io.github.quarnel.quarnel.desktop" || fail "the desktop entry is not valid"
appstreamcli validate --pedantic --no-net "$stage/share/metainfo/io.github.quarnel.quarnel.metainfo.xml" >/dev/null ||
  fail "the AppStream metainfo is not valid"
echo "PASS"
