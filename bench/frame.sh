#!/usr/bin/env bash
# Frame benchmark, not part of the test suite: resizing a window that holds the toolkit's
# rebar against the same bands on plain system controls, both in the same run of
# zk_bench_frame on an Xvfb display; medians of SAMPLES batches and their ratios printed.
#   ZK_BUILD=... bench/frame.sh [SAMPLES]     (default 15)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
. "$root/scripts/env.sh"
samples=${1:-15}

"$root/scripts/setup.sh"
"$root/scripts/build.sh"
cmake --build "$ZK_BUILD" --target zk_bench_frame >/dev/null
"$root/scripts/wine-prefix.sh"

if [ -z "${DISPLAY:-}" ]; then
  . "$root/scripts/session.sh"
  zk_start_xvfb
  zk_start_wine_session
fi

status=0
out=$(cd "$ZK_BUILD/bin" && "$root/scripts/wine-run.sh" zk_bench_frame.exe "$samples" | tr -d '\r') || status=$?
grep '^row ' <<<"$out" || { echo "frame benchmark failed: $out" >&2; exit 1; }

echo
echo "resizing, median time per resize of $samples samples"
printf '%-40s %12s %12s %8s %8s\n' "" "case (ns)" "plain (ns)" "ratio" "goal"
sed -n 's/^row \(.*[^ ]\) *case_ns=\([0-9]*\) baseline_ns=\([0-9]*\) ratio=\([0-9.]*\) goal=\([0-9.]*\) \(.*\)$/\1|\2|\3|\4|\5|\6/p' <<<"$out" |
  while IFS='|' read -r name run base ratio goal verdict; do
    printf '%-40s %12s %12s %8s %8s  %s\n' "$name" "$run" "$base" "$ratio" "$goal" "$verdict"
  done
exit $status
