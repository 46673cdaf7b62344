// The name of the running Windows as the setup's list of supported systems spells it.
#ifndef ZK_SETUPRUNTIME_OS_NAME_H
#define ZK_SETUPRUNTIME_OS_NAME_H

#include <windows.h>

#include <string>

// The name for a version and product type (VER_NT_WORKSTATION, ...); empty for a version
// the list has no name for. 6.2 and 6.3 are both "Windows 8": the program declares no
// later system in its manifest, so Windows 10 and 11 report 6.2 as well.
std::wstring OsNameFor(DWORD major, DWORD minor, BYTE productType);
// The name of the system this program runs on.
std::wstring GetOsName();

#endif
