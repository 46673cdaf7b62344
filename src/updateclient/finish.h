// The end of every normal run: the window goes, the update is made permanent in the
// client's own settings, the temporary folders go, and the product starts when asked to.
#ifndef ZK_UPDATECLIENT_FINISH_H
#define ZK_UPDATECLIENT_FINISH_H

#include <string>

#include "updateclient/client_state.h"

// Removes a folder of the client's own making (files only, read-only ones too).
void RemoveClientFolder(const std::wstring& folder);

// The version the rebuilt client is to consider installed: the newest release after a
// whole update, the last release applied whole after a cancel or a failure, else none.
std::string VersionToRebuildWith(const ClientState& state);

// Does FinishUpdate's work on the GUI thread and answers the program's exit code.
int FinishUpdate(ClientState& state);

#endif
