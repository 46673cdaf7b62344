#include "tovrel/foundation/os_version.h"

#include <shlwapi.h>

#include "tovrel/foundation/system_libraries.h"

namespace tovrel {

int OsVersionCodeOf(const OsVersionNumbers& v) {
  if (v.platformId == VER_PLATFORM_WIN32_WINDOWS) {
    if (v.minor < 10) return 10;
    if (v.minor < 90) return 30;
    return 40;
  }
  if (v.platformId != VER_PLATFORM_WIN32_NT) return 100;
  const bool workstation = v.productType == VER_NT_WORKSTATION;
  switch (v.major) {
    case 3:
      return 5;
    case 4:
      return 20;
    case 5:
      if (v.minor == 0) return 50;
      if (v.minor == 1) return 60;
      if (v.minor == 2) return workstation ? 60 : 65;  // 5.2 is also XP's 64-bit edition
      return 100;
    case 6:
      if (v.minor == 0) return workstation ? 70 : 75;
      if (v.minor == 1) return workstation ? 80 : 75;
      return 100;
    default:
      return 100;
  }
}

OsVersionNumbers RunningOsVersion() {
  OsVersionNumbers v;
  using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOEXW*);
  // ntdll is mapped into every process and is never unloaded.
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  auto rtlGetVersion =
      ntdll ? reinterpret_cast<RtlGetVersionFn>(reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")))
            : nullptr;
  OSVERSIONINFOEXW info{};
  info.dwOSVersionInfoSize = sizeof(info);
  if (!rtlGetVersion || rtlGetVersion(&info) != 0) return v;
  v.platformId = info.dwPlatformId;
  v.major = info.dwMajorVersion;
  v.minor = info.dwMinorVersion;
  v.productType = info.wProductType;
  return v;
}

ComctlVersionInfo ReadComctlVersion() {
  ComctlVersionInfo version;
  HMODULE comctl = OpenLoadedToolkitLibrary("Comctl32.dll");
  if (!comctl) return version;
  DLLGETVERSIONPROC getVersion = nullptr;
  FindToolkitFunction(comctl, "DllGetVersion", getVersion);
  DLLVERSIONINFO info{};
  info.cbSize = sizeof(info);
  if (getVersion && SUCCEEDED(getVersion(&info))) {
    version.major = info.dwMajorVersion;
    version.minor = info.dwMinorVersion;
    version.build = info.dwBuildNumber;
  }
  CloseToolkitLibrary(comctl);
  return version;
}

}  // namespace tovrel
