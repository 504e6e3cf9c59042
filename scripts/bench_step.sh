#!/usr/bin/env bash
# What a fight frame's simulation costs without drawing, at 640x480 and
# 1920x1080: one step, one save, one restore, an 8-frame rollback (restore and
# 8 steps), median and p99; then the whole frame as the game runs it (step and
# draw, software mode, dummy video driver, limiter off) at the same sizes.
# Usage: scripts/bench_step.sh [FRAMES [GAME_FRAMES]]
# Environment: BUILD_DIR (default build), DATA_DIR (default $BUILD_DIR/data).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
data="$(cd "${DATA_DIR:-$build/data}" && pwd)"
bench="$build/bin/step_bench"
game="$build/bin/fight"
[ -x "$bench" ] || { echo "bench_step: $bench is missing; build first" >&2; exit 1; }
[ -x "$game" ] || { echo "bench_step: $game is missing; build first" >&2; exit 1; }
[ -d "$data/game" ] || { echo "bench_step: no data in $data (scripts/make_data.sh)" >&2; exit 1; }
for size in "640 480" "1920 1080"; do
  # shellcheck disable=SC2086
  SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$bench" "$data" $size "${1:-6000}" | grep '^step_bench:'
done

# The game has no size option: each size gets a copy of the data tree whose
# game.ini asks for it.
work="$(mktemp -d /tmp/bench_step_XXXXXX)"
trap 'rm -rf "$work"' EXIT
for size in 640x480 1920x1080; do
  w="${size%x*}" h="${size#*x}"
  tree="$work/$size"
  mkdir -p "$tree"
  cp -r "$data/." "$tree/"
  sed -i -e "s/^width=.*/width=$w/" -e "s/^height=.*/height=$h/" "$tree/game/game.ini"
  figures="$(SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$game" --data-dir "$tree" --no-settings --software --demo \
    --fighter 0 --seed 1 --benchmark "${2:-1500}" 2>/dev/null | grep '^benchmark: ms per fight frame:' || true)"
  [ -n "$figures" ] || { echo "bench_step: the ${size} game run printed no figures" >&2; exit 1; }
  echo "whole frame, step and draw, software ${size}: ${figures#benchmark: ms per fight frame: }"
done
