#include "tovrel/frame/window_class.h"

namespace tovrel {

bool IsWindowOfClass(HWND window, const char* className) {
  char name[64];
  if (!window || !GetClassNameA(window, name, sizeof(name))) return false;
  return lstrcmpiA(name, className) == 0;
}

}  // namespace tovrel
