// The update client's start: its command line, its settings, its temporary folders, then
// the wizard.
#ifndef ZK_UPDATECLIENT_RUN_CLIENT_H
#define ZK_UPDATECLIENT_RUN_CLIENT_H

#include <string>
#include <vector>

// How long a rebuilt client waits for the old one's file before it gives up.
constexpr unsigned kOldClientWaitMs = 30000;

// The arguments after the program's name, as the command line gives them.
std::vector<std::wstring> CommandArguments();

// The run guard's verdict: a guard that is set lets the client run only when the first
// argument equals it exactly.
bool RunGuardAllows(const std::string& runGuard, const std::wstring& firstArgument);

// The whole program; answers its exit code.
int RunUpdateClient();

#endif
