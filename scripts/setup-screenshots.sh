#!/usr/bin/env bash
# Screenshots of a setup's windows for a person to look at: builds a setup with every page
# and two languages, runs it once in English and once in German on a private Xvfb display
# and writes $ZK_BUILD/screenshots/setup-<language>-<n>-<page>.png (language window,
# each wizard page, installing, finish). The setup's one command waits a few seconds,
# which keeps the installing page up for its picture. Needs a build (scripts/build.sh).
# The setup installs the demo (an empty archive) into the test prefix's Program Files.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
. "$here/env.sh"
"$here/wine-prefix.sh"
. "$here/session.sh"
zk_start_xvfb
zk_start_wine_session

cd "$ZK_BUILD/bin"
work=setup_tour
rm -rf "$work"
timeout 120 wine zk_setup_tour.exe make "$work" >/dev/null 2>&1 || { echo "setup-screenshots: could not make the setup" >&2; exit 1; }
step() { timeout 60 wine zk_setup_tour.exe "$@" >/dev/null 2>&1 || echo "setup-screenshots: step '$*' failed" >&2; sleep 1; }
shot() { "$here/screenshot.sh" "$ZK_BUILD/screenshots/setup-$1.png"; }
n=0
# The language window speaks the user's language: the German pass runs in a German locale.
for lang in 0:english:en_US.UTF-8 1:german:de_DE.UTF-8; do
  index=${lang%%:*} rest=${lang#*:}
  name=${rest%%:*} locale=${rest#*:}
  mkdir -p "$work/temp-$name"
  LANG=$locale LC_ALL=$locale TEMP="$(winepath -w "$work/temp-$name" 2>/dev/null)" \
    TMP="$(winepath -w "$work/temp-$name" 2>/dev/null)" wine "$work/setup.exe" >/dev/null 2>&1 &
  setup=$!
  sleep 4
  shot "$name-1-language"
  step lang "$index"
  shot "$name-2-welcome"
  step next
  shot "$name-3-licence"
  step accept
  step next
  shot "$name-4-folder"
  step next
  shot "$name-5-tasks"
  step next
  shot "$name-6-startmenu"
  step next
  shot "$name-7-installing"
  sleep 5
  shot "$name-8-finish"
  step next
  wait "$setup" 2>/dev/null || true
done
