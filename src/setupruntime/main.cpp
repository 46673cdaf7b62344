// The setup runtime: the head of every setup executable. Its payload starts at offset S,
// the size of this program's own image (see payload.h).
#include <windows.h>

#include "common/system_libraries.h"
#include "setupruntime/startup.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // Before anything loads a library: a setup usually runs from a downloads folder, where
  // a planted DLL must not be picked up in place of a system one.
  RestrictLibraryLoading();
  RunSetup();
}
