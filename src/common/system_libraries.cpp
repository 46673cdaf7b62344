#include "common/system_libraries.h"

#include <windows.h>

#include <string>

const wchar_t* const kLibrariesLoadedAhead[] = {
    // Loaded by the setup API when it iterates a cabinet.
    L"cabinet.dll",
    // Loaded by the theme library when it first draws a themed control.
    L"msimg32.dll",
    nullptr,
};

int RestrictLibraryLoading() {
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  wchar_t folder[MAX_PATH];
  UINT n = GetSystemDirectoryW(folder, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) n = 0;
  int missing = 0;
  for (const wchar_t* const* name = kLibrariesLoadedAhead; *name; ++name) {
    // Never freed: the module must stay loaded for as long as anything could ask for it.
    if (n == 0 || !LoadLibraryExW((std::wstring(folder, n) + L"\\" + *name).c_str(), nullptr,
                                  LOAD_WITH_ALTERED_SEARCH_PATH))
      ++missing;
  }
  return missing;
}
