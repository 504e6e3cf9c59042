#!/usr/bin/env bash
# Re-records the replays under tests/replays/ on purpose, after a change that
# alters the fight: each NAME.keys key script is played (its first line
# "# record: OPTIONS" gives the seed, frames and fighter) with --record, and
# NAME.replay is replaced. Says which replays changed. A key script with the
# line "# data: one fight" is recorded on a copy of the data whose game.ini
# lacks the match keys (rounds, round_time, difficulty), so that it stays a
# recording of one endless fight whatever the bundled game.ini plays.
# Usage: scripts/rerecord_replays.sh [NAME...]   (after scripts/build.sh and scripts/make_data.sh)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
game="$root/build/bin/fight"
data="${GAME_DATA_DIR:-$root/build/data}"
dir="$root/tests/replays"
[ -x "$game" ] || { echo "no $game: run scripts/build.sh first" >&2; exit 2; }
[ -d "$data" ] || { echo "no data in $data: run scripts/make_data.sh first" >&2; exit 2; }
names=("$@")
if [ ${#names[@]} -eq 0 ]; then
  for keys in "$dir"/*.keys; do names+=("$(basename "$keys" .keys)"); done
fi
one_fight="$(mktemp -d)"
recorded="$(mktemp -d)"
trap 'rm -rf "$one_fight" "$recorded"' EXIT
cp -r "$data/." "$one_fight"
grep -vE '^[[:space:]]*(rounds|round_time|difficulty)[[:space:]]*=' "$data/game/game.ini" > "$one_fight/game/game.ini" || true
changed=0
for name in "${names[@]}"; do
  keys="$dir/$name.keys"
  options="$(sed -n '1s/^# record: //p' "$keys")"
  [ -n "$options" ] || { echo "$keys: first line must be '# record: OPTIONS'" >&2; exit 2; }
  tree="$data"
  if grep -qx '# data: one fight' "$keys"; then tree="$one_fight"; fi
  fresh="$recorded/$name.replay"  # a new name: a recording never replaces a file
  # shellcheck disable=SC2086
  SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$game" --data-dir "$tree" --no-settings --software --no-limiter \
    $options --script "$keys" --record "$fresh" > /dev/null
  if [ -f "$dir/$name.replay" ] && cmp -s "$fresh" "$dir/$name.replay"; then
    echo "unchanged: $name"
    rm -f "$fresh"
  else
    echo "changed:   $name"
    mv "$fresh" "$dir/$name.replay"
    changed=$((changed + 1))
  fi
done
echo "$changed replay(s) changed"
