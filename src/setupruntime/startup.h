// The setup's start-up: from the single-instance check to the first window. Every way out
// goes through ExitSetup (runtime_state.h).
#ifndef ZK_SETUPRUNTIME_STARTUP_H
#define ZK_SETUPRUNTIME_STARTUP_H

// Runs the whole setup; does not return.
[[noreturn]] void RunSetup();

#endif
