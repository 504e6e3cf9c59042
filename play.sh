#!/usr/bin/env bash
# Installs what the game needs, builds it, writes its data and starts it.
# Extra arguments go to the game (try --help).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# Only what playing needs: the tests are built by ./test.sh.
"$root/scripts/setup.sh" --game
"$root/scripts/build.sh" --game
"$root/scripts/make_data.sh"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${SDL_VIDEODRIVER:-}" ]; then
  cat >&2 <<MSG
No display found (DISPLAY is not set): the game needs a window to play in.
To watch it run headless instead, either:
  SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ./play.sh --demo --fighter 1 --frames 600
or start a virtual X server and play there:
  xvfb-run -a ./play.sh
MSG
  exit 1
fi
exec "$root/build/bin/fight" --data-dir "$root/build/data" "$@"
