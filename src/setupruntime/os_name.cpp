#include "setupruntime/os_name.h"

std::wstring OsNameFor(DWORD major, DWORD minor, BYTE productType) {
  const bool workstation = productType == VER_NT_WORKSTATION;
  if (major == 5) {
    if (minor == 0) return L"Windows 2000";
    if (minor == 1) return L"Windows XP";
    if (minor == 2) return workstation ? L"Windows XP" : L"Windows Server 2003";
  } else if (major == 6) {
    if (minor == 0) return workstation ? L"Windows Vista" : L"Windows Server 2008";
    if (minor == 1) return workstation ? L"Windows 7" : L"Windows Server 2008";
    if (minor == 2 || minor == 3) return L"Windows 8";
  }
  return L"";
}

std::wstring GetOsName() {
  OSVERSIONINFOEXW v = {};
  v.dwOSVersionInfoSize = sizeof(v);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&v))) return L"";
#pragma GCC diagnostic pop
  return OsNameFor(v.dwMajorVersion, v.dwMinorVersion, v.wProductType);
}
