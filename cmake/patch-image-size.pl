#!/usr/bin/perl
# patch-image-size.pl FILE TAG
# Finds the 8-byte TAG exactly once in FILE and writes the file's size as a 64-bit
# little-endian number into the 8 bytes after it.
use strict;
use warnings;

my ($file, $tag) = @ARGV;
die "usage: patch-image-size.pl FILE TAG\n" unless defined $tag && length($tag) == 8;
open(my $fh, '+<:raw', $file) or die "patch-image-size: cannot open $file: $!\n";
local $/;
my $data = <$fh>;
my $at = index($data, $tag);
die "patch-image-size: tag $tag not found in $file\n" if $at < 0;
die "patch-image-size: tag $tag found twice in $file\n" if index($data, $tag, $at + 1) >= 0;
my $size = length($data);
seek($fh, $at + 8, 0) or die;
print $fh pack('Q<', $size) or die "patch-image-size: write failed: $!\n";
close($fh) or die "patch-image-size: close failed: $!\n";
