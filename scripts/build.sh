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
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$build" -j "$jobs" "${targets[@]}"
