#!/usr/bin/env bash
# Screenshots of the update client for a person to look at: a client made by pelbuild
# searches the test server, downloads a release and finishes, once in English and once in
# German, on a private Xvfb display; writes $ZK_BUILD/screenshots/client-<language>-<n>-<page>.png.
# Needs a build (scripts/build.sh).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
. "$here/env.sh"
"$here/wine-prefix.sh"
. "$here/session.sh"
zk_start_xvfb
zk_start_wine_session

cd "$ZK_BUILD/bin"
work=client_tour
rm -rf "$work"
mkdir -p "$work"
timeout 300 wine zk_client_tour.exe "$work" >/dev/null 2>&1 &
tour=$!
shots=0
while kill -0 "$tour" 2>/dev/null; do
  for marker in "$work"/shot-*; do
    [ -e "$marker" ] || continue
    sleep 0.5
    "$here/screenshot.sh" "$ZK_BUILD/screenshots/client-${marker##*/shot-}.png" >/dev/null
    rm -f "$marker"
    shots=$((shots + 1))
  done
  sleep 0.2
done
wait "$tour" || echo "client-screenshots: the tour did not reach every page" >&2
echo "client-screenshots: $shots pictures in $ZK_BUILD/screenshots"
