#!/usr/bin/env bash
# Writes the bundled game data into build/data with the content generator,
# when the tree is missing or older than the generator.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
gen="$build/bin/gen_content"
data="$build/data"
if [ ! -x "$gen" ]; then
  echo "make_data: $gen is missing; build first (scripts/build.sh)" >&2
  exit 1
fi
if [ ! -f "$data/.complete" ] || [ "$gen" -nt "$data/.complete" ]; then
  rm -rf "$data.tmp"
  "$gen" "$data.tmp"
  touch "$data.tmp/.complete"
  rm -rf "$data"
  mv "$data.tmp" "$data"
fi
