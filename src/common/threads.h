// Runtime threads: numbered objects (see objects.h) on Win32 threads.
//
// Freeing a thread closes its handle only; a thread still running goes on, detached.
// ThreadKill and ThreadPause stop a thread wherever it is, possibly while it holds a lock
// (a table lock of this layer, the heap's): every later user of that lock then blocks.
// Prefer a flag the thread checks between its steps; kill only as a last resort.
#ifndef ZK_COMMON_THREADS_H
#define ZK_COMMON_THREADS_H

#include <windows.h>

#include <stdint.h>

#include <atomic>
#include <vector>

#include "common/objects.h"

using ThreadProc = void (*)(intptr_t argument);

constexpr int kWaitForever = -1;

// Starts proc(argument) on a new thread. Answers per the numbered-object rules.
intptr_t ThreadCreate(int number, ThreadProc proc, intptr_t argument);
// 1 when the thread has ended within timeoutMs (kWaitForever: no limit), else 0.
int ThreadWait(int number, int timeoutMs);
// 1 while the thread has not ended (a paused thread is running).
int ThreadIsRunning(int number);
// TerminateThread, then waits briefly until the system reports the thread ended.
// 1 when the thread was still running.
int ThreadKill(int number);
// SuspendThread / ResumeThread; 1 on success. Pauses nest: each needs its resume.
int ThreadPause(int number);
int ThreadResume(int number);
int ThreadFree(int number);
void ThreadFreeAll();

// The number of processors the system reports (at least 1): how many workers to start.
int ProcessorCount();

// Ends a pool of worker threads that sleep on `changed` under `lock` and leave once they
// see `stop`: raises it under the lock (so no worker misses the wake-up between its check
// and its sleep), wakes them all, waits until each has ended and closes the handles.
// Safe to call more than once.
void StopWorkerThreads(SRWLOCK* lock, CONDITION_VARIABLE* changed, std::atomic<bool>* stop,
                       std::vector<HANDLE>* threads);

#endif
