#!/usr/bin/env bash
# What a fight frame's simulation costs without drawing, at 640x480 and
# 1920x1080: one step, one save, one restore, an 8-frame rollback (restore and
# 8 steps), median and p99. Usage: scripts/bench_step.sh [FRAMES]
# Environment: BUILD_DIR (default build), DATA_DIR (default $BUILD_DIR/data).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
data="$(cd "${DATA_DIR:-$build/data}" && pwd)"
bench="$build/bin/step_bench"
[ -x "$bench" ] || { echo "bench_step: $bench is missing; build first" >&2; exit 1; }
[ -d "$data/game" ] || { echo "bench_step: no data in $data (scripts/make_data.sh)" >&2; exit 1; }
for size in "640 480" "1920 1080"; do
  # shellcheck disable=SC2086
  SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$bench" "$data" $size "${1:-6000}" | grep '^step_bench:'
done
