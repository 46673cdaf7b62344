#!/usr/bin/env bash
# Runs a Windows program under Wine in the pinned test prefix, with a time limit.
# Used by CTest as the cross-compiling emulator and by the other scripts.
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
. "$here/env.sh"
exec timeout -k 10 "${ZK_WINE_TIMEOUT:-300}" wine "$@"
