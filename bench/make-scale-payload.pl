#!/usr/bin/env perl
# Writes one of the scale benchmark's payloads into FOLDER\App:
#   many   100,000 small files (100 folders of 1,000 files, 200 to 2,200 bytes of text each)
#   large  about 5 GB: "big.bin" of 4,400 MiB (over 4 GiB) and eight files of 64 MiB
# The large files repeat one 1 MiB block of SHA-512 output, which deflate cannot shorten
# (its window is 32 KiB), so they cost what incompressible data costs. Everything derives
# from SHA-512 of a counter: every run writes the same bytes.
use strict;
use warnings;
use Digest::SHA qw(sha512 sha512_hex);
use File::Path qw(make_path);

my ($kind, $out) = @ARGV;
die "usage: make-scale-payload.pl many|large FOLDER\n" unless $out && $kind =~ /^(many|large)$/;
my $app = "$out/App";
make_path($app);

if ($kind eq 'many') {
  my $n = 0;
  for my $d (0 .. 99) {
    my $dir = sprintf('%s/d%03d', $app, $d);
    make_path($dir);
    for my $f (0 .. 999) {
      my $size = 200 + ($n * 7919) % 2001;
      my $s = '';
      $s .= sha512_hex(pack('Q<', $n)) . "\n" while length($s) < $size;
      open(my $h, '>:raw', sprintf('%s/f%04d.txt', $dir, $f)) or die "$dir: $!\n";
      print $h substr($s, 0, $size);
      close $h;
      $n++;
    }
  }
  exit 0;
}

my $block = '';
my $counter = 0;
$block .= sha512(pack('Q<', $counter++)) while length($block) < 1 << 20;
sub write_file {
  my ($path, $mib) = @_;
  open(my $h, '>:raw', $path) or die "$path: $!\n";
  print $h $block for 1 .. $mib;
  close $h or die "$path: $!\n";
}
write_file("$app/big.bin", 4400);
write_file(sprintf('%s/part%d.bin', $app, $_), 64) for 1 .. 8;
