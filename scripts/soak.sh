#!/usr/bin/env bash
# Soak: a demo fight (the computer plays both fighters) of FRAMES frames
# (default 216000, one hour at 60 fps) with the limiter off, in software mode
# and in OpenGL mode (under a private Xvfb, stopped by its pid). From the
# benchmark's per-window lines (one per 3600 frames) it compares the last
# window with the first: the peak resident memory at the end must stay within
# 10% of the peak after the first 3600 frames, and the median frame time of
# the last 3600 frames no more than 10% above the first 3600's. Prints the figures;
# exits non-zero when a limit is exceeded.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
frames="${1:-216000}"
build="${BUILD_DIR:-$root/build}"
data="${GAME_DATA_DIR:-$build/data}"
fight="$build/bin/fight"
window=3600
# How much slower the last window may run than the first, in percent. The
# first window includes the warm-up, so running faster later is no fault; a
# short soak on a shared machine (the test command's) allows more noise.
time_tolerance="${SOAK_TIME_TOLERANCE:-10}"
if [ "$frames" -lt $((2 * window)) ]; then
  echo "soak: needs at least $((2 * window)) frames" >&2
  exit 2
fi
[ -x "$fight" ] || { echo "soak: $fight is missing; build first (scripts/build.sh)" >&2; exit 2; }
[ -d "$data/game" ] || { echo "soak: no game data in $data (scripts/make_data.sh)" >&2; exit 2; }

# Prints the figures of one log and fails when a limit is exceeded.
judge() {
  local mode="$1" log="$2"
  awk -v mode="$mode" -v tolerance="$time_tolerance" '
    /^benchmark: window frames/ {
      gsub(/[][]/, " ");
      n++; median[n] = $6; peak[n] = $10
    }
    END {
      if (n < 2) { printf "soak %s: fewer than two windows in the log\n", mode; exit 1 }
      dt = (median[n] - median[1]) / median[1] * 100
      dm = (peak[n] - peak[1]) / peak[1] * 100
      printf "soak %s: %d windows; median frame first %.3f ms last %.3f ms (%+.1f%%); peak RSS after the first window %d kB, at the end %d kB (%+.1f%%)\n", \
        mode, n, median[1], median[n], dt, peak[1], peak[n], dm
      bad = 0
      if (dt > tolerance) { printf "soak %s: FAIL median frame time grew more than %d%%\n", mode, tolerance; bad = 1 }
      if (dm > 10) { printf "soak %s: FAIL peak memory grew more than 10%%\n", mode; bad = 1 }
      exit bad
    }' "$log"
}

args=(--data-dir "$data" --no-settings --demo --fighter 1 --seed 7 --no-limiter --benchmark "$frames")
status=0
log_dir="$(mktemp -d /tmp/fight_soak_XXXXXX)"

echo "soak: $frames frames in software mode"
SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$fight" "${args[@]}" --software >"$log_dir/software.log" 2>&1 || status=1
judge software "$log_dir/software.log" || status=1

. "$root/scripts/xvfb.sh"
start_xvfb
trap 'stop_xvfb' EXIT
echo "soak: $frames frames in OpenGL mode (Xvfb :$display_number)"
DISPLAY=":$display_number" SDL_AUDIODRIVER=dummy SDL12COMPAT_OPENGL_SCALING=0 LIBGL_ALWAYS_SOFTWARE=1 \
  "$fight" "${args[@]}" --opengl >"$log_dir/opengl.log" 2>&1 || status=1
judge opengl "$log_dir/opengl.log" || status=1
echo "soak: logs in $log_dir"
exit $status
