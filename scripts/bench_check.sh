#!/usr/bin/env bash
# Times `--check` on a copy of the bundled data whose stage has 1000 parts,
# each with 20 parallax layers (a legal stage of about 22000 keys), and prints
# the wall and CPU seconds and the peak memory. Usage: scripts/bench_check.sh
# Environment: BUILD_DIR (default build), DATA_DIR (default $BUILD_DIR/data).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
data="${DATA_DIR:-$build/data}"
game="$build/bin/fight"
[ -x "$game" ] || { echo "bench_check: $game is missing; build first" >&2; exit 1; }
[ -d "$data/game" ] || { echo "bench_check: no data in $data (scripts/make_data.sh)" >&2; exit 1; }

tree="$(mktemp -d)"
trap 'rm -rf "$tree"' EXIT
cp -r "$data/." "$tree"
stage="$tree/rsrc/veltmoore/stage_veltmoore.ini"
{
  printf 'bgset=rsrc\\veltmoore\\bgset_veltmoore.ini\nlength=1000\nfloor=4\nscale=1.0\n'
  for ((n = 0; n < 1000; ++n)); do
    printf 'part%d=%d\npart%dparallax=20\n' "$n" $((n == 0 ? 0 : 3)) "$n"
    for ((j = 0; j < 20; ++j)); do printf 'part%dparallax%d=%d\n' "$n" "$j" $((1 + j % 2)); done
  done
} >"$stage"
echo "bench_check: stage of $(wc -c <"$stage") bytes, 1000 parts"
for run in 1 2 3; do
  SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy /usr/bin/time -f "bench_check: run $run: %e s wall, %U s user, %M kB peak" \
    "$game" --data-dir "$tree" --check >/dev/null || true
done
