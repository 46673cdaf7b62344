#!/usr/bin/env bash
# Screenshots of the main window's menu bar and tool bar for a person to look at: starts
# Zendrikolbar on a private Xvfb display and writes, under $ZK_BUILD/screenshots/,
# main-menu-file.png (File open), main-menu-project.png (Project open, Run greyed, Build
# selected) and main-hot-button.png (the pointer over the tool bar's Build button).
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
wine Zendrikolbar.exe >/dev/null 2>&1 &
tool=$!
shot() {
  local state=$1 name=$2
  shift 2
  timeout 60 wine zk_menu_tour.exe "$@" >/dev/null 2>&1 || echo "menu-screenshots: could not reach $state" >&2
  sleep 1
  "$here/screenshot.sh" "$ZK_BUILD/screenshots/$name.png"
  timeout 60 wine zk_menu_tour.exe close >/dev/null 2>&1 || true
}
shot "File open" main-menu-file open File
shot "Project open" main-menu-project select Project 0
shot "a hot button" main-hot-button hot Build
kill "$tool" 2>/dev/null || true
