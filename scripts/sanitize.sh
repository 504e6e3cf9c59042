#!/usr/bin/env bash
# Builds the game, its tools and the whole test suite with AddressSanitizer and
# UndefinedBehaviorSanitizer into build-asan, then runs every test in both
# drawing modes: software mode with SDL's dummy drivers, OpenGL mode under a
# private Xvfb started and stopped by its pid. Any sanitizer report fails the
# test it happens in, so success means zero reports.
#
# Leaks: both runs suppress the picture holders' by-design leak
# (scripts/lsan.supp). The OpenGL run also suppresses leaks allocated inside
# Mesa, LLVM and the X libraries (scripts/lsan_gl.supp), not our code; every
# other leak fails the test.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${ASAN_BUILD_DIR:-$root/build-asan}"

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGAME_SANITIZE=ON -DGAME_TOOLS=ON >/dev/null
# Building lists each test program's tests by running it; leaks don't matter there.
ASAN_OPTIONS=detect_leaks=0 cmake --build "$build" -j2 >/dev/null
BUILD_DIR="$build" "$root/scripts/make_data.sh"
export GAME_DATA_DIR="$build/data"

common="abort_on_error=0:halt_on_error=1:detect_stack_use_after_return=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

supp_dir="$(mktemp -d /tmp/fight_lsan_XXXXXX)"
cat "$root/scripts/lsan.supp" "$root/scripts/lsan_gl.supp" >"$supp_dir/gl.supp"
export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0"

echo "sanitize: software mode"
ASAN_OPTIONS="$common:detect_leaks=1" \
  ctest --test-dir "$build" --output-on-failure -j2 -L software

echo "sanitize: the data checker on the bundled data"
ASAN_OPTIONS="$common:detect_leaks=1" "$build/bin/fight" --data-dir "$GAME_DATA_DIR" --check >/dev/null

. "$root/scripts/xvfb.sh"
start_xvfb
trap 'stop_xvfb; rm -rf "$supp_dir"' EXIT

echo "sanitize: OpenGL mode (Xvfb :$display_number)"
DISPLAY=":$display_number" LIBGL_ALWAYS_SOFTWARE=1 \
  LSAN_OPTIONS="suppressions=$supp_dir/gl.supp:print_suppressions=0" \
  ASAN_OPTIONS="$common:detect_leaks=1" \
  ctest --test-dir "$build" --output-on-failure -j2 -L gl
echo "sanitize: no sanitizer reports"
