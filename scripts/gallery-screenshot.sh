#!/usr/bin/env bash
# A screenshot of the toolkit's gallery (tool bars and rebars in every UI style),
# for a person to look at, on a private Xvfb display; writes
# $ZK_BUILD/screenshots/gallery.png. Needs a build (scripts/build.sh).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
. "$here/env.sh"
cmake --build "$ZK_BUILD" --target TovrelGallery >/dev/null
"$here/wine-prefix.sh"
. "$here/session.sh"
zk_start_xvfb
zk_start_wine_session

cd "$ZK_BUILD/bin"
work=gallery_shot
rm -rf "$work"
mkdir -p "$work"
timeout 60 wine TovrelGallery.exe "$work" >/dev/null 2>&1 &
gallery=$!
for _ in $(seq 1 200); do
  [ -e "$work/shot-gallery" ] && break
  sleep 0.2
done
sleep 1
"$here/screenshot.sh" "$ZK_BUILD/screenshots/gallery.png"
rm -f "$work/shot-gallery"
wait "$gallery" || true
