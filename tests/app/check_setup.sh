#!/usr/bin/env bash
# Checks the demo setup that app_build_test left in FOLDER with Linux tools: the setup
# splits into the runtime image, the 64-bit cabinet length, a cabinet that cabextract
# accepts and that holds the resource files, and a ZIP archive that unzip accepts, followed
# by its 32-bit length.
set -euo pipefail
dir=$1
setup="$dir/DemoSetup.exe"
runtime="$dir/SetupRuntime.exe"
[ -f "$setup" ] && [ -f "$runtime" ] || { echo "check_setup: no setup in $dir"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

perl -e '
  my ($setup, $runtime, $out) = @ARGV;
  local $/;
  open(my $s, "<:raw", $setup) or die; my $b = <$s>;
  open(my $r, "<:raw", $runtime) or die; my $img = <$r>;
  my $S = length($img);
  substr($b, 0, $S) eq $img or die "the setup does not start with the runtime image\n";
  my $n = unpack("Q<", substr($b, $S, 8));
  $n > 0 && $S + 8 + $n + 4 <= length($b) or die "cabinet length $n does not fit the file\n";
  my $archive = substr($b, $S + 8 + $n, length($b) - ($S + 8 + $n) - 4);
  my $tail = unpack("V", substr($b, -4));
  $tail == length($archive) or die "archive length $tail, archive holds " . length($archive) . " bytes\n";
  open(my $c, ">:raw", "$out/Setup.cab") or die; print $c substr($b, $S + 8, $n); close $c;
  open(my $z, ">:raw", "$out/archive.zip") or die; print $z $archive; close $z;
' "$setup" "$runtime" "$work"

cabextract -q -t "$work/Setup.cab" >/dev/null
names=$(cabextract -q -l "$work/Setup.cab" | tr -d '\r')
for f in SC.dat OS.dat languages.dat Registry.dat Commands.dat; do
  grep -q " $f\$" <<<"$names" || { echo "check_setup: $f missing from the cabinet"; echo "$names"; exit 1; }
done
# The archive's first entry is the nameless staging folder itself, which unzip reports as
# a warning (exit code 1); every entry must still test OK.
rc=0
tested=$(unzip -t "$work/archive.zip" 2>&1) || rc=$?
[ $rc -le 1 ] || { echo "$tested"; exit 1; }
if echo "$tested" | grep 'testing:' | grep -vq ' OK$'; then echo "$tested"; exit 1; fi
unzip -Z1 "$work/archive.zip" | grep -q 'README.txt$' || { echo "check_setup: README.txt missing from the archive"; exit 1; }
echo "check_setup: setup, cabinet and archive check out"
