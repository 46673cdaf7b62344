#!/usr/bin/env bash
# Writes a PNG of the whole X display in $DISPLAY (the test session's Xvfb) so a person
# can look at what the programs show. Argument: output path (default:
# $ZK_BUILD/screenshots/screen-<timestamp>.png). Prints the path written.
# Tests never call this: they check windows through the driver, not through pictures.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
. "$here/env.sh"

if [ -z "${DISPLAY:-}" ]; then
  echo "screenshot: DISPLAY is not set (start the test session first)" >&2
  exit 1
fi
out=${1:-"$ZK_BUILD/screenshots/screen-$(date +%Y%m%d-%H%M%S).png"}
mkdir -p "$(dirname "$out")"
# Written beside the target and moved, so a failed capture leaves no half picture.
tmp="$out.tmp.$$"
trap 'rm -f "$tmp"' EXIT
# ImageMagick itself, not a convert of the same name earlier on the PATH.
magick=/usr/bin/convert
[ -x "$magick" ] || magick=convert
xwd -root -silent | "$magick" xwd:- "PNG:$tmp"
mv -f "$tmp" "$out"
echo "$out"
