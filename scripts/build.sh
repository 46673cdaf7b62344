#!/usr/bin/env bash
# Configures and builds every program and test into $ZK_BUILD (default: build/).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
. "$here/env.sh"
if [ ! -f "$ZK_BUILD/build.ninja" ]; then
  cmake -S "$root" -B "$ZK_BUILD" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$ZK_TOOLCHAIN" \
    -DCMAKE_BUILD_TYPE=Release -DZK_DEPS_PREFIX="$ZK_DEPS_PREFIX" >/dev/null
fi
cmake --build "$ZK_BUILD" -j "${ZK_JOBS:-$(nproc)}"
