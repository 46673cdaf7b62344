#!/usr/bin/env perl
# Makes the staged folders of setupruntime_zip_count_test from the Linux side: FOLDER
# emptied, then COUNT tiny files PER_FOLDER to a folder, named and filled as the test
# names them (zip_entry_count_test.cpp: "dNNN\fNNNNN.txt", each holding its own name).
# Here they take a second; under Wine, one file at a time, they took minutes. The test
# makes any file that is missing itself, so it also runs without this step.
use strict;
use warnings;
use File::Path qw(make_path remove_tree);

@ARGV == 3 or die "usage: $0 FOLDER COUNT PER_FOLDER\n";
my ($folder, $count, $per_folder) = @ARGV;
remove_tree($folder);
for my $i (0 .. $count - 1) {
  my $dir = sprintf('d%03d', int($i / $per_folder));
  my $file = sprintf('f%05d.txt', $i);
  make_path("$folder/$dir") if $i % $per_folder == 0;
  open(my $out, '>:raw', "$folder/$dir/$file") or die "$folder/$dir/$file: $!\n";
  print $out "$dir\\$file";
  close($out) or die "$folder/$dir/$file: $!\n";
}
