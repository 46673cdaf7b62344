#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian machine (run as root) and
# cross-compiles the third-party libraries from Debian's source packages into a cache
# outside the work tree. A second run finds everything in place and does nothing.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
# shellcheck source=env.sh
. "$here/env.sh"

packages=(
  mingw-w64 gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  cmake ninja-build make perl clang-format
  wine wine64 fonts-wine
  xvfb x11-apps x11-utils xauth imagemagick
  unzip cabextract python3
  dpkg-dev ca-certificates
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

# Source packages need deb-src lines; they are derived from the binary sources already
# configured, so this machine's own mirror is used.
src_list=/etc/apt/sources.list.d/zendrikolbar-src.sources
add_deb_src() {
  if grep -rqsE '^(deb-src|Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    return 1
  fi
  : > "$src_list.tmp"
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -e "$f" ] || continue
    sed -e 's/^Types:.*$/Types: deb-src/' "$f" >> "$src_list.tmp"
    echo >> "$src_list.tmp"
  done
  if [ -f /etc/apt/sources.list ]; then
    grep -E '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' > /etc/apt/sources.list.d/zendrikolbar-src.list || true
  fi
  mv "$src_list.tmp" "$src_list"
  return 0
}

need_update=0
add_deb_src && need_update=1
[ ${#missing[@]} -gt 0 ] && need_update=1
if [ $need_update = 1 ]; then
  echo "setup: apt-get update"
  apt-get update -qq
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# wine32 makes the wine launcher pick a 32-bit loader this kernel cannot run.
if dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'install ok installed'; then
  echo "setup: wine32 is installed; remove it (apt-get remove wine32:i386)" >&2
  exit 1
fi

"$here/deps.sh"
