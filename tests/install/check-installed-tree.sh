#!/bin/bash
# check-installed-tree.sh CMAKE BUILD_DIR VERSION ID
# Installs the build into a scratch DESTDIR under /usr, as the package does, and checks what a
# desktop and a user see of it: programs, menu entry, AppStream metadata, icons and manual pages.
set -u
cmake=$1 build=$2 version=$3 id=$4
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

DESTDIR=$root "$cmake" --install "$build" --prefix /usr >/dev/null || { echo "FAIL: cmake --install"; exit 1; }
usr=$root/usr

for program in loomwise loomwise-record; do
  [ -x "$usr/bin/$program" ] || fail "$program is not installed in bin/"
  line=$("$usr/bin/$program" --version 2>&1)
  [ "$line" = "$program (Loomwise) $version" ] || fail "$program --version says '$line', not the build's $version"
done

desktop=$usr/share/applications/$id.desktop
out=$(desktop-file-validate "$desktop" 2>&1) && [ -z "$out" ] || fail "desktop-file-validate: ${out:-exit status}"
grep -qx 'Categories=Graphics;3DGraphics;' "$desktop" || fail "the desktop entry is not in Graphics;3DGraphics"
exec_program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
[ -x "$usr/bin/$exec_program" ] || fail "the desktop entry runs '$exec_program', which is not installed"
icon=$(sed -n 's/^Icon=//p' "$desktop")
[ "$icon" = "$id" ] || fail "the desktop entry's icon is '$icon', not $id"

metainfo=$usr/share/metainfo/$id.metainfo.xml
out=$(appstreamcli validate --no-net --pedantic "$metainfo" 2>&1) || fail "appstreamcli validate: $out"
# Pedantic hints (P:) and infos (I:) do not fail the validator; they fail this check.
issues=$(grep -E '^[EWIP]: ' <<<"$out")
[ -z "$issues" ] || fail "appstreamcli validate --pedantic: $issues"
release=$(grep -o '<release version="[^"]*"' "$metainfo" | head -1 | cut -d'"' -f2)
[ "$release" = "$version" ] || fail "the metainfo's newest release is '$release', not $version"
changelog=$(zcat "$usr/share/doc/loomwise/changelog.gz" | head -1)
[[ $changelog == "loomwise ($version) "* ]] || fail "the changelog's newest entry is '$changelog', not $version"
[ -s "$usr/share/doc/loomwise/copyright" ] || fail "no copyright file"
# The licence is MIT: Debian's machine-readable copyright calls it Expat, AppStream MIT.
grep -q '^License: Expat$' "$usr/share/doc/loomwise/copyright" || fail "the copyright file names no Expat (MIT) licence"
grep -q '<project_license>MIT</project_license>' "$metainfo" || fail "the metainfo's project_license is not MIT"

# A PNG's width and height are the big-endian 32-bit words at bytes 16 and 20.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{ print $1*16777216+$2*65536+$3*256+$4 "x" $5*16777216+$6*65536+$7*256+$8 }'; }
for size in 16 22 24 32 48 64 128 256; do
  png=$usr/share/icons/hicolor/${size}x$size/apps/$id.png
  if [ -f "$png" ]; then
    [ "$(png_size "$png")" = "${size}x$size" ] || fail "$png is $(png_size "$png")"
  else
    fail "no ${size}x$size icon"
  fi
done
grep -q '<svg' "$usr/share/icons/hicolor/scalable/apps/$id.svg" 2>/dev/null || fail "no scalable icon"

for program in loomwise loomwise-record; do
  page=$usr/share/man/man1/$program.1.gz
  [ -f "$page" ] || { fail "no manual page for $program"; continue; }
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "man --warnings $program.1: $warnings"
  text=$(LC_ALL=C MANWIDTH=80 man -l "$page" 2>/dev/null)
  # Every option the program lists must be in its page.
  for option in $("$usr/bin/$program" --help | sed -n '/^Options:$/,/^$/p' | grep -oE '^ +-[^ ,=]+(, -[^ ,=]+)?' | tr -d ','); do
    grep -qF -- "$option" <<<"$text" || fail "$program.1 lacks $option"
  done
done

[ "$failures" -eq 0 ] && echo "The installed tree is complete and valid."
exit $((failures > 0))
