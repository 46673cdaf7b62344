#include "common/system_libraries.h"

#include <windows.h>

#include <string>

namespace {

// Only libraries that are asked for after the program has started belong here: those a
// system library needs while it starts are resolved before our first instruction.
const wchar_t* const kLibrariesLoadedAhead[] = {
    // Loaded by the setup API when it iterates a cabinet.
    L"cabinet.dll",
    // Loaded by the theme library when it first draws a themed control.
    L"msimg32.dll",
};

}  // namespace

void RestrictLibraryLoading() {
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  // Never freed: a module must stay loaded for as long as anything could ask for it. One
  // missing from the system folder stays unloaded; Windows ships all of them.
  for (const wchar_t* name : kLibrariesLoadedAhead) LoadSystemLibrary(name);
}

HMODULE LoadSystemLibrary(const wchar_t* name) {
  wchar_t folder[MAX_PATH];
  UINT n = GetSystemDirectoryW(folder, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return nullptr;
  return LoadLibraryExW((std::wstring(folder, n) + L"\\" + name).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
