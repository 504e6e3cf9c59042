#!/usr/bin/env bash
# Builds the game, its tools and the whole test suite with AddressSanitizer and
# UndefinedBehaviorSanitizer into build-asan, then runs every test in both
# drawing modes: software mode with SDL's dummy drivers, OpenGL mode under a
# private Xvfb started and stopped by its pid. Any sanitizer report fails the
# test it happens in, so success means zero reports.
#
# Leaks are not checked here: by design the game keeps its pictures, zoomed
# copies, animations, sounds and fighters until the process ends and never
# frees them (tests that build such objects drop them the same way), so
# LeakSanitizer would list every one of them. Growth over time is what matters,
# and the soak (scripts/soak.sh) measures that.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${ASAN_BUILD_DIR:-$root/build-asan}"

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGAME_SANITIZE=ON -DGAME_TOOLS=ON >/dev/null
ASAN_OPTIONS=detect_leaks=0 cmake --build "$build" -j2 >/dev/null
BUILD_DIR="$build" "$root/scripts/make_data.sh"
export GAME_DATA_DIR="$build/data"

common="abort_on_error=0:halt_on_error=1:detect_stack_use_after_return=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

echo "sanitize: software mode"
ASAN_OPTIONS="$common:detect_leaks=0" \
  ctest --test-dir "$build" --output-on-failure --timeout 900 -j2 -L software

echo "sanitize: the data checker on the bundled data"
ASAN_OPTIONS="$common:detect_leaks=0" "$build/bin/fight" --data-dir "$GAME_DATA_DIR" --check >/dev/null

. "$root/scripts/xvfb.sh"
start_xvfb
trap 'stop_xvfb' EXIT

echo "sanitize: OpenGL mode (Xvfb :$display_number)"
DISPLAY=":$display_number" LIBGL_ALWAYS_SOFTWARE=1 \
  ASAN_OPTIONS="$common:detect_leaks=0" \
  ctest --test-dir "$build" --output-on-failure --timeout 900 -j2 -L gl
echo "sanitize: no sanitizer reports"
