#!/usr/bin/env bash
# Scale benchmark, not part of the test suite: two large payloads packed and installed by
# Zendrikolbar (the real tool and setup under Wine) and by NSIS's makensis (native build,
# setup under Wine), once each, side by side: build time, install time and the peak
# resident memory of the tool, makensis and both setups.
#   many   100,000 small files (about 120 MB)
#   large  about 5 GB, one file of 4,400 MiB
#   ZK_BUILD=... bench/scale.sh [many|large]...     (default: both)
# The payloads are written once into $ZK_BUILD/bench-scale and kept for later runs.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
. "$root/scripts/env.sh"
kinds=("$@")
[ ${#kinds[@]} -gt 0 ] || kinds=(many large)

"$root/scripts/setup.sh"
"$root/scripts/build.sh"
cmake --build "$ZK_BUILD" --target zk_bench_build zk_bench_install zk_demo_project >/dev/null
"$root/scripts/wine-prefix.sh"
if ! command -v makensis >/dev/null; then
  apt-get update -qq && apt-get install -y -qq nsis >/dev/null
fi
. "$root/scripts/session.sh"
zk_start_xvfb
zk_start_wine_session

scale="$ZK_BUILD/bench-scale"
mkdir -p "$scale"
winpath() { printf 'Z:%s' "$(printf '%s' "$1" | tr / '\\')"; }
now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
peak_mb() { sed -n "s/.* $1=\\([0-9]*\\).*/\\1/p" "$2" | awk '{ printf "%.0f", $1 / 1024 }'; }

stubs=$(dirname "$(dirname "$(readlink -f "$(command -v makensis)")")")/share/nsis/Stubs
target=
[ -e "$stubs/zlib-amd64-unicode" ] && target='Target amd64-unicode'

report=()
for kind in "${kinds[@]}"; do
  case $kind in many|large) ;; *) echo "scale.sh: unknown payload $kind" >&2; exit 2 ;; esac
  payload="$scale/payload-$kind"
  if [ ! -f "$payload.done" ]; then
    rm -rf "$payload"
    echo "writing the $kind payload..."
    perl "$here/make-scale-payload.pl" "$kind" "$payload"
    touch "$payload.done"
  fi
  files=$(find "$payload" -type f | wc -l)
  bytes=$(find "$payload" -type f -printf '%s\n' | awk '{ s += $1 } END { print s }')
  out="$scale/out-$kind"
  rm -rf "$out"
  mkdir -p "$out"

  # Zendrikolbar: the tool builds through its menu; its own process is measured.
  echo "$kind: Zendrikolbar builds..."
  line=$(cd "$ZK_BUILD/bin" && ZK_WINE_TIMEOUT=3600 perl "$here/peak-memory.pl" Zendrikolbar.exe -- \
    "$root/scripts/wine-run.sh" zk_bench_build.exe "$(winpath "$ZK_BUILD/demo/demo.zkp")" \
    "$(winpath "$payload/App")\\" "$(winpath "$out/zendrikolbar-setup.exe")" "$(winpath "$scale/work")\\" \
    2>"$out/zk-build.err" | tr -d '\r') || true
  zk_build=$(sed -n 's/.*build_ms=\([0-9]*\).*/\1/p' <<<"$line")
  zk_build=${zk_build:-failed}
  zk_build_mb=$(peak_mb Zendrikolbar.exe "$out/zk-build.err")
  [ "$zk_build" != failed ] || sed -n '1,20p' "$out/zk-build.err" >&2

  echo "$kind: makensis builds..."
  cat >"$out/scale.nsi" <<NSI
$target
Unicode true
SetCompressor zlib
Name "Bench"
OutFile "$out/nsis-setup.exe"
InstallDir "\$PROGRAMFILES64\\Bench"
RequestExecutionLevel user
Section
  SetOutPath "\$INSTDIR"
  File /r "$payload/App"
SectionEnd
NSI
  start=$(now_ms)
  if perl "$here/peak-memory.pl" makensis -- makensis -V1 "$out/scale.nsi" >"$out/nsis-build.log" 2>"$out/nsis-build.err"; then
    nsis_build=$(( $(now_ms) - start ))
  else
    nsis_build="failed: $(grep -v '^peak_kb' "$out/nsis-build.err" "$out/nsis-build.log" | tail -1 | cut -c1-70)"
    rm -f "$out/nsis-setup.exe"
  fi
  nsis_build_mb=$(peak_mb makensis "$out/nsis-build.err")

  # Both setups install into drive C: of the prefix; ours through its wizard, NSIS silently.
  echo "$kind: the setups install..."
  nsis_setup="$out/nsis-setup.exe"
  [ -f "$nsis_setup" ] || nsis_setup="$out/none.exe"
  zk_install=failed; nsis_install=failed; zk_install_mb=0; nsis_install_mb=0
  if [ -f "$out/zendrikolbar-setup.exe" ]; then
    rm -rf "$WINEPREFIX/drive_c/zk-bench-scale"
    res=$(cd "$ZK_BUILD/bin" && ZK_WINE_TIMEOUT=3600 perl "$here/peak-memory.pl" \
      zendrikolbar-setup.exe,nsis-setup.exe -- "$root/scripts/wine-run.sh" zk_bench_install.exe \
      "$(winpath "$out/zendrikolbar-setup.exe")" "$(winpath "$nsis_setup")" 'C:\zk-bench-scale\' "$files" 1 \
      2>"$out/install.err" | tr -d '\r') || true
    zk_install=$(sed -n 's/^zendrikolbar run 1: \([0-9]*\) ms.*/\1/p' <<<"$res")
    nsis_install=$(sed -n 's/^nsis run 1: \([0-9]*\) ms.*/\1/p' <<<"$res")
    zk_install=${zk_install:-failed}; nsis_install=${nsis_install:-failed}
    zk_install_mb=$(peak_mb zendrikolbar-setup.exe "$out/install.err")
    nsis_install_mb=$(peak_mb nsis-setup.exe "$out/install.err")
    grep -v '^peak_kb' "$out/install.err" | sed -n '1,5p' >&2 || true
    rm -rf "$WINEPREFIX/drive_c/zk-bench-scale"
  fi
  zk_bytes=$(stat -c %s "$out/zendrikolbar-setup.exe" 2>/dev/null || echo -)
  nsis_bytes=$(stat -c %s "$out/nsis-setup.exe" 2>/dev/null || echo -)
  report+=("$(printf '%s: %s files, %s bytes' "$kind" "$files" "$bytes")")
  report+=("$(printf '  %-13s %10s %9s %15s %12s %9s' "" "build ms" "peak MB" "setup bytes" "install ms" "peak MB")")
  report+=("$(printf '  %-13s %10s %9s %15s %12s %9s' Zendrikolbar "$zk_build" "$zk_build_mb" "$zk_bytes" "$zk_install" "$zk_install_mb")")
  report+=("$(printf '  %-13s %10s %9s %15s %12s %9s' makensis "$nsis_build" "$nsis_build_mb" "$nsis_bytes" "$nsis_install" "$nsis_install_mb")")
  rm -f "$out"/*.exe
done

echo
printf '%s\n' "${report[@]}"
echo "(Zendrikolbar's tool and both setups run under Wine; makensis runs natively.)"
