// pelbuild: writes configured update clients.
#include <windows.h>
#include "model/updater_settings.h"

extern "C" int __stdcall PELLUCAST_Create(const char* path, const UpdaterSettings* settings) {
  (void)path;
  (void)settings;
  return 0;
}

extern "C" const char* __stdcall PELLUCAST_GetVersion() {
  static char version[] = "\"1.0.1\"";
  return version;
}
