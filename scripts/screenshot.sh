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
# Under Xvfb without a window manager, Wine's second and later top-level windows (dialogs,
# message boxes) hold their pictures but show black in a capture of the root window. Each
# shown top-level window is therefore captured on its own and laid over the root picture,
# bottom-most first.
part="$out.part.$$"
trap 'rm -f "$tmp" "$part"' EXIT
xwininfo -root -children 2>/dev/null | awk '/^ +0x[0-9a-f]+ /{print $1}' | tac | while read -r id; do
  info=$(xwininfo -id "$id" 2>/dev/null) || continue
  echo "$info" | grep -q 'Map State: IsViewable' || continue
  x=$(echo "$info" | awk -F: '/Absolute upper-left X/{gsub(/ /,"",$2); print $2}')
  y=$(echo "$info" | awk -F: '/Absolute upper-left Y/{gsub(/ /,"",$2); print $2}')
  w=$(echo "$info" | awk -F: '/Width/{gsub(/ /,"",$2); print $2}')
  h=$(echo "$info" | awk -F: '/Height/{gsub(/ /,"",$2); print $2}')
  [ "${w:-0}" -gt 2 ] && [ "${h:-0}" -gt 2 ] || continue
  xwd -id "$id" -silent 2>/dev/null | "$magick" xwd:- "PNG:$part" 2>/dev/null || continue
  "$magick" "PNG:$tmp" "PNG:$part" -geometry "+$x+$y" -composite "PNG:$tmp"
done
mv -f "$tmp" "$out"
echo "$out"
