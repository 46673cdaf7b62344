#include "tovrel/frame/window_class.h"

namespace tovrel {

bool IsWindowOfClass(HWND window, const char* className) {
  char name[32] = {};
  return window && IsWindow(window) && GetClassNameA(window, name, sizeof(name)) && lstrcmpiA(name, className) == 0;
}

}  // namespace tovrel
