#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, ASan + UBSan) into build-fuzz and runs
# TARGET (config_file, animation, character, level, picture, sound, replay, packet, or
# all) for SECONDS each. Kept crash inputs under tools/fuzz/regressions/TARGET are
# replayed first. Seeds come from tools/fuzz/corpus/TARGET (kept in the repo;
# the replay target's are the recorded replays and key scripts in tests/replays);
# what the fuzzer finds on the way goes to build-fuzz/corpus/TARGET (not kept).
# Exits non-zero when a target crashes, leaks or times out; the input is saved
# under build-fuzz/artifacts/.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${FUZZ_BUILD_DIR:-$root/build-fuzz}"
all_targets=(config_file animation character level picture sound replay packet)

if [ $# -ne 2 ]; then
  echo "usage: $0 TARGET|all SECONDS   (targets: ${all_targets[*]})" >&2
  exit 2
fi
if [ "$1" = all ]; then targets=("${all_targets[@]}"); else targets=("$1"); fi
seconds="$2"

export FUZZ_DATA_DIR="${FUZZ_DATA_DIR:-$root/build/data}"
if [ ! -d "$FUZZ_DATA_DIR/game" ]; then
  echo "fuzz: no bundled data in $FUZZ_DATA_DIR (run scripts/make_data.sh); files the inputs name will be missing" >&2
fi
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
# The harness releases what each input loaded, so a leak report is ours.
# FUZZ_LEAKS=0 turns the leak check off.
if [ "${FUZZ_LEAKS:-1}" = 0 ]; then leaks=0; else leaks=1; fi
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=$leaks:abort_on_error=1}"
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$root/scripts/lsan.supp:print_suppressions=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DGAME_FUZZ=ON -DGAME_SANITIZE=ON -DGAME_TOOLS=ON >/dev/null
cmake --build "$build" -j2 --target "${targets[@]/%/_fuzz}" >/dev/null

status=0
for t in "${targets[@]}"; do
  bin="$build/bin/${t}_fuzz"
  work="$build/corpus/$t"
  seeds="$root/tools/fuzz/corpus/$t"
  if [ "$t" = replay ]; then seeds="$root/tests/replays"; fi
  mkdir -p "$work" "$build/artifacts"
  log="$build/${t}_fuzz.log"

  regressions=("$root/tools/fuzz/regressions/$t"/*)
  if [ -e "${regressions[0]}" ]; then
    if ! "$bin" -close_fd_mask=1 "${regressions[@]}" >"$build/${t}_regressions.log" 2>&1; then
      echo "fuzz $t: a kept crash input fails again (see $build/${t}_regressions.log)"
      status=1
      continue
    fi
  fi

  set +e
  "$bin" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2560 -close_fd_mask=1 \
    -print_final_stats=1 -artifact_prefix="$build/artifacts/${t}-" "$work" "$seeds" >"$log" 2>&1
  rc=$?
  set -e
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  if [ $rc -ne 0 ]; then
    echo "fuzz $t: FAILED after ${runs:-?} runs (exit $rc); input in $build/artifacts, log in $log"
    grep -m5 -E 'ERROR: |SUMMARY|runtime error' "$log" || true
    status=1
  else
    echo "fuzz $t: ${runs:-?} runs in ${seconds}s, no crash"
  fi
done
exit $status
