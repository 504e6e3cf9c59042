#!/usr/bin/env bash
# Online benchmark: the rollback engine over real ENet sessions through the
# network condition relay, at the three conditions online play is tested at:
# no delay; 60 ms each way with 10 ms jitter; 100 ms each way with 5% loss,
# duplication and reordering. Prints, for each side, the median and p99 time
# of a frame's network and rollback work, rollbacks a second, the deepest
# rollback and the frames waited. SECONDS (default 15) per condition.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-15}"
build="${BUILD_DIR:-$root/build}"
bench="$build/bin/online_bench"
[ -x "$bench" ] || { echo "bench_online: $bench is missing; build first (scripts/build.sh)" >&2; exit 1; }
status=0
"$bench" 0 0 0 "$seconds" 1 || status=1
"$bench" 60 10 0 "$seconds" 2 || status=1
"$bench" 100 0 0.05 "$seconds" 3 || status=1
exit $status
