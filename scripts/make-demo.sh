#!/usr/bin/env bash
# Writes the demo project into the build folder: $ZK_BUILD/demo/demo.zkp.
#
# A project file holds absolute paths, so it is made for this checkout from the template
# examples/demo/demo.zkp.in. The template is the project file as the tool writes it (line
# ends become CR LF) with these placeholders:
#   @DEMO_DIR@       the Windows path of examples/demo under Wine (drive Z:)
#   @SETUP_FILE@     the setup to build: $ZK_BUILD/demo/DemoNotesSetup.exe
#   @LANGUAGES@      a line per checked language: the list positions of English and German
#                    among the tool's Languages\*.zkl (listed by name, ignoring case);
#                    nothing when they are not there
#   @SIZE file@      the size text of a file of examples/demo, as the files list shows it
#   @LICENCE file@   the raw 32-bit byte count of the file, then its bytes
#   @FLAG n@         a raw 32-bit number (a registry row's remove flag)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
. "$here/env.sh"

demo="$root/examples/demo"
out="$ZK_BUILD/demo"
mkdir -p "$out"

perl -e '
  use strict;
  use warnings;
  my ($template, $demo, $out, $languages) = @ARGV;
  sub windows_path { my $p = shift; $p =~ s{/}{\\}g; return "Z:" . $p; }
  sub slurp {
    my $path = shift;
    open(my $f, "<:raw", $path) or die "cannot read $path: $!\n";
    local $/;
    my $bytes = <$f>;
    return defined $bytes ? $bytes : "";
  }
  # The files list shows sizes with one decimal, dropped when it is 0: 1.5 KB, 2 KB.
  sub size_text {
    my $value = -s shift;
    my @units = ("Byte", "KB", "MB", "GB");
    my $unit = 0;
    while ($unit < 3 && $value >= 1024) { $value /= 1024; $unit++; }
    my $number = sprintf("%.1f", $value);
    $number = sprintf("%.0f", $value) if $number =~ /0$/;
    return "$number $units[$unit]";
  }

  my @names;
  if (opendir(my $d, $languages)) {
    @names = sort { lc($a) cmp lc($b) } grep { /\.zkl$/i && -f "$languages/$_" } readdir($d);
    closedir($d);
  }
  my $positions = "";
  for my $i (0 .. $#names) {
    $positions .= "$i\r\n" if $names[$i] =~ /^(English|German)\.zkl$/i;
  }

  my $text = slurp($template);
  $text =~ s/\r?\n/\r\n/g;
  $text =~ s/\@LANGUAGES\@\r\n/$positions/g;
  $text =~ s/\@DEMO_DIR\@/windows_path($demo)/ge;
  $text =~ s/\@SETUP_FILE\@/windows_path("$out\/DemoNotesSetup.exe")/ge;
  $text =~ s/\@SIZE ([^@]+)\@/size_text("$demo\/$1")/ge;
  $text =~ s/\@FLAG (\d+)\@/pack("V", $1)/ge;
  $text =~ s/\@LICENCE ([^@]+)\@/my $b = slurp("$demo\/$1"); pack("V", length $b) . $b/ge;
  die "unknown placeholder in $template\n" if $text =~ /\@[A-Z_]+[ @]/;

  open(my $f, ">:raw", "$out/demo.zkp") or die "cannot write $out/demo.zkp: $!\n";
  print $f $text;
  close($f) or die "cannot write $out/demo.zkp: $!\n";
' "$demo/demo.zkp.in" "$demo" "$out" "$ZK_BUILD/bin/Languages"
echo "$out/demo.zkp"
