#!/usr/bin/env bash
# Regenerates the golden log of the scripted run (tests/app/golden/scripted_run.log)
# and prints how it changed. Use it only when a change to the log is intended;
# read the diff, then commit the file together with the change.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
golden="$root/tests/app/golden/scripted_run.log"

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)" --target fight gen_content app_tests
BUILD_DIR="$build" "$root/scripts/make_data.sh"

before="$(mktemp)"
trap 'rm -f "$before"' EXIT
if [ -f "$golden" ]; then cp "$golden" "$before"; fi
GAME_DATA_DIR="$build/data" GAME_UPDATE_GOLDEN=1 \
  "$build/tests/app_tests" --gtest_filter='GoldenLog.ScriptedRun*' >/dev/null
if diff -u --label "golden log before" --label "golden log now" "$before" "$golden"; then
  echo "update_golden: the log is unchanged"
fi
