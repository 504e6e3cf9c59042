#!/usr/bin/env bash
# The Debian package of the build tree: its name, its files, dependencies
# computed from the libraries the game links, and lintian without errors.
# Usage: debian_package_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build="$1"
source="$2"
fail() { echo "FAIL: $*" >&2; exit 1; }

deb="$(BUILD_DIR="$build" "$source/scripts/package.sh" --no-build)"
[[ "$(basename "$deb")" =~ ^veltmoore-brawl_[0-9]+\.[0-9]+\.[0-9]+_amd64\.deb$ ]] || fail "package named $deb"

files="$(dpkg-deb -c "$deb" | awk '{print $6}')"
for f in ./usr/games/veltmoore-brawl ./usr/share/veltmoore-brawl/data/game/game.ini \
         ./usr/share/veltmoore-brawl/data/rsrc/Veranda.ttf ./usr/share/applications/veltmoore-brawl.desktop \
         ./usr/share/icons/hicolor/64x64/apps/veltmoore-brawl.png ./usr/share/icons/hicolor/256x256/apps/veltmoore-brawl.png \
         ./usr/share/metainfo/net.veltmoore.brawl.metainfo.xml ./usr/share/man/man6/veltmoore-brawl.6.gz \
         ./usr/share/doc/veltmoore-brawl/copyright; do
  grep -qxF "$f" <<<"$files" || fail "$f is not in the package"
done
if grep -v -e '^\./usr/' -e '^\./$' <<<"$files"; then fail "files outside /usr"; fi
if grep '^\./usr/bin/' <<<"$files"; then fail "Debian keeps a game's program in /usr/games"; fi
if grep -q '\.complete$' <<<"$files"; then fail "the build's marker file is packaged"; fi

depends="$(dpkg-deb -f "$deb" Depends)"
for lib in libsdl1.2 libsdl-image1.2 libsdl-ttf2.0-0 libsdl-mixer1.2 libsdl-gfx1.2 libopengl0 libpng16-16 libc6; do
  grep -q "\b$lib" <<<"$depends" || fail "Depends lacks $lib: $depends"
done

start=$(date +%s)
lintian --no-tag-display-limit "$deb" >"$build/package/lintian.txt" 2>&1 || true
echo "lintian: $(( $(date +%s) - start )) s"
cat "$build/package/lintian.txt"
if grep -q '^E:' "$build/package/lintian.txt"; then fail "lintian reports errors"; fi
echo "Debian package: OK"
