#!/usr/bin/env bash
# What showing the game larger costs: the demo fight (limiter off) at 640 x 480
# in full screen on a 1920 x 1080 desktop (a private Xvfb), sharp and smooth,
# in both drawing modes, against the same fight in a 640 x 480 window.
# Prints the benchmark's figures, the scaling's own cost among them.
# Usage: scripts/bench_display.sh [FRAMES]   Environment: BUILD_DIR, DATA_DIR.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
data="${DATA_DIR:-$build/data}"
frames="${1:-3000}"
game="$build/bin/fight"
[ -x "$game" ] || { echo "bench_display: $game is missing; build first" >&2; exit 1; }
[ -d "$data/game" ] || { echo "bench_display: no data in $data (scripts/make_data.sh)" >&2; exit 1; }

work="$(mktemp -d /tmp/bench_display_XXXXXX)"
# A copy of the data whose game.ini adds `extra` lines.
tree() {
  local name="$1" extra="$2"
  mkdir -p "$work/$name"
  cp -r "$data/." "$work/$name/"
  printf '%b' "$extra" >>"$work/$name/game/game.ini"
  echo "$work/$name"
}
windowed="$(tree windowed '')"
sharp="$(tree sharp '\nfullscreen=1\n')"
smooth="$(tree smooth '\nfullscreen=1\nsmooth=1\n')"

. "$root/scripts/xvfb.sh"
XVFB_SCREEN=1920x1080x24 start_xvfb
trap 'stop_xvfb; rm -rf "$work"' EXIT

run() {
  local label="$1" tree="$2" mode="$3"
  echo "== $label"
  DISPLAY=":$display_number" SDL_AUDIODRIVER=dummy LIBGL_ALWAYS_SOFTWARE=1 \
    "$game" --data-dir "$tree" --no-settings "$mode" --demo --fighter 0 --seed 1 --benchmark "$frames" 2>/dev/null |
    grep -E '^benchmark: (ms per|floor|shown)' || echo "bench_display: the run printed no figures" >&2
}
run "software, 640 x 480 window" "$windowed" --software
run "software, full screen 1920 x 1080, sharp" "$sharp" --software
run "software, full screen 1920 x 1080, smooth" "$smooth" --software
run "OpenGL, 640 x 480 window" "$windowed" --opengl
run "OpenGL, full screen 1920 x 1080, sharp" "$sharp" --opengl
