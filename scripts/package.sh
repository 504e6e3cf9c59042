#!/usr/bin/env bash
# Builds the Debian package build/package/veltmoore-brawl_VERSION_amd64.deb with
# CPack (its library dependencies computed by dpkg-shlibdeps) and prints its
# path. --no-build packages build/ as it is. Check it with lintian FILE.deb.
# The package puts the program in /usr/games, as Debian does for games
# (cmake/debian_games_dir.cmake); `cmake --install` puts it in PREFIX/bin.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
if [ "${1:-}" != "--no-build" ]; then
  "$root/scripts/setup.sh"
  "$root/scripts/build.sh"
fi
rm -rf "$build/package"
# The dependencies, from the libraries the game links: dpkg-shlibdeps on the
# executable, the package's only program. (CPack can run it too, but first
# runs `file` on each of the ~300 data files: a minute instead of a second.)
shlibs="$(mktemp -d)"
trap 'rm -rf "$shlibs"' EXIT
mkdir "$shlibs/debian"
printf 'Source: veltmoore-brawl\n\nPackage: veltmoore-brawl\nArchitecture: any\n' >"$shlibs/debian/control"
# (It warns that the program is not yet where the package puts it: expected here.)
depends="$(cd "$shlibs" && dpkg-shlibdeps -O "$build/bin/fight" 2>"$shlibs/err" | sed -n 's/^shlibs:Depends=//p')" ||
  { cat "$shlibs/err" >&2; exit 1; }
[ -n "$depends" ] || { echo "package: dpkg-shlibdeps found no dependencies" >&2; exit 1; }
# A fresh staging tree, so a stale one never leaks old files in.
cpack --config "$build/CPackConfig.cmake" -B "$build/package" -D CPACK_DEBIAN_PACKAGE_SHLIBDEPS=OFF \
  -D "CPACK_DEBIAN_PACKAGE_DEPENDS=$depends" >"$build/package.log" 2>&1 || {
  cat "$build/package.log" >&2
  exit 1
}
rm -rf "$build/package/_CPack_Packages"
ls "$build"/package/veltmoore-brawl_*.deb
