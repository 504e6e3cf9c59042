#!/usr/bin/env bash
# Times the fight (demo mode, 640 x 480, limiter off) on the bundled content in
# both drawing modes: software with the dummy driver, software under Xvfb, and
# OpenGL under Xvfb (Mesa llvmpipe). Usage: scripts/bench_fight.sh [FRAMES]
# Environment: BUILD_DIR (default build), DATA_DIR (default $BUILD_DIR/data).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
data="${DATA_DIR:-$build/data}"
frames="${1:-3000}"
game="$build/bin/fight"
[ -x "$game" ] || { echo "bench_fight: $game is missing; build first" >&2; exit 1; }
[ -d "$data/game" ] || { echo "bench_fight: no data in $data (scripts/make_data.sh)" >&2; exit 1; }

# run LABEL MODE_OPTION [NAME=VALUE ...]
run() {
  local label="$1" mode="$2"; shift 2
  echo "== $label"
  env "$@" "$game" --data-dir "$data" "$mode" --demo --fighter 0 --seed 1 --benchmark "$frames" 2>/dev/null |
    grep '^benchmark:' || echo "bench_fight: the run printed no figures" >&2
}

export SDL_AUDIODRIVER=dummy
run "software, dummy video driver" --software SDL_VIDEODRIVER=dummy

# A private X server, stopped by its own pid.
display_number=$(( 90 + RANDOM % 800 ))
while [ -e "/tmp/.X${display_number}-lock" ]; do display_number=$(( display_number + 1 )); done
Xvfb ":$display_number" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true' EXIT
for _ in $(seq 50); do
  [ -e "/tmp/.X11-unix/X$display_number" ] && break
  sleep 0.1
done
run "software, Xvfb" --software DISPLAY=":$display_number"
# Without SDL12COMPAT_OPENGL_SCALING=0 sdl12-compat copies an offscreen buffer at every swap.
run "OpenGL, Xvfb (llvmpipe)" --opengl DISPLAY=":$display_number" SDL12COMPAT_OPENGL_SCALING=0 LIBGL_ALWAYS_SOFTWARE=1
run "OpenGL, Xvfb (llvmpipe), compat scaling left on" --opengl DISPLAY=":$display_number" LIBGL_ALWAYS_SOFTWARE=1
