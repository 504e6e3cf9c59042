#!/usr/bin/env bash
# How the computer opponent's difficulty levels play: headless fights (software
# drawing, dummy video, scripted clock, no frame limiter) of one round each,
# ended by the first fall (a knock-out) or by the round clock (60 s in the
# bundled data; 90 s without one). For each match-up it prints the wins and
# the specials' figures. Then the same per level on a second tree the test
# support makes, whose fighters can only fight hand to hand (no special
# launches a projectile; Kastrell has no special at all): both fighters at the
# level, Brela (entry 0) against Kastrell (entry 1), with the rounds won by
# knock-out and by time and the blows landed per minute.
# Usage: scripts/bench_opponent.sh [SEEDS] [MATCHUP ...]   (default 20 seeds;
# match-ups "ENTRY0LEVEL:ENTRY1", ENTRY1 a level or "walker"; default 5:1 1:walker 5:walker 0:walker 0:0)
# Environment: BUILD_DIR (default build), DATA_DIR (default $BUILD_DIR/data), RAW_DIR (keep
# every fight's "duel:" lines there), LEVELS (levels of the second tree, default "0 1 2 3 4 5";
# empty skips it).
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

# duels TREE FIGHTER LEVEL OTHER OUT: one duel per seed, "duel:" lines into OUT.
duels() {
  local tree="$1" fighter="$2" level="$3" other="$4" out="$5" seed
  for seed in $(seq 1 "$seeds"); do
    SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$game" --data-dir "$tree" --no-settings --software --fighter "$fighter" \
      --seed "$seed" --script "$work/empty.keys" --difficulty "$level" --duel "$other" 2>/dev/null |
      grep '^duel:' | sed "s/^/seed $seed /" >> "$out" || true
  done
}

for matchup in "${matchups[@]}"; do
  level="${matchup%%:*}" other="${matchup#*:}"
  out="$work/$level-$other.txt"
  duels "$data" 0 "$level" "$other" "$out"
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
      printf "fights [%d of %d] entry 0 won [%d] entry 1 won [%d] drawn (both fell, or equal health at time) [%d] mean length [%.1f] s\n",
             n, want, wins["0"], wins["1"], wins["-1"], n ? secs / n : 0
      for (e = 0; e < 2; e++)
        printf "entry %d: specials per second [%.2f] largest burst in 60 ms [%d] shortest gap [%s] ms quickest answer to a chance [%s] ms guarding [%d] frames\n",
               e, secs ? specials[e] / secs : 0, burst[e], gap[e] == "" ? "-" : gap[e], ans[e] == "" ? "-" : ans[e], guard[e]
    }' "$out"
  if [ -n "${RAW_DIR:-}" ]; then mkdir -p "$RAW_DIR" && cp "$out" "$RAW_DIR/"; fi
done

levels="${LEVELS-0 1 2 3 4 5}"
[ -n "$levels" ] || exit 0
maker="$build/tests/make_test_tree"
[ -x "$maker" ] || { echo "bench_opponent: $maker is missing; build the tests first" >&2; exit 1; }
"$maker" hand_to_hand "$data" "$work/hand_to_hand" >/dev/null
echo "== hand to hand (no projectiles; Kastrell without a special): Brela (entry 0) against Kastrell (entry 1), both at the level, $seeds seeds"
for level in $levels; do
  out="$work/hand-$level.txt"
  duels "$work/hand_to_hand" 1 "$level" "$level" "$out"
  awk -v level="$level" -v want="$seeds" '
    / winner \[/ { n++; w = $0; sub(/.*winner \[/, "", w); sub(/\].*/, "", w);
                   by = $0; sub(/.*by \[/, "", by); sub(/\].*/, "", by); won[w " " by]++;
                   s = $0; sub(/.*seconds \[/, "", s); sub(/\].*/, "", s); secs += s }
    / entry \[/  { e = $0; sub(/.*entry \[/, "", e); sub(/\].*/, "", e);
                   b = $0; sub(/.*blows landed \[/, "", b); sub(/\].*/, "", b); blows[e] += b }
    END {
      printf "level %d: rounds [%d of %d] entry 0 won by KO [%d] by time [%d], entry 1 won by KO [%d] by time [%d], drawn by double KO [%d] by time [%d]; ",
             level, n, want, won["0 KO"], won["0 time"], won["1 KO"], won["1 time"], won["-1 KO"], won["-1 time"]
      printf "blows landed per minute: entry 0 [%.1f] entry 1 [%.1f]; mean round [%.1f] s\n",
             secs ? blows[0] * 60 / secs : 0, secs ? blows[1] * 60 / secs : 0, n ? secs / n : 0
    }' "$out"
  if [ -n "${RAW_DIR:-}" ]; then mkdir -p "$RAW_DIR" && cp "$out" "$RAW_DIR/"; fi
done
