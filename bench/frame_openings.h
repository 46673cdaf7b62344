// The frame benchmark's drop-down case: opening the File drop-down of a toolkit menu bar
// against a standard popup with the same entries dropped from a plain tool bar.
#ifndef ZK_BENCH_FRAME_OPENINGS_H
#define ZK_BENCH_FRAME_OPENINGS_H

// Prints its row and answers 0 when the goal was met, else 1. The toolkit is started.
int BenchDropDownOpenings(int openings);

#endif
