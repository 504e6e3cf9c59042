#!/usr/bin/env bash
# Installs what is needed, builds everything and runs every test: software
# mode with SDL's dummy drivers, OpenGL mode under a private Xvfb.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
"$root/scripts/make_data.sh"

# A private X server for the OpenGL-mode tests, stopped by its own pid.
. "$root/scripts/xvfb.sh"
start_xvfb
trap 'stop_xvfb' EXIT
export DISPLAY=":$display_number"
export LIBGL_ALWAYS_SOFTWARE=1
export GAME_DATA_DIR="$root/build/data"

cd "$root/build"
# A test that hangs fails by name after 10 minutes instead of holding CI to its limit.
ctest --output-on-failure --no-tests=error --timeout 600 -j "$(nproc 2>/dev/null || echo 2)" "$@"

# The long checks: the sanitizer build with every test in both drawing modes,
# 15 s of each fuzz target and a short soak. In CI (CI=true) or with FULL_TESTS=1.
if [ "${CI:-}" = true ] || [ "${FULL_TESTS:-}" = 1 ]; then
  if [ -x "$root/scripts/sanitize.sh" ]; then "$root/scripts/sanitize.sh"; fi
  if [ -x "$root/scripts/fuzz.sh" ]; then FUZZ_DATA_DIR="$GAME_DATA_DIR" "$root/scripts/fuzz.sh" all 15; fi
  if [ -x "$root/scripts/soak.sh" ]; then SOAK_TIME_TOLERANCE=50 "$root/scripts/soak.sh" 20000; fi
fi
