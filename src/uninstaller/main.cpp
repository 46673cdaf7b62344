// The uninstaller that every setup writes into the installation folder.
#include <windows.h>

#include "common/system_libraries.h"
#include "uninstaller/run_uninstaller.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // The installation folder may hold DLLs that are not the system's: system libraries
  // load from the system folder only.
  RestrictLibraryLoading();
  return RunUninstaller();
}
