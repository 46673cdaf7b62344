#!/usr/bin/env bash
# Build benchmark, not part of the test suite: one reference payload (bench/make-payload.pl,
# about 300 files and 50 MB) packed into a setup by Zendrikolbar, through the real program
# under Wine, and by NSIS's makensis with zlib, natively; times and sizes side by side.
#   ZK_BUILD=... bench/run.sh [RUNS]     (RUNS builds with each tool, default 3; the best counts)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
. "$root/scripts/env.sh"
runs=${1:-3}

"$root/scripts/setup.sh"
"$root/scripts/build.sh"
cmake --build "$ZK_BUILD" --target zk_bench_build zk_demo_project >/dev/null
"$root/scripts/wine-prefix.sh"

if ! command -v makensis >/dev/null; then
  apt-get update -qq && apt-get install -y -qq nsis >/dev/null
fi

bench="$ZK_BUILD/bench"
rm -rf "$bench"
mkdir -p "$bench/out"
perl "$here/make-payload.pl" "$bench/payload"
winpath() { printf 'Z:%s' "$(printf '%s' "$1" | tr / '\\')"; }

# Zendrikolbar, deflate as the demo project sets it.
. "$root/scripts/session.sh"
zk_start_xvfb
zk_start_wine_session
zk_best_ms=; zk_bytes=
for run in $(seq 1 "$runs"); do
  line=$(cd "$ZK_BUILD/bin" && ZK_WINE_TIMEOUT=900 "$root/scripts/wine-run.sh" zk_bench_build.exe \
    "$(winpath "$ZK_BUILD/demo/demo.zkp")" "$(winpath "$bench/payload/App")\\" \
    "$(winpath "$bench/out/zendrikolbar-setup.exe")" "$(winpath "$bench/work")\\" | tr -d '\r')
  ms=$(sed -n 's/.*build_ms=\([0-9]*\).*/\1/p' <<<"$line")
  zk_bytes=$(sed -n 's/.*setup_bytes=\([0-9]*\).*/\1/p' <<<"$line")
  [ -n "$ms" ] || { echo "zendrikolbar run $run failed: $line" >&2; exit 1; }
  echo "zendrikolbar run $run: $ms ms, $zk_bytes bytes"
  if [ -z "$zk_best_ms" ] || [ "$ms" -lt "$zk_best_ms" ]; then zk_best_ms=$ms; fi
done

# NSIS with zlib, the 64-bit stub when the package has one.
stubs=$(dirname "$(dirname "$(readlink -f "$(command -v makensis)")")")/share/nsis/Stubs
target=
if [ -e "$stubs/zlib-amd64-unicode" ]; then
  target='Target amd64-unicode'
  nsis_stub="64-bit stub"
else
  nsis_stub="32-bit stub (the package has no 64-bit one)"
fi
cat >"$bench/bench.nsi" <<NSI
$target
Unicode true
SetCompressor zlib
Name "Bench"
OutFile "$bench/out/nsis-setup.exe"
InstallDir "\$PROGRAMFILES64\\Bench"
RequestExecutionLevel user
Section
  SetOutPath "\$INSTDIR"
  File /r "$bench/payload/App"
  ; The rest of what the demo project's setup does besides its files, so that both
  ; setups do the same work: two registry values, a start-menu and a desktop link, an
  ; uninstaller with its Add/Remove key, and the command (whose program the payload lacks).
  WriteRegStr HKCU "Software\Zendrikolbar Samples\Bench" "InstallPath" "\$INSTDIR"
  WriteRegStr HKCU "Software\Zendrikolbar Samples\Bench" "Version" "1.0"
  CreateDirectory "\$SMPROGRAMS\Bench"
  CreateShortCut "\$SMPROGRAMS\Bench\Bench.lnk" "\$INSTDIR\bin\DemoNotes.bat"
  CreateShortCut "\$DESKTOP\Bench.lnk" "\$INSTDIR\bin\DemoNotes.bat"
  WriteUninstaller "\$INSTDIR\Uninstall.exe"
  WriteRegStr HKLM "Software\Microsoft\Windows\CurrentVersion\Uninstall\Bench" "DisplayName" "Bench"
  WriteRegStr HKLM "Software\Microsoft\Windows\CurrentVersion\Uninstall\Bench" "UninstallString" "\$INSTDIR\Uninstall.exe"
  ExecWait '"\$INSTDIR\bin\DemoNotes.bat" /firstrun'
SectionEnd
Section "Uninstall"
  RMDir /r "\$INSTDIR"
SectionEnd
NSI
nsis_best_ms=
for run in $(seq 1 "$runs"); do
  start=$(date +%s%N)
  makensis -V1 "$bench/bench.nsi" >/dev/null
  ms=$(( ($(date +%s%N) - start) / 1000000 ))
  echo "makensis run $run: $ms ms"
  if [ -z "$nsis_best_ms" ] || [ "$ms" -lt "$nsis_best_ms" ]; then nsis_best_ms=$ms; fi
done
nsis_bytes=$(stat -c %s "$bench/out/nsis-setup.exe")

payload_bytes=$(find "$bench/payload" -type f -printf '%s\n' | awk '{s+=$1} END {print s}')
echo
echo "payload: $(find "$bench/payload" -type f | wc -l) files, $payload_bytes bytes"
printf '%-28s %12s %14s\n' "" "build (ms)" "setup (bytes)"
printf '%-28s %12s %14s\n' "Zendrikolbar (Wine, deflate)" "$zk_best_ms" "$zk_bytes"
printf '%-28s %12s %14s\n' "makensis (native, zlib)" "$nsis_best_ms" "$nsis_bytes"
awk -v a="$zk_best_ms" -v b="$nsis_best_ms" -v c="$zk_bytes" -v d="$nsis_bytes" \
  'BEGIN { printf "%-28s %12.2f %14.3f\n", "ratio Zendrikolbar/NSIS", a / b, c / d }'
echo "NSIS: $nsis_stub"

# What every setup carries before its payload. SetupRuntime.exe holds Uninstaller.exe
# inside it (the image unchanged), so its size is the two together. NSIS's counterpart is
# an empty script's setup, with the same stub; NSIS writes its uninstaller from that stub.
cat >"$bench/empty.nsi" <<NSI
$target
Unicode true
SetCompressor zlib
Name "Empty"
OutFile "$bench/out/nsis-empty.exe"
RequestExecutionLevel user
Section
SectionEnd
NSI
makensis -V1 "$bench/empty.nsi" >/dev/null
runtime_bytes=$(stat -c %s "$ZK_BUILD/bin/SetupRuntime.exe")
uninstaller_bytes=$(stat -c %s "$ZK_BUILD/bin/Uninstaller.exe")
empty_bytes=$(stat -c %s "$bench/out/nsis-empty.exe")
echo
printf '%-44s %12s\n' "setup overhead" "bytes"
printf '%-44s %12s\n' "SetupRuntime.exe (with the uninstaller)" "$runtime_bytes"
printf '%-44s %12s\n' "  of which Uninstaller.exe" "$uninstaller_bytes"
printf '%-44s %12s\n' "NSIS empty setup ($nsis_stub)" "$empty_bytes"
awk -v a="$runtime_bytes" -v b="$empty_bytes" \
  'BEGIN { printf "%-44s %12.2f   (goal: SetupRuntime.exe at most 600 KB)\n", "ratio Zendrikolbar/NSIS", a / b }'

# The install half: the same payload installed by both setups (bench/install.sh).
echo
"$here/install.sh" "$runs"
