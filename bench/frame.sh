#!/usr/bin/env bash
# Frame benchmark, not part of the test suite: resizing a window that holds the toolkit's
# rebar, and repainting a rebar with the toolkit's menu bar and a tool bar with a hot
# button, against the same bands on plain system controls, both in the same run of
# zk_bench_frame on an Xvfb display; medians of SAMPLES batches and their ratios printed.
#   ZK_BUILD=... bench/frame.sh [SAMPLES]     (default 15)
exec "$(dirname "$0")/gui-bench.sh" zk_bench_frame "${1:-15}" "median time per resize or repaint"
