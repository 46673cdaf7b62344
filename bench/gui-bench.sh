#!/usr/bin/env bash
# Runs one of the toolkit's benchmark programs on an Xvfb display (or the display already
# set) and prints its rows as a table: median time of the toolkit's case, of the plain
# baseline timed in the same run, their ratio and the goal. Fails when a goal was missed.
#   bench/gui-bench.sh TARGET SAMPLES HEADING
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
. "$root/scripts/env.sh"
target=$1 samples=$2 heading=$3

"$root/scripts/setup.sh"
"$root/scripts/build.sh"
cmake --build "$ZK_BUILD" --target "$target" >/dev/null
"$root/scripts/wine-prefix.sh"

if [ -z "${DISPLAY:-}" ]; then
  . "$root/scripts/session.sh"
  zk_start_xvfb
  zk_start_wine_session
fi

status=0
out=$(cd "$ZK_BUILD/bin" && "$root/scripts/wine-run.sh" "$target.exe" "$samples" | tr -d '\r') || status=$?
grep '^row ' <<<"$out" || { echo "$target failed: $out" >&2; exit 1; }

echo
echo "$heading of $samples samples"
printf '%-40s %12s %12s %8s %8s\n' "" "case (ns)" "plain (ns)" "ratio" "goal"
sed -n 's/^row \(.*[^ ]\) *case_ns=\([0-9]*\) baseline_ns=\([0-9]*\) ratio=\([0-9.]*\) goal=\([0-9.]*\) \(.*\)$/\1|\2|\3|\4|\5|\6/p' <<<"$out" |
  while IFS='|' read -r name run base ratio goal verdict; do
    [ "$goal" = 0.00 ] && goal=-
    printf '%-40s %12s %12s %8s %8s  %s\n' "$name" "$run" "$base" "$ratio" "$goal" "$verdict"
  done
exit $status
