#!/usr/bin/env bash
# Runs a test program in a Wine prefix of its own whose screen has the DPI given, on the
# test session's display: run_at_dpi.sh DPI PROGRAM [ARGS...]. The prefix is a copy of
# the tests' pinned one made once per build folder and DPI, so the other tests keep 96 DPI;
# its Wine session is ended afterwards. ZK_TEST_DPI tells the program what it should find.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
. "$root/scripts/env.sh"
dpi=$1
shift
"$root/scripts/wine-prefix.sh"
prefix="$ZK_BUILD/wineprefix-${dpi}dpi"
stamp="$prefix/.zk-dpi-ready"
if [ ! -f "$stamp" ]; then
  rm -rf "$prefix"
  cp -a "$WINEPREFIX" "$prefix"
  export WINEPREFIX="$prefix"
  for key in 'HKCU\Control Panel\Desktop' 'HKCU\Software\Wine\Fonts' \
             'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts'; do
    timeout 120 wine reg add "$key" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  done
  timeout 60 wineserver -w || true
  touch "$stamp"
fi
export WINEPREFIX="$prefix" ZK_TEST_DPI="$dpi"
status=0
timeout -k 10 "${ZK_WINE_TIMEOUT:-300}" wine "$@" || status=$?
timeout 30 wineserver -k >/dev/null 2>&1 || true
exit "$status"
