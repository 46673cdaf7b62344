// Which Windows the toolkit runs on, and which common-controls library it draws with.
#ifndef ZK_TOVREL_FOUNDATION_OS_VERSION_H
#define ZK_TOVREL_FOUNDATION_OS_VERSION_H

#include <windows.h>

namespace tovrel {

// The version numbers Windows reports about itself.
struct OsVersionNumbers {
  DWORD platformId = 0;  // VER_PLATFORM_WIN32_WINDOWS or VER_PLATFORM_WIN32_NT
  DWORD major = 0;
  DWORD minor = 0;
  BYTE productType = 0;  // VER_NT_WORKSTATION, VER_NT_SERVER or VER_NT_DOMAIN_CONTROLLER
};

// The toolkit's code of a Windows version: 10 Windows 95, 30 Windows 98, 40 Windows ME,
// 5 NT 3, 20 NT 4, 50 Windows 2000, 60 Windows XP (also its 64-bit edition), 65 Server
// 2003, 70 Vista, 75 Server 2008 and 2008 R2, 80 Windows 7, 100 any other. Later parts
// compare codes (70 or more: Vista and later), so later versions share the top code.
int OsVersionCodeOf(const OsVersionNumbers& v);

// The numbers of the running system, as its kernel reports them. GetVersionEx reports
// the version a program's manifest declares it compatible with, not the real one.
OsVersionNumbers RunningOsVersion();

inline int RunningOsVersionCode() { return OsVersionCodeOf(RunningOsVersion()); }

// The version of the common-controls library this process loads; zeros when the library
// or its version export is missing.
struct ComctlVersionInfo {
  DWORD major = 0;
  DWORD minor = 0;
  DWORD build = 0;
};

ComctlVersionInfo ReadComctlVersion();

}  // namespace tovrel

#endif
