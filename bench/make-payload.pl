#!/usr/bin/env perl
# Writes the benchmark's reference payload into the folder given as the argument: "App\"
# with 6 folders of 5 sub-folders of 10 files each (300 files, about 50 MB). Two files in
# three are text (words drawn from a small vocabulary, so they compress well), one in
# three is random bytes (which does not compress). Everything derives from SHA-512 of a
# counter, so every run writes the same bytes.
use strict;
use warnings;
use Digest::SHA qw(sha512);
use File::Path qw(make_path);

my $out = shift or die "usage: make-payload.pl FOLDER\n";
my @words = qw(setup install folder registry shortcut program version company licence
  archive cabinet window dialog button language update wizard image header icon splash
  sound uninstall variable command option finish desktop start menu path file data the
  of and to in is it for on with as by at from this that be are was not or);

my $counter = 0;
sub block { return sha512(pack("Q<", $counter++)); }

sub random_bytes {
  my $size = shift;
  my $s = '';
  $s .= block() while length($s) < $size;
  return substr($s, 0, $size);
}

sub text {
  my $size = shift;
  my $s = '';
  my $column = 0;
  while (length($s) < $size) {
    for my $i (unpack("n32", block())) {
      my $w = $words[$i % @words];
      $s .= $w;
      $column += length($w) + 1;
      if ($column > 72) { $s .= "\r\n"; $column = 0; } else { $s .= ' '; }
    }
  }
  return substr($s, 0, $size);
}

my @folders = qw(bin data docs lib res plugins);
my ($files, $bytes) = (0, 0);
for my $f (@folders) {
  for my $sub (0 .. 4) {
    my $dir = "$out/App/$f/part$sub";
    make_path($dir);
    for my $n (0 .. 9) {
      my $size = 20000 + unpack("N", block()) % 320000;
      my $binary = $files % 3 == 0;
      my $name = sprintf("%s/%s%02d.%s", $dir, $binary ? "blob" : "notes", $n, $binary ? "dat" : "txt");
      open(my $fh, ">:raw", $name) or die "cannot write $name: $!\n";
      print $fh ($binary ? random_bytes($size) : text($size));
      close($fh) or die "cannot write $name: $!\n";
      $files++;
      $bytes += $size;
    }
  }
}
printf "payload: %d files, %.1f MB in %s/App\n", $files, $bytes / 1048576, $out;
