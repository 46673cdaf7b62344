// The toolkit's eight mutexes and the one way to take them.
#ifndef ZK_TOVREL_FOUNDATION_TOOLKIT_LOCK_H
#define ZK_TOVREL_FOUNDATION_TOOLKIT_LOCK_H

#include <windows.h>

#include <atomic>

namespace tovrel {

// A recursive lock: the holding thread may take it again and releases it as often as it
// took it. Waiters block on a condition variable; they never spin and never take a lock
// from the thread that holds it.
struct ToolkitMutex {
  explicit ToolkitMutex(const char* name);
  ToolkitMutex(const ToolkitMutex&) = delete;
  ToolkitMutex& operator=(const ToolkitMutex&) = delete;

  const char* name;
  CRITICAL_SECTION state;  // guards changes of owner and depth
  CONDITION_VARIABLE released;
  // Thread id of the holder, 0 when free. Only the holder writes its own id here, so a
  // thread may read it without the state lock to learn whether it holds the mutex.
  std::atomic<DWORD> owner;
  int depth;
};

// What each one guards. Fixed orders when two are held: MenuMutex before ToolbarMutex,
// PanelExMutex before TrackedWindowMutex.
extern ToolkitMutex ShutdownMutex;       // nothing; no operation takes it
extern ToolkitMutex TrackedWindowMutex;  // TrackedWindowMap
extern ToolkitMutex TextControlMutex;    // link recording of the text control
extern ToolkitMutex MenuMutex;           // menu, menu item, popup window and mnemonic lists
extern ToolkitMutex ToolbarMutex;        // ToolbarList while a menu bar is created
extern ToolkitMutex PanelExMutex;        // PanelEx lists, object cache and paint buffers
extern ToolkitMutex ShortcutMutex;       // ShortcutMap
extern ToolkitMutex AnimationMutex;      // the animation thread's window

// Returns when the calling thread holds the mutex. A wait longer than a second writes one
// debug log line and goes on waiting; taking a mutex against the fixed order writes one.
void ToolkitLock(ToolkitMutex& mutex);

// Releases the mutex once. A thread that does not hold it releases nothing: the call is
// logged and ignored.
void ToolkitUnlock(ToolkitMutex& mutex);

}  // namespace tovrel

#endif
