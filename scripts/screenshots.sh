#!/usr/bin/env bash
# Remakes the README's screenshots (docs/*.png) with the game itself: a scripted
# run on the bundled data that picks Morvane and fires her special.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
script="$(mktemp)"
trap 'rm -f "$script"' EXIT
cat > "$script" <<'KEYS'
# two places right on the select screen, confirm
110 right down
112 right up
120 right down
122 right up
130 return down
132 return up
# Morvane's special: RIGHT, DOWN, i
300 right down
303 right up
306 down down
309 down up
312 i down
315 i up
KEYS
SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$build/bin/fight" --data-dir "$build/data" --no-settings \
  --seed 3 --script "$script" --frames 340 \
  --screenshot 31:"$root/docs/title.png" --screenshot 126:"$root/docs/select.png" \
  --screenshot 320:"$root/docs/fight.png" >/dev/null
echo "screenshots: docs/title.png docs/select.png docs/fight.png"
