#!/usr/bin/env perl
# Runs a command and samples, every 50 ms while it runs, the peak resident memory (VmHWM)
# of every process whose program is one of the given file names (the last part of its
# first argument, case ignored): Wine starts the programs a Windows program runs as
# processes of their own, outside the command's process tree, so they are found by name. Prints "peak_kb NAME=KB ..." on
# standard error when the command ends and exits with the command's exit code.
#   peak-memory.pl NAME[,NAME...] -- COMMAND [ARGS...]
use strict;
use warnings;
use Time::HiRes qw(usleep);

my $names = shift or die "usage: peak-memory.pl NAME[,NAME...] -- COMMAND [ARGS...]\n";
my $dash = shift;
die "usage: peak-memory.pl NAME[,NAME...] -- COMMAND [ARGS...]\n" unless defined $dash && $dash eq '--' && @ARGV;
my @names = split /,/, $names;
my %peak = map { $_ => 0 } @names;

sub sample {
  opendir(my $proc, '/proc') or return;
  for my $pid (grep { /^\d+$/ && $_ != $$ } readdir $proc) {
    open(my $c, '<', "/proc/$pid/cmdline") or next;
    my $cmd = do { local $/; <$c> } // '';
    close $c;
    my ($program) = split /\0/, $cmd;
    next unless defined $program;
    $program = lc((split m{[/\\]}, $program)[-1] // '');
    my @hits = grep { lc($_) eq $program } @names or next;
    open(my $s, '<', "/proc/$pid/status") or next;
    my ($kb) = map { /^VmHWM:\s+(\d+)/ ? $1 : () } <$s>;
    close $s;
    next unless defined $kb;
    for (@hits) { $peak{$_} = $kb if $kb > $peak{$_}; }
  }
  closedir $proc;
}

my $child = fork() // die "fork: $!\n";
if ($child == 0) { exec @ARGV or die "exec $ARGV[0]: $!\n"; }
use POSIX ':sys_wait_h';
my $status;
while (1) {
  sample();
  my $done = waitpid($child, WNOHANG);
  if ($done == $child) { $status = $?; last; }
  usleep(50_000);
}
print STDERR 'peak_kb ', join(' ', map { "$_=$peak{$_}" } @names), "\n";
exit($status >> 8);
