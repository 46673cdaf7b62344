#!/usr/bin/env bash
# Cross-compiles zlib (with minizip), expat, libpng, libjpeg-turbo and googletest from
# Debian's source packages into $ZK_DEPS_PREFIX as static 64-bit Windows libraries.
# Each library leaves a stamp; a library whose stamp exists is not fetched or built again.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
. "$here/env.sh"

# Bump when a recipe below changes, so the cache is rebuilt.
recipe=3
# Each function and datum in a section of its own, as the project's own code, so that a
# program's linker can drop the data it never reaches. Intermediate code beside the
# machine code (fat objects): the programs end users run are optimised across files at
# link time, libraries included, and keep only the library functions they reach; every
# other link uses the machine code.
sections="-ffunction-sections -fdata-sections -flto -ffat-lto-objects"
# The image decoders decode a few small pictures per run: built for size, which halves
# what they add to the setup runtime. Their messages (integers and names) go through the
# system C library's printf family rather than the C99-conforming one, which would add a
# whole second formatter to the setup runtime for text nobody sees in a GUI program.
small_c="-Os -DNDEBUG -D__USE_MINGW_ANSI_STDIO=0 $sections"
triple=x86_64-w64-mingw32
jobs=$(nproc)
src="$ZK_DEPS_CACHE/src"
work="$ZK_DEPS_CACHE/work"
stamps="$ZK_DEPS_CACHE/stamps"
mkdir -p "$src" "$work" "$stamps" "$ZK_DEPS_PREFIX/include" "$ZK_DEPS_PREFIX/lib"

# Unpacks Debian's source package $1 (with Debian's patches) once; prints its folder.
fetch() {
  local pkg=$1 dir
  dir=$(find "$src" -maxdepth 1 -mindepth 1 -type d -name "$pkg-[0-9]*" | head -n 1)
  if [ -z "$dir" ]; then
    # A mirror may list a source version it does not serve (security updates often);
    # then the other listed versions are tried, newest first.
    local v ok=0
    for v in "" $(apt-cache showsrc "$pkg" 2>/dev/null | sed -n 's/^Version: //p' | sort -rV | uniq); do
      if (cd "$src" && apt-get source -qq "$pkg${v:+=$v}" >/dev/null 2>>"$src/$pkg.log"); then ok=1; break; fi
    done
    [ $ok = 1 ] || { cat "$src/$pkg.log" >&2; echo "deps: apt-get source $pkg failed" >&2; exit 1; }
    dir=$(find "$src" -maxdepth 1 -mindepth 1 -type d -name "$pkg-[0-9]*" | head -n 1)
  fi
  [ -n "$dir" ] || { echo "deps: no source folder for $pkg" >&2; exit 1; }
  echo "$dir"
}

done_already() { [ -f "$stamps/$1.$recipe" ]; }
mark_done() { touch "$stamps/$1.$recipe"; echo "deps: $1 ready"; }

after_configure() { :; }
cmake_build() {  # name source-dir cmake-args...
  local name=$1 dir=$2; shift 2
  rm -rf "$work/$name"
  cmake -S "$dir" -B "$work/$name" -G Ninja -Wno-dev \
    -DCMAKE_TOOLCHAIN_FILE="$ZK_TOOLCHAIN" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$ZK_DEPS_PREFIX" -DCMAKE_PREFIX_PATH="$ZK_DEPS_PREFIX" \
    -DBUILD_SHARED_LIBS=OFF "$@" >"$work/$name.log" 2>&1 \
    && after_configure "$work/$name" \
    && cmake --build "$work/$name" -j "$jobs" >>"$work/$name.log" 2>&1 \
    && cmake --install "$work/$name" >>"$work/$name.log" 2>&1 \
    || { tail -n 40 "$work/$name.log" >&2; echo "deps: $name failed" >&2; exit 1; }
  rm -rf "$work/$name"
}

if ! done_already zlib; then
  dir=$(fetch zlib)
  rm -rf "$work/zlib" && cp -a "$dir" "$work/zlib"
  # Debian's source has no Windows makefile; the library is its top-level C files.
  for f in "$work"/zlib/*.c; do
    $triple-gcc-posix -O2 $sections -c "$f" -o "${f%.c}.o"
  done
  $triple-gcc-ar-posix rcs "$ZK_DEPS_PREFIX/lib/libz.a" "$work"/zlib/*.o
  cp "$work/zlib/zlib.h" "$work/zlib/zconf.h" "$ZK_DEPS_PREFIX/include/"
  # minizip: zlib's contributed ZIP layer, with its Win32 file functions.
  mz="$work/zlib/contrib/minizip"
  mkdir -p "$ZK_DEPS_PREFIX/include/minizip"
  for f in ioapi zip unzip iowin32; do
    $triple-gcc-posix -O2 $sections -I"$work/zlib" -c "$mz/$f.c" -o "$work/zlib/mz_$f.o"
    cp "$mz/$f.h" "$ZK_DEPS_PREFIX/include/minizip/"
  done
  cp "$mz/crypt.h" "$ZK_DEPS_PREFIX/include/minizip/" 2>/dev/null || true
  $triple-gcc-ar-posix rcs "$ZK_DEPS_PREFIX/lib/libminizip.a" "$work"/zlib/mz_*.o
  rm -rf "$work/zlib"
  mark_done zlib
fi

if ! done_already expat; then
  dir=$(fetch expat)
  # Debian's patches test "#if XML_DTD == 1" while the generated header defines it empty.
  after_configure() { sed -i -E 's/^#define (XML_DTD|XML_NS|XML_GE)$/#define \1 1/' "$1/expat_config.h"; }
  cmake_build expat "$dir/expat" -DEXPAT_SHARED_LIBS=OFF -DEXPAT_BUILD_TOOLS=OFF \
    -DEXPAT_BUILD_EXAMPLES=OFF -DEXPAT_BUILD_TESTS=OFF -DEXPAT_BUILD_DOCS=OFF -DEXPAT_BUILD_PKGCONFIG=OFF
  after_configure() { :; }
  mark_done expat
fi

if ! done_already libpng; then
  dir=$(fetch libpng1.6)
  cmake_build libpng "$dir" -DCMAKE_C_FLAGS_RELEASE="$small_c" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
    -DZLIB_LIBRARY="$ZK_DEPS_PREFIX/lib/libz.a" -DZLIB_INCLUDE_DIR="$ZK_DEPS_PREFIX/include"
  mark_done libpng
fi

if ! done_already libjpeg; then
  dir=$(fetch libjpeg-turbo)
  # NO_GETENV: no JPEGMEM variable, which would pull the C library's whole scanf into
  # every program that shows a JPEG.
  cmake_build libjpeg "$dir" -DCMAKE_C_FLAGS_RELEASE="$small_c -DNO_GETENV" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF \
    -DWITH_TURBOJPEG=OFF -DWITH_JPEG8=OFF -DWITH_JPEG7=OFF
  mark_done libjpeg
fi

if ! done_already googletest; then
  dir=$(fetch googletest)
  cmake_build googletest "$dir" -DBUILD_GMOCK=ON -DINSTALL_GTEST=ON -Dgtest_disable_pthreads=ON
  mark_done googletest
fi
