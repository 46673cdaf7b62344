#!/usr/bin/env bash
# Painting benchmark, not part of the test suite: the toolkit's painters against a plain
# GDI baseline, both in the same run of zk_bench_paint on an Xvfb display, medians of
# SAMPLES batches and their ratios printed.
#   ZK_BUILD=... bench/paint.sh [SAMPLES]     (default 21)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
. "$root/scripts/env.sh"
samples=${1:-21}

"$root/scripts/setup.sh"
"$root/scripts/build.sh"
cmake --build "$ZK_BUILD" --target zk_bench_paint >/dev/null
"$root/scripts/wine-prefix.sh"

if [ -z "${DISPLAY:-}" ]; then
  . "$root/scripts/session.sh"
  zk_start_xvfb
  zk_start_wine_session
fi

status=0
out=$(cd "$ZK_BUILD/bin" && "$root/scripts/wine-run.sh" zk_bench_paint.exe "$samples" | tr -d '\r') || status=$?
grep '^row ' <<<"$out" || { echo "paint benchmark failed: $out" >&2; exit 1; }

echo
echo "painting, median time per call of $samples samples"
printf '%-40s %12s %12s %8s %8s\n' "" "case (ns)" "plain (ns)" "ratio" "goal"
sed -n 's/^row \(.*[^ ]\) *case_ns=\([0-9]*\) baseline_ns=\([0-9]*\) ratio=\([0-9.]*\) goal=\([0-9.]*\) \(.*\)$/\1|\2|\3|\4|\5|\6/p' <<<"$out" |
  while IFS='|' read -r name run base ratio goal verdict; do
    [ "$goal" = 0.00 ] && goal=-
    printf '%-40s %12s %12s %8s %8s  %s\n' "$name" "$run" "$base" "$ratio" "$goal" "$verdict"
  done
exit $status
