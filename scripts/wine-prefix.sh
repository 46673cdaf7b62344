#!/usr/bin/env bash
# Creates the pinned Wine prefix inside the build folder once: Windows 10, 96 DPI,
# no desktop integration. Sourced settings come from env.sh.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
. "$here/env.sh"
stamp="$WINEPREFIX/.zk-ready-2"

# Wine's own fonts (Tahoma, MS Sans Serif, Marlett for the caption buttons) live in
# /usr/share/wine/fonts, but Debian's Wine 8 looks for them under a path it cannot resolve
# and falls back to DejaVu: texts come out wider than on Windows and the caption buttons
# show letters. A copy in the prefix's Fonts folder is found. Checked on every run, so
# an existing prefix gets them too.
copy_wine_fonts() {
  local fonts=/usr/share/wine/fonts dest="$WINEPREFIX/drive_c/windows/Fonts"
  [ -d "$fonts" ] && [ -d "$dest" ] || return 0
  [ -f "$dest/tahoma.ttf" ] && return 0
  cp "$fonts"/* "$dest"/
}

if [ -f "$stamp" ]; then copy_wine_fonts; exit 0; fi
rm -rf "$WINEPREFIX"
mkdir -p "$WINEPREFIX"
echo "wine: creating prefix $WINEPREFIX"
timeout 300 wineboot -i >/dev/null 2>&1
timeout 120 wine reg add 'HKCU\Software\Wine' /v Version /d win10 /f >/dev/null 2>&1
timeout 120 wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1
timeout 120 wine reg add 'HKCU\Software\Wine\Fonts' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1
# No window manager runs on the test display: Wine then draws the window frames itself
# and does not wait for a manager's answer whenever a window goes away.
timeout 120 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
# Let crashed programs end instead of waiting in a debugger dialog.
timeout 120 wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
timeout 60 wineserver -w || true
copy_wine_fonts
touch "$stamp"
