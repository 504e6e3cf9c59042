#!/usr/bin/env bash
# Installs what is needed, builds everything and runs every test: software
# mode with SDL's dummy drivers, OpenGL mode under a private Xvfb.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
"$root/scripts/make_data.sh"

# A private X server for the OpenGL-mode tests, stopped by its own pid.
display_number=$(( 90 + RANDOM % 800 ))
while [ -e "/tmp/.X${display_number}-lock" ]; do display_number=$(( display_number + 1 )); done
Xvfb ":$display_number" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true' EXIT
for _ in $(seq 50); do
  [ -e "/tmp/.X11-unix/X$display_number" ] && break
  sleep 0.1
done
export DISPLAY=":$display_number"
export LIBGL_ALWAYS_SOFTWARE=1
export GAME_DATA_DIR="$root/build/data"

cd "$root/build"
ctest --output-on-failure -j "$(nproc 2>/dev/null || echo 2)" "$@"

# The long checks: the sanitizer build with every test in both drawing modes,
# 15 s of each fuzz target and a short soak. In CI (CI=true) or with FULL_TESTS=1.
if [ "${CI:-}" = true ] || [ "${FULL_TESTS:-}" = 1 ]; then
  if [ -x "$root/scripts/sanitize.sh" ]; then "$root/scripts/sanitize.sh"; fi
  if [ -x "$root/scripts/fuzz.sh" ]; then FUZZ_DATA_DIR="$GAME_DATA_DIR" "$root/scripts/fuzz.sh" all 15; fi
  if [ -x "$root/scripts/soak.sh" ]; then "$root/scripts/soak.sh" 20000; fi
fi
