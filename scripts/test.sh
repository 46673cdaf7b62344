#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite under Wine
# on a private Xvfb display. Prints CTest's summary; fails when any test fails.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
. "$here/env.sh"

"$here/setup.sh"
"$here/build.sh"
"$here/wine-prefix.sh"

. "$here/session.sh"
zk_start_xvfb
zk_start_wine_session

cd "$ZK_BUILD"
ctest --output-on-failure --timeout 600 -j "${ZK_JOBS:-$(nproc)}" "$@"
