#!/usr/bin/env bash
# A screenshot of what the toolkit's foundation draws (styled texts, style backgrounds,
# derived images), for a person to look at, on a private Xvfb display; writes
# $ZK_BUILD/screenshots/foundation-samples.png. Needs a build (scripts/build.sh).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
. "$here/env.sh"
cmake --build "$ZK_BUILD" --target zk_foundation_samples >/dev/null
"$here/wine-prefix.sh"
. "$here/session.sh"
zk_start_xvfb
zk_start_wine_session

cd "$ZK_BUILD/bin"
work=foundation_samples
rm -rf "$work"
mkdir -p "$work"
timeout 60 wine zk_foundation_samples.exe "$work" >/dev/null 2>&1 &
samples=$!
for _ in $(seq 1 200); do
  [ -e "$work/shot-foundation" ] && break
  sleep 0.2
done
sleep 1
"$here/screenshot.sh" "$ZK_BUILD/screenshots/foundation-samples.png"
rm -f "$work/shot-foundation"
wait "$samples" || true
