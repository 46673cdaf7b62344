#include "tovrel/foundation/toolkit_lock.h"

#include <string>

#include "tovrel/foundation/debug_log.h"

namespace tovrel {

namespace {

constexpr ULONGLONG kSlowWaitMs = 1000;

// Pairs that must be taken first-then-second when a thread holds both.
struct LockOrder {
  ToolkitMutex* first;
  ToolkitMutex* second;
};
const LockOrder kLockOrders[] = {
    {&MenuMutex, &ToolbarMutex},
    {&PanelExMutex, &TrackedWindowMutex},
};

bool HeldByMe(const ToolkitMutex& mutex) { return mutex.owner == GetCurrentThreadId(); }

void CheckOrder(const ToolkitMutex& taking) {
  for (const LockOrder& order : kLockOrders) {
    if (order.first == &taking && HeldByMe(*order.second)) {
      WriteDebugLog(std::string("ToolkitLock: ") + taking.name + " taken while holding " + order.second->name +
                    "; the order is " + order.first->name + ", then " + order.second->name);
    }
  }
}

}  // namespace

ToolkitMutex::ToolkitMutex(const char* mutexName) : name(mutexName), owner(0), depth(0) {
  InitializeCriticalSection(&state);
  InitializeConditionVariable(&released);
}

// Defined in the order the toolkit creates them. They are never destroyed: a thread may
// still be inside the toolkit while the process exits.
ToolkitMutex ShutdownMutex("ShutdownMutex");
ToolkitMutex TrackedWindowMutex("TrackedWindowMutex");
ToolkitMutex TextControlMutex("TextControlMutex");
ToolkitMutex MenuMutex("MenuMutex");
ToolkitMutex ToolbarMutex("ToolbarMutex");
ToolkitMutex PanelExMutex("PanelExMutex");
ToolkitMutex ShortcutMutex("ShortcutMutex");
ToolkitMutex AnimationMutex("AnimationMutex");

void ToolkitLock(ToolkitMutex& mutex) {
  const ULONGLONG start = GetTickCount64();
  const DWORD me = GetCurrentThreadId();
  if (!HeldByMe(mutex)) CheckOrder(mutex);

  EnterCriticalSection(&mutex.state);
  bool reported = false;
  while (mutex.owner != 0 && mutex.owner != me) {
    const ULONGLONG waited = GetTickCount64() - start;
    if (!reported && waited > kSlowWaitMs) {
      reported = true;
      const DWORD holder = mutex.owner;
      // The sink runs outside the state lock so that a slow sink cannot hold up the
      // holder's release.
      LeaveCriticalSection(&mutex.state);
      WriteDebugLog(std::string("ToolkitLock: waited more than 1000 ms for ") + mutex.name + ", held by thread " +
                    std::to_string(holder));
      EnterCriticalSection(&mutex.state);
      continue;
    }
    // Until the report is due, wake up in time to write it; after that, sleep until a
    // release.
    const DWORD timeout = reported ? INFINITE : static_cast<DWORD>(kSlowWaitMs - waited + 1);
    SleepConditionVariableCS(&mutex.released, &mutex.state, timeout);
  }
  if (mutex.owner == me) {
    ++mutex.depth;
  } else {
    mutex.owner = me;
    mutex.depth = 1;
  }
  LeaveCriticalSection(&mutex.state);
}

void ToolkitUnlock(ToolkitMutex& mutex) {
  const DWORD me = GetCurrentThreadId();
  EnterCriticalSection(&mutex.state);
  if (mutex.owner != me) {
    LeaveCriticalSection(&mutex.state);
    WriteDebugLog(std::string("ToolkitUnlock: ") + mutex.name + " released by a thread that does not hold it; ignored");
    return;
  }
  if (--mutex.depth == 0) {
    mutex.owner = 0;
    WakeAllConditionVariable(&mutex.released);
  }
  LeaveCriticalSection(&mutex.state);
}

}  // namespace tovrel
