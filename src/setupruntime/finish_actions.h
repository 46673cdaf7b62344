// What the Finish button does: the author's library, a reboot or a program to run, then
// the end of the setup.
#ifndef ZK_SETUPRUNTIME_FINISH_ACTIONS_H
#define ZK_SETUPRUNTIME_FINISH_ACTIONS_H

#include <windows.h>

#include <string>
#include <vector>

// The names a loaded library exports that lead to code, in the order of its export name
// list. Exports forwarded to another library and exports whose address does not lie in
// an executable section (data) are left out: calling them would jump into data.
std::vector<std::string> CodeExports(HMODULE module);

// Runs the finish actions and ends the setup.
[[noreturn]] void RunFinishActions();

#endif
