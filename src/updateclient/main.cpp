// The update client that a setup can ship with a product.
#include <windows.h>

#include "common/system_libraries.h"
#include "updateclient/run_client.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // The client runs from the product's folder, which may hold libraries that are not the
  // system's: library loads come from the system folder only.
  RestrictLibraryLoading();
  return RunUpdateClient();
}
