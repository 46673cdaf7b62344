#!/usr/bin/env bash
# Installs what is missing, builds everything and starts Zendrikolbar under Wine.
# On the user's X display when one answers; otherwise on a private Xvfb display, where
# a screenshot of the tool is written and its path printed. Arguments go to the tool
# (a project file to open); without any, the demo project (examples/demo) is opened.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
. "$here/env.sh"

"$here/setup.sh"
"$here/build.sh" >/dev/null
"$here/wine-prefix.sh"

# The demo project is written for this checkout (it holds absolute paths).
demo=$("$here/make-demo.sh")
if [ $# -eq 0 ]; then
  set -- "Z:${demo//\//\\}"
fi

cd "$ZK_BUILD/bin"
if [ -n "${DISPLAY:-}" ] && timeout 5 xwd -root -silent >/dev/null 2>&1; then
  exec wine Zendrikolbar.exe "$@"
fi

. "$here/session.sh"
zk_start_xvfb
zk_start_wine_session
wine Zendrikolbar.exe "$@" >/dev/null 2>&1 &
tool=$!
sleep "${ZK_SHOT_DELAY:-8}"
shot="$ZK_BUILD/screenshots/zendrikolbar.png"
"$here/screenshot.sh" "$shot" >/dev/null
kill "$tool" 2>/dev/null || true
echo "No X display: Zendrikolbar ran on Xvfb; screenshot: $shot"
