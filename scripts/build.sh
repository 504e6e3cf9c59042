#!/usr/bin/env bash
# Configures build/ and builds the game, its tools and its tests. With --game
# it builds only what playing needs: the game and the content generator.
# Further arguments go to cmake's configure step.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
jobs="$(nproc 2>/dev/null || echo 2)"
targets=()
if [ "${1:-}" = "--game" ]; then
  shift
  targets=(--target fight gen_content)
fi
# ccache, where installed, lets several checkouts share compiled objects.
launcher=()
if command -v ccache >/dev/null 2>&1; then
  export CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=1
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" "$@" >/dev/null
cmake --build "$build" -j "$jobs" "${targets[@]}"
