#!/usr/bin/env bash
# The cost of large logical screens: the demo fight (software, dummy video
# driver, limiter off) at 640x480, 1280x720 and 1920x1080, one run each against
# the same build, printed as one table (median, p99, floor, peak RSS).
# Usage: scripts/bench_screens.sh [FRAMES]   Environment: BUILD_DIR, DATA_DIR.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
data="${DATA_DIR:-$build/data}"
frames="${1:-3000}"
game="$build/bin/fight"
[ -x "$game" ] || { echo "bench_screens: $game is missing; build first" >&2; exit 1; }
[ -d "$data/game" ] || { echo "bench_screens: no data in $data (scripts/make_data.sh)" >&2; exit 1; }

work="$(mktemp -d /tmp/bench_screens_XXXXXX)"
trap 'rm -rf "$work"' EXIT

printf '| screen | median | p99 | floor | median/floor | p99/floor | fight peak RSS | process peak RSS |\n|---|---|---|---|---|---|---|---|\n'
for size in 640x480 1280x720 1920x1080; do
  w="${size%x*}" h="${size#*x}"
  tree="$work/$size"
  mkdir -p "$tree"
  cp -r "$data/." "$tree/"
  sed -i -e "s/^width=.*/width=$w/" -e "s/^height=.*/height=$h/" "$tree/game/game.ini"
  figures="$(SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy /usr/bin/time -f '%M' -o "$work/rss" \
    "$game" --data-dir "$tree" --no-settings --software --demo --fighter 0 --seed 1 --benchmark "$frames" 2>/dev/null)"
  median="$(sed -n 's/^benchmark: ms per fight frame: median \[\([0-9.]*\)\] p99.*/\1/p' <<<"$figures")"
  p99="$(sed -n 's/^benchmark: ms per fight frame: .* p99 \[\([0-9.]*\)\].*/\1/p' <<<"$figures")"
  floor="$(sed -n 's/^benchmark: floor .*median \[\([0-9.]*\)\] ms/\1/p' <<<"$figures")"
  rss_kb="$(tail -1 "$work/rss")"
  fight_kb="$(sed -n 's/^benchmark: .*fight peak RSS \[\([0-9]*\)\] kB/\1/p' <<<"$figures")"
  awk -v s="$size" -v m="$median" -v p="$p99" -v f="$floor" -v r="$rss_kb" -v fr="$fight_kb" \
    'BEGIN { printf "| %s | %.2f ms | %.2f ms | %.2f ms | %.2fx | %.2fx | %d MB | %d MB |\n", s, m, p, f, (f > 0 ? m / f : 0), (f > 0 ? p / f : 0), fr / 1024, r / 1024 }'
done
