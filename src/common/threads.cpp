#include "common/threads.h"

#include <windows.h>
#include <process.h>

#include "common/scoped.h"

namespace {

struct ThreadRecord {
  HANDLE handle = nullptr;
};

void ReleaseThread(ThreadRecord& t) {
  if (t.handle) CloseHandle(t.handle);
  t.handle = nullptr;
}

// Never destroyed, like the table of files: threads may still run while the process ends.
ObjectTable<ThreadRecord>& Threads() {
  static ObjectTable<ThreadRecord>* table = new ObjectTable<ThreadRecord>(ReleaseThread, 10000);
  return *table;
}

struct StartArgs {
  ThreadProc proc;
  intptr_t argument;
};

unsigned __stdcall ThreadMain(void* p) {
  StartArgs args = *static_cast<StartArgs*>(p);
  delete static_cast<StartArgs*>(p);
  args.proc(args.argument);
  return 0;
}

// A private handle to the thread, so that waiting or killing happens outside the table's
// lock and stays valid even if another thread frees the number meanwhile. Null when the
// number names no thread.
ScopedHandle TakeHandle(int number) {
  ScopedHandle copy;
  Threads().With(number, [&](ThreadRecord& t) {
    if (!DuplicateHandle(GetCurrentProcess(), t.handle, GetCurrentProcess(), copy.put(), 0, FALSE,
                         DUPLICATE_SAME_ACCESS))
      copy.release();
  });
  return copy;
}

bool HasEnded(HANDLE h) { return WaitForSingleObject(h, 0) == WAIT_OBJECT_0; }

}  // namespace

intptr_t ThreadCreate(int number, ThreadProc proc, intptr_t argument) {
  if (!proc || number < kAnyNumber) return 0;
  if (number != kAnyNumber) Threads().Free(number);
  StartArgs* args = new StartArgs{proc, argument};
  // Started suspended so that the thread only runs once its number exists; the C
  // runtime's own start keeps its per-thread state right.
  uintptr_t h = _beginthreadex(nullptr, 0, ThreadMain, args, CREATE_SUSPENDED, nullptr);
  if (!h) {
    delete args;
    return 0;
  }
  HANDLE handle = reinterpret_cast<HANDLE>(h);
  // The table owns handle once added (another thread may free the number at once), so
  // the thread is resumed through a copy of its own.
  ScopedHandle keep;
  if (!DuplicateHandle(GetCurrentProcess(), handle, GetCurrentProcess(), keep.put(), 0, FALSE, DUPLICATE_SAME_ACCESS)) {
    keep.release();
    keep.reset(handle);
    handle = nullptr;
  }
  int used = 0;
  if (!handle || !Threads().Add(number, ThreadRecord{handle}, &used)) {
    // It never ran a line of the caller's code, so ending it here is safe.
    TerminateThread(keep.get(), 1);
    delete args;
    return 0;
  }
  ResumeThread(keep.get());
  return CreateAnswer(number, used, reinterpret_cast<intptr_t>(handle));
}

int ThreadWait(int number, int timeoutMs) {
  ScopedHandle h = TakeHandle(number);
  if (!h) return 0;
  DWORD wait = timeoutMs < 0 ? INFINITE : static_cast<DWORD>(timeoutMs);
  return WaitForSingleObject(h.get(), wait) == WAIT_OBJECT_0 ? 1 : 0;
}

int ThreadIsRunning(int number) {
  ScopedHandle h = TakeHandle(number);
  if (!h) return 0;
  return HasEnded(h.get()) ? 0 : 1;
}

int ThreadKill(int number) {
  ScopedHandle h = TakeHandle(number);
  if (!h) return 0;
  int killed = 0;
  if (!HasEnded(h.get()) && TerminateThread(h.get(), 1)) {
    // Termination completes asynchronously; wait so that ThreadIsRunning agrees at once.
    WaitForSingleObject(h.get(), 5000);
    killed = 1;
  }
  return killed;
}

int ThreadPause(int number) {
  ScopedHandle h = TakeHandle(number);
  if (!h) return 0;
  return SuspendThread(h.get()) != static_cast<DWORD>(-1) ? 1 : 0;
}

int ThreadResume(int number) {
  ScopedHandle h = TakeHandle(number);
  if (!h) return 0;
  return ResumeThread(h.get()) != static_cast<DWORD>(-1) ? 1 : 0;
}

int ThreadFree(int number) { return Threads().Free(number) ? 1 : 0; }

void ThreadFreeAll() { Threads().FreeAll(); }

int ProcessorCount() {
  SYSTEM_INFO info{};
  GetSystemInfo(&info);
  return info.dwNumberOfProcessors > 0 ? static_cast<int>(info.dwNumberOfProcessors) : 1;
}

void StopWorkerThreads(SRWLOCK* lock, CONDITION_VARIABLE* changed, std::atomic<bool>* stop,
                       std::vector<HANDLE>* threads) {
  AcquireSRWLockExclusive(lock);
  *stop = true;
  WakeAllConditionVariable(changed);
  ReleaseSRWLockExclusive(lock);
  for (HANDLE h : *threads) {
    WaitForSingleObject(h, INFINITE);
    CloseHandle(h);
  }
  threads->clear();
}
