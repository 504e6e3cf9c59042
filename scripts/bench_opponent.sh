#!/usr/bin/env bash
# How the computer opponent's difficulty levels play: headless fights (software
# drawing, dummy video, scripted clock, no frame limiter) that end at the first
# fall or after 90 s. For each match-up and seed it prints the duel's summary;
# then the wins and the specials' figures for each match-up.
# Usage: scripts/bench_opponent.sh [SEEDS] [MATCHUP ...]   (default 20 seeds;
# match-ups "ENTRY0LEVEL:ENTRY1", ENTRY1 a level or "walker"; default 5:1 1:walker 5:walker 0:walker 0:0)
# Environment: BUILD_DIR (default build), DATA_DIR (default $BUILD_DIR/data), RAW_DIR (keep
# every fight's "duel:" lines there).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
data="${DATA_DIR:-$build/data}"
seeds="${1:-20}"
shift || true
matchups=("$@")
[ ${#matchups[@]} -gt 0 ] || matchups=(5:1 1:walker 5:walker 0:walker 0:0)
game="$build/bin/fight"
[ -x "$game" ] || { echo "bench_opponent: $game is missing; build first" >&2; exit 1; }
[ -d "$data/game" ] || { echo "bench_opponent: no data in $data (scripts/make_data.sh)" >&2; exit 1; }
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
: > "$work/empty.keys"  # no keys: the scripted clock runs by frames

for matchup in "${matchups[@]}"; do
  level="${matchup%%:*}" other="${matchup#*:}"
  out="$work/$level-$other.txt"
  for seed in $(seq 1 "$seeds"); do
    SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$game" --data-dir "$data" --software --fighter 0 \
      --seed "$seed" --script "$work/empty.keys" --difficulty "$level" --duel "$other" 2>/dev/null |
      grep '^duel:' | sed "s/^/seed $seed /" >> "$out" || true
  done
  echo "== level $level (entry 0) against $other (entry 1), $seeds seeds"
  awk -v want="$seeds" '
    / winner \[/ { n++; w = $0; sub(/.*winner \[/, "", w); sub(/\].*/, "", w); wins[w]++;
                   s = $0; sub(/.*seconds \[/, "", s); sub(/\].*/, "", s); secs += s }
    / entry \[/  { e = $0; sub(/.*entry \[/, "", e); sub(/\].*/, "", e);
                   c = $0; sub(/.*specials \[/, "", c); sub(/\].*/, "", c); specials[e] += c;
                   b = $0; sub(/.*60 ms \[/, "", b); sub(/\].*/, "", b); if (b + 0 > burst[e] + 0) burst[e] = b + 0;
                   g = $0; sub(/.*shortest gap \[/, "", g); sub(/\].*/, "", g);
                   if (g + 0 >= 0 && (gap[e] == "" || g + 0 < gap[e] + 0)) gap[e] = g + 0;
                   a = $0; sub(/.*quickest answer \[/, "", a); sub(/\].*/, "", a);
                   if (a + 0 >= 0 && (ans[e] == "" || a + 0 < ans[e] + 0)) ans[e] = a + 0;
                   f = $0; sub(/.*guarding \[/, "", f); sub(/\].*/, "", f); guard[e] += f }
    END {
      printf "fights [%d of %d] entry 0 won [%d] entry 1 won [%d] no fall or both [%d] mean length [%.1f] s\n",
             n, want, wins["0"], wins["1"], wins["-1"], n ? secs / n : 0
      for (e = 0; e < 2; e++)
        printf "entry %d: specials per second [%.2f] largest burst in 60 ms [%d] shortest gap [%s] ms quickest answer to a chance [%s] ms guarding [%d] frames\n",
               e, secs ? specials[e] / secs : 0, burst[e], gap[e] == "" ? "-" : gap[e], ans[e] == "" ? "-" : ans[e], guard[e]
    }' "$out"
  if [ -n "${RAW_DIR:-}" ]; then mkdir -p "$RAW_DIR" && cp "$out" "$RAW_DIR/"; fi
done
