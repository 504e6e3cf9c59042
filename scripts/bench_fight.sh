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
  env "$@" "$game" --data-dir "$data" --no-settings "$mode" --demo --fighter 0 --seed 1 --benchmark "$frames" 2>/dev/null |
    grep '^benchmark:' || echo "bench_fight: the run printed no figures" >&2
}

export SDL_AUDIODRIVER=dummy
run "software, dummy video driver" --software SDL_VIDEODRIVER=dummy

# A private X server, stopped by its own pid.
. "$root/scripts/xvfb.sh"
start_xvfb
trap 'stop_xvfb' EXIT
run "software, Xvfb" --software DISPLAY=":$display_number"
# The game asks sdl12-compat not to render offscreen in a window; the second run
# overrides that to show what the offscreen copy at every swap costs.
run "OpenGL, Xvfb (llvmpipe)" --opengl DISPLAY=":$display_number" LIBGL_ALWAYS_SOFTWARE=1
run "OpenGL, Xvfb (llvmpipe), compat scaling forced on" --opengl DISPLAY=":$display_number" SDL12COMPAT_OPENGL_SCALING=1 LIBGL_ALWAYS_SOFTWARE=1
