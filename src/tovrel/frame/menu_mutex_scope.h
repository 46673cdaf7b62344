// MenuMutex held for a scope, and let go for the length of a system menu call inside it,
// so that every early return releases it.
#ifndef ZK_TOVREL_FRAME_MENU_MUTEX_SCOPE_H
#define ZK_TOVREL_FRAME_MENU_MUTEX_SCOPE_H

#include "tovrel/foundation/toolkit_lock.h"

namespace tovrel {

struct MenuMutexScope {
  MenuMutexScope() { ToolkitLock(MenuMutex); }
  ~MenuMutexScope() { ToolkitUnlock(MenuMutex); }
  MenuMutexScope(const MenuMutexScope&) = delete;
  MenuMutexScope& operator=(const MenuMutexScope&) = delete;
};

// Records read before may be gone when it ends: look them up again.
struct MenuMutexReleased {
  MenuMutexReleased() { ToolkitUnlock(MenuMutex); }
  ~MenuMutexReleased() { ToolkitLock(MenuMutex); }
  MenuMutexReleased(const MenuMutexReleased&) = delete;
  MenuMutexReleased& operator=(const MenuMutexReleased&) = delete;
};

}  // namespace tovrel

#endif
