// Where a setup spends its time, for measuring (bench/install.sh). When the environment
// variable ZK_PHASE_TIMES names a file, each mark appends one line to it: the milliseconds
// since the process was created, then the phase's name. Without the variable a mark costs
// one environment look-up and writes nothing.
#ifndef ZK_SETUPRUNTIME_PHASE_TIMES_H
#define ZK_SETUPRUNTIME_PHASE_TIMES_H

// Callable from any thread; each line is one appending write.
void MarkPhase(const char* name);

#endif
