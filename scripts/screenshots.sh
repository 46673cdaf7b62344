#!/usr/bin/env bash
# Screenshots of the main window on each of the five task-pane groups, for a person to
# look at: starts Zendrikolbar (with the arguments given, e.g. a project) on a private
# Xvfb display, shows each group's first page and writes
# $ZK_BUILD/screenshots/main-<n>-<group>.png. Needs a build (scripts/build.sh).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
. "$here/env.sh"
"$here/wine-prefix.sh"
. "$here/session.sh"
zk_start_xvfb
zk_start_wine_session

cd "$ZK_BUILD/bin"
wine Zendrikolbar.exe "$@" >/dev/null 2>&1 &
tool=$!
groups=(general setup dialogs system build)
for n in 1 2 3 4 5; do
  timeout 60 wine zk_tour.exe "$n" 1 >/dev/null 2>&1 || echo "screenshots: could not show group $n" >&2
  sleep 1
  "$here/screenshot.sh" "$ZK_BUILD/screenshots/main-$n-${groups[$((n - 1))]}.png"
done
kill "$tool" 2>/dev/null || true
