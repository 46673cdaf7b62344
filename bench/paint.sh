#!/usr/bin/env bash
# Painting benchmark, not part of the test suite: the toolkit's painters against a plain
# GDI baseline, both in the same run of zk_bench_paint on an Xvfb display, medians of
# SAMPLES batches and their ratios printed.
#   ZK_BUILD=... bench/paint.sh [SAMPLES]     (default 21)
exec "$(dirname "$0")/gui-bench.sh" zk_bench_paint "${1:-21}" "painting, median time per call"
