#!/usr/bin/env bash
# Online benchmark on the real fight: two game processes (software mode at
# 640x480, dummy video and audio) play a whole two-round match from key
# scripts, the guest joining through net_relay, at the three conditions online
# play is tested at: no delay; 60 ms each way with 10 ms jitter; 100 ms each
# way with 5% loss, duplication and reordering. For each condition and side it
# prints the median and p99 time a displayed frame takes to make (network,
# rollback, step and draw; not the wait for the next frame), rollbacks a
# second, the deepest rollback and the frames waited.
# Usage: scripts/bench_online.sh [HP]   fighters' health (default 30: a match of some blows)
# Environment: BUILD_DIR (default build), DATA_DIR (default $BUILD_DIR/data), KEEP=1 keeps
# the logs and replays in /tmp/bench_online_*.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
data="$(cd "${DATA_DIR:-$build/data}" && pwd)"
game="$build/bin/fight"
relay="$build/bin/net_relay"
hp="${1:-30}"
for f in "$game" "$relay"; do
  [ -x "$f" ] || { echo "bench_online: $f is missing; build first (scripts/build.sh)" >&2; exit 1; }
done
[ -d "$data/game" ] || { echo "bench_online: no data in $data (scripts/make_data.sh)" >&2; exit 1; }

work="$(mktemp -d /tmp/bench_online_XXXXXX)"
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
[ -n "${KEEP:-}" ] && trap - EXIT

tree="$work/data"
cp -r "$data/." "$tree/"
sed -i -e "s/^width=.*/width=640/" -e "s/^height=.*/height=480/" "$tree/game/game.ini"
for f in "$tree"/game/fighter/*_char.ini; do sed -i "s/^hp=.*/hp=$hp/" "$f"; done

# The guest walks in and punches in bursts; the host jumps now and then.
for ((c = 0; c < 20000; c += 200)); do
  echo "$((c < 200 ? 30 : c)) right down"
  for ((f = c + 130; f <= c + 196; f += 6)); do echo "$f space down"; echo "$((f + 2)) space up"; done
done >"$work/guest.keys"
for ((f = 40; f < 20000; f += 37)); do echo "$f up down"; echo "$((f + 3)) up up"; done >"$work/host.keys"

base=$((20000 + ($$ * 13) % 11000))
status=0
run=0
for condition in "0 0 0" "60 10 0" "100 0 0.05"; do
  read -r delay jitter loss <<<"$condition"
  run=$((run + 1))
  host_port=$((base + run * 2)) relay_port=$((base + run * 2 + 1))
  "$relay" --listen "$relay_port" --to "127.0.0.1:$host_port" --delay "$delay" --jitter "$jitter" \
    --loss "$loss" --duplicate "$loss" --reorder "$loss" --seed "$run" >"$work/relay$run.out" 2>&1 &
  pids+=($!)
  common=(--data-dir "$tree" --no-settings --software --benchmark 1000000)
  SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$game" "${common[@]}" --seed 5 --fighter 1 \
    --script "$work/host.keys" --record "$work/host$run.replay" --host "$host_port" >"$work/host$run.out" 2>&1 &
  host_pid=$!
  pids+=("$host_pid")
  for _ in $(seq 100); do grep -q "waiting for an opponent" "$work/host$run.out" && break; sleep 0.1; done
  SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$game" "${common[@]}" --fighter 2 \
    --script "$work/guest.keys" --record "$work/guest$run.replay" --join "127.0.0.1:$relay_port" \
    >"$work/guest$run.out" 2>&1 || status=1
  wait "$host_pid" || status=1
  echo "condition: ${delay} ms each way, jitter ${jitter} ms, loss/dup/reorder $(awk "BEGIN{print $loss*100}")%"
  for side in host guest; do
    out="$work/$side$run.out"
    times="$(grep -o 'median [0-9.]* ms, p99 [0-9.]* ms' "$out" || echo 'no frame times')"
    stats="$(grep '^NOTICE: online fight over:' "$out" || true)"
    ending="$(grep -o 'match won by entry \[[0-9]\], frame [0-9]*\|match drawn, frame [0-9]*' "$out" || echo 'no result')"
    if [[ "$stats" =~ ([0-9]+)\ frames,\ ([0-9]+)\ rollbacks\ \(deepest\ ([0-9]+)\),\ ([0-9]+)\ frames\ waited,\ ping\ ([0-9]+) ]]; then
      frames="${BASH_REMATCH[1]}" rollbacks="${BASH_REMATCH[2]}"
      per_second="$(awk "BEGIN{printf \"%.1f\", $rollbacks * 60 / ($frames > 0 ? $frames : 1)}")"
      printf '  %-5s frame %s; %s rollbacks/s, deepest %s, %s frames waited, ping %s ms; %s\n' "$side" "$times" \
        "$per_second" "${BASH_REMATCH[3]}" "${BASH_REMATCH[4]}" "${BASH_REMATCH[5]}" "$ending"
    else
      echo "  $side: no statistics (see below)"
      tail -5 "$out"
      status=1
    fi
  done
  cmp -s "$work/host$run.replay" "$work/guest$run.replay" || { echo "  the two replays differ"; status=1; }
  kill "${pids[0]}" 2>/dev/null || true
  wait "${pids[0]}" 2>/dev/null || true
  pids=()
done
exit $status
