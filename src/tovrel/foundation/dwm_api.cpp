#include "tovrel/foundation/dwm_api.h"

#include <windows.h>
#include <dwmapi.h>

#include "tovrel/foundation/system_libraries.h"

namespace tovrel {

DwmFunctions DwmApi;
BOOL DwmCompositionEnabled = FALSE;

int LoadDwmApi() {
  HMODULE library = OpenToolkitLibrary("dwmapi.dll");
  if (!library) return 0;
  DwmApi.library = library;
  FindToolkitFunction(library, "DwmIsCompositionEnabled", DwmApi.dwmIsCompositionEnabled);
  FindToolkitFunction(library, "DwmEnableComposition", DwmApi.dwmEnableComposition);
  FindToolkitFunction(library, "DwmSetWindowAttribute", DwmApi.dwmSetWindowAttribute);
  FindToolkitFunction(library, "DwmFlush", DwmApi.dwmFlush);
  FindToolkitFunction(library, "DwmSetPresentParameters", DwmApi.dwmSetPresentParameters);
  // Only a successful answer counts; a failed call may leave the flag unwritten.
  BOOL enabled = FALSE;
  if (DwmApi.dwmIsCompositionEnabled && SUCCEEDED(DwmApi.dwmIsCompositionEnabled(&enabled)))
    DwmCompositionEnabled = enabled ? TRUE : FALSE;
  return 0;
}

void FreeDwmApi() {
  if (!DwmApi.library) return;
  CloseToolkitLibrary(DwmApi.library);
  DwmApi = DwmFunctions{};
}

}  // namespace tovrel
