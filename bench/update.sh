#!/usr/bin/env bash
# Update benchmark, not part of the test suite: a release of 100 files and about 200 MB,
# served by the loopback test server, downloaded under Wine by each measurement of
# zk_bench_update in turn (a plain WinINet loop with 64 KB reads first), RUNS times each;
# the best time of each counts. The release is generated once into $ZK_BUILD/bench-update
# and reused.
#   ZK_BUILD=... bench/update.sh [RUNS]     (default 3)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
. "$root/scripts/env.sh"
runs=${1:-3}

"$root/scripts/setup.sh"
"$root/scripts/build.sh"
cmake --build "$ZK_BUILD" --target zk_bench_update >/dev/null
"$root/scripts/wine-prefix.sh"
winpath() { printf 'Z:%s' "$(printf '%s' "$1" | tr / '\\')"; }

# A display and a Wine session, for measurements that show a window.
if [ -z "${DISPLAY:-}" ]; then
  . "$root/scripts/session.sh"
  zk_start_xvfb
  zk_start_wine_session
fi

work="$ZK_BUILD/bench-update"
mkdir -p "$work"
out=$(cd "$ZK_BUILD/bin" && ZK_WINE_TIMEOUT=3600 "$root/scripts/wine-run.sh" zk_bench_update.exe \
  "$(winpath "$work")\\" "$runs" | tr -d '\r') || { echo "$out"; exit 1; }
grep ' run ' <<<"$out"
best=$(grep '^best ' <<<"$out") || { echo "update benchmark failed: $out" >&2; exit 1; }
files=$(sed -n 's/.* files=\([0-9]*\).*/\1/p' <<<"$best")
bytes=$(sed -n 's/.* bytes=\([0-9]*\).*/\1/p' <<<"$best")

echo
echo "update download of $files files, $bytes bytes, best of $runs"
printf '%-28s %12s %12s\n' "" "time (ms)" "MB/s"
plain_ms=
for pair in $(tr ' ' '\n' <<<"$best" | grep '_ms='); do
  name=${pair%%_ms=*}
  ms=${pair#*_ms=}
  [ "$name" = plain ] && plain_ms=$ms
  awk -v n="$name" -v ms="$ms" -v b="$bytes" 'BEGIN { printf "%-28s %12d %12.1f\n", n, ms, b / 1e6 / (ms / 1000) }'
done
for pair in $(tr ' ' '\n' <<<"$best" | grep '_ms=' | grep -v '^plain_'); do
  awk -v n="${pair%%_ms=*}" -v ms="${pair#*_ms=}" -v p="$plain_ms" \
    'BEGIN { printf "%-28s %12.2f   (goal: at most 1.20)\n", "ratio " n "/plain", ms / p }'
done
