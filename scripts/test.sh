#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite under Wine
# on a private Xvfb display, then (without arguments) the tests that need no window once
# more in the checked build (scripts/test-checked.sh). Prints CTest's summaries; fails
# when any test fails. Arguments go to ctest for the normal build only.
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
if [ $# -gt 0 ]; then
  # Not exec: the display and the Wine session started above end with this script.
  ctest --output-on-failure --timeout 600 -j "${ZK_JOBS:-$(nproc)}" "$@"
  exit
fi
status=0
export ZK_SESSION_STARTED=1
# The checked build compiles beside the suite at the lowest priority: most of the suite's
# tests run alone and leave the other cores nearly idle, and a test that wants a core
# gets it first. Its output is shown when it fails.
checked_log="$ZK_BUILD/checked-build.log"
ZK_CHECKED_BUILD_ONLY=1 nice -n 19 "$here/test-checked.sh" >"$checked_log" 2>&1 &
checked_build=$!
ctest --output-on-failure --timeout 600 -j "${ZK_JOBS:-$(nproc)}" || status=1
if ! wait $checked_build; then
  cat "$checked_log"
  echo "test.sh: the checked build failed (log: $checked_log)" >&2
  exit 1
fi
"$here/test-checked.sh" || status=1
exit $status
