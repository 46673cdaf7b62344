#!/usr/bin/env bash
# A screenshot of a sample program on a private Xvfb display, for a person to look at.
# The program takes a folder, writes SHOT there once its window is painted and ends when
# the file is gone again. Writes $ZK_BUILD/screenshots/PICTURE. Needs a build. Further
# arguments go to the program after the folder.
#   scripts/program-screenshot.sh TARGET SHOT PICTURE [ARGUMENT...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
. "$here/env.sh"
target=$1 shot=$2 picture=$3
shift 3
cmake --build "$ZK_BUILD" --target "$target" >/dev/null
"$here/wine-prefix.sh"
. "$here/session.sh"
zk_start_xvfb
zk_start_wine_session

cd "$ZK_BUILD/bin"
work="${target}_shot"
rm -rf "$work"
mkdir -p "$work"
timeout 60 wine "$target.exe" "$work" "$@" >/dev/null 2>&1 &
program=$!
for _ in $(seq 1 200); do
  [ -e "$work/$shot" ] && break
  sleep 0.2
done
sleep 1
"$here/screenshot.sh" "$ZK_BUILD/screenshots/$picture"
rm -f "$work/$shot"
wait "$program" || true
