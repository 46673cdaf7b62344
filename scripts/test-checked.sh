#!/usr/bin/env bash
# Builds the tests that need no window with the standard library's assertions and with
# trapping undefined-behaviour checks, into $ZK_BUILD/checked, and runs them (CTest label
# "checked"). A check that fires ends its test program with an error. Arguments go to
# ctest. The normal build's programs are not touched; its Wine prefix is shared.
# With ZK_CHECKED_BUILD_ONLY=1 it builds and stops (test.sh builds beside its suite).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
. "$here/env.sh"
checked="$ZK_BUILD/checked"

# Called by test.sh, the set-up, the Wine prefix and the session are there already.
if [ -z "${ZK_SESSION_STARTED:-}" ]; then
  "$here/setup.sh"
  "$here/wine-prefix.sh"
fi
if [ ! -f "$checked/build.ninja" ]; then
  cmake -S "$root" -B "$checked" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$ZK_TOOLCHAIN" \
    -DCMAKE_BUILD_TYPE=Release -DZK_DEPS_PREFIX="$ZK_DEPS_PREFIX" -DZK_CHECKED=ON >/dev/null
fi
cmake --build "$checked" --target zk_checked_tests -j "${ZK_JOBS:-$(nproc)}"
if [ -n "${ZK_CHECKED_BUILD_ONLY:-}" ]; then exit 0; fi

if [ -z "${ZK_SESSION_STARTED:-}" ]; then
  . "$here/session.sh"
  zk_start_xvfb
  zk_start_wine_session
fi

cd "$checked"
ctest --output-on-failure --timeout 600 -j "${ZK_JOBS:-$(nproc)}" -L checked "$@"
