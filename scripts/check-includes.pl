#!/usr/bin/perl
# Checks that includes between the folders of src/ point down only:
#   common <- model <- builder, setupruntime, uninstaller, pelbuild, updateclient, tovrel <- app
# A file may include its own folder, the folders below it, system and library headers.
# The folders of one level do not include each other: what two of them share belongs in a
# lower folder. Prints each include that breaks the rule and fails.
# The files are the tracked ones (git ls-files); without a git checkout, every file under src/.
use strict;
use warnings;
use File::Basename qw(dirname);
use File::Spec;

my %level = (
  common => 0,
  model => 1,
  builder => 2, setupruntime => 2, uninstaller => 2, pelbuild => 2, updateclient => 2, tovrel => 2,
  app => 3,
);
my $rule = 'common <- model <- builder, setupruntime, uninstaller, pelbuild, updateclient, tovrel <- app';

my $root = File::Spec->rel2abs(dirname(__FILE__) . '/..');
chdir($root) or die "check-includes: cannot enter $root: $!\n";

my @files;
my $tracked = `git ls-files -z -- src 2>/dev/null`;
if ($? == 0 && length $tracked) {
  @files = grep { -f $_ } split(/\0/, $tracked);
} else {
  my @pending = ('src');
  while (my $dir = shift @pending) {
    opendir(my $d, $dir) or next;
    for my $name (sort grep { !/^\.\.?$/ } readdir($d)) {
      my $path = "$dir/$name";
      if (-d $path) { push @pending, $path; } else { push @files, $path; }
    }
    closedir($d);
  }
}
@files = grep { m{^src/[^/]+/.*\.(?:c|cpp|h|rc)$} } @files;
die "check-includes: no sources under src/\n" unless @files;

# The src/ folder an include names, or undef for a system or library header. A quoted
# name is looked up beside the including file first, as the compiler does.
sub target_folder {
  my ($file, $name, $quoted) = @_;
  if ($quoted) {
    my $beside = File::Spec->canonpath(dirname($file) . "/$name");
    1 while $beside =~ s{(^|/)(?!\.\.(?:/|$))[^/]+/\.\.(?:/|$)}{$1};
    return $1 if -f $beside && $beside =~ m{^src/([^/]+)/};
  }
  return $1 if $name =~ m{^([^/]+)/} && -d "src/$1";
  return undef;
}

my @faults;
my %unknown;
for my $file (@files) {
  my ($from) = $file =~ m{^src/([^/]+)/};
  unless (exists $level{$from}) { $unknown{$from} = 1; next; }
  open(my $f, '<', $file) or die "check-includes: cannot read $file: $!\n";
  while (my $line = <$f>) {
    next unless $line =~ /^\s*#\s*include\s*([<"])([^>"]+)[>"]/;
    my ($quoted, $name) = ($1 eq '"', $2);
    my $to = target_folder($file, $name, $quoted);
    next if !defined $to || $to eq $from;
    if (!exists $level{$to}) {
      $unknown{$to} = 1;
    } elsif ($level{$to} >= $level{$from}) {
      my $why = $level{$to} > $level{$from} ? 'a higher folder' : 'a folder of the same level';
      push @faults, "$file:$.: includes $name: $from may not include $to ($why)";
    }
  }
  close($f);
}

for my $folder (sort keys %unknown) {
  push @faults, "src/$folder/ has no place in the order of folders; add it to scripts/check-includes.pl";
}
if (@faults) {
  print STDERR "check-includes: includes must point down only ($rule):\n";
  print STDERR "  $_\n" for @faults;
  exit 1;
}
print "check-includes: " . scalar(@files) . " files include down only\n";
