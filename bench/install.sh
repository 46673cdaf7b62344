#!/usr/bin/env bash
# Install benchmark, the second half of bench/run.sh (which calls it): the two setups that
# its build half left in $ZK_BUILD/bench/out install the same reference payload under Wine,
# side by side, RUNS times each, and the best time of each counts. Ours is driven through
# its wizard (language window, Next through the pages) until the finish page; NSIS's runs
# silently (/S /D=FOLDER) until it ends. Both times run from the start of the setup until
# its files are on disk.
#   ZK_BUILD=... bench/install.sh [RUNS]     (after bench/run.sh has built both setups)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
. "$root/scripts/env.sh"
runs=${1:-3}

bench="$ZK_BUILD/bench"
for setup in zendrikolbar-setup.exe nsis-setup.exe; do
  [ -f "$bench/out/$setup" ] || { echo "install.sh: no $bench/out/$setup; run bench/run.sh first" >&2; exit 1; }
done
cmake --build "$ZK_BUILD" --target zk_bench_install >/dev/null
winpath() { printf 'Z:%s' "$(printf '%s' "$1" | tr / '\\')"; }

# run.sh hands down its display and Wine session; alone, this script starts its own.
if [ -z "${DISPLAY:-}" ]; then
  . "$root/scripts/session.sh"
  zk_start_xvfb
  zk_start_wine_session
fi

# Both install into drive C: of the prefix, as they would on a real system.
files=$(find "$bench/payload" -type f | wc -l)
target="$WINEPREFIX/drive_c/zk-bench-install"
rm -rf "$target"
out=$(cd "$ZK_BUILD/bin" && ZK_WINE_TIMEOUT=1800 "$root/scripts/wine-run.sh" zk_bench_install.exe \
  "$(winpath "$bench/out/zendrikolbar-setup.exe")" "$(winpath "$bench/out/nsis-setup.exe")" \
  'C:\zk-bench-install\' "$files" "$runs" | tr -d '\r') || { echo "$out"; exit 1; }
grep ' run ' <<<"$out"
zk_ms=$(sed -n 's/^best zk_ms=\([0-9]*\).*/\1/p' <<<"$out")
nsis_ms=$(sed -n 's/.* nsis_ms=\([0-9]*\).*/\1/p' <<<"$out")
[ -n "$zk_ms" ] && [ -n "$nsis_ms" ] || { echo "install benchmark failed: $out" >&2; exit 1; }
rm -rf "$target"

echo
echo "install of $files files, best of $runs"
printf '%-28s %12s\n' "" "install (ms)"
printf '%-28s %12s\n' "Zendrikolbar (Wine, wizard)" "$zk_ms"
printf '%-28s %12s\n' "NSIS (Wine, silent)" "$nsis_ms"
awk -v a="$zk_ms" -v b="$nsis_ms" \
  'BEGIN { printf "%-28s %12.2f   (goal: at most 1.00)\n", "ratio Zendrikolbar/NSIS", a / b }'
