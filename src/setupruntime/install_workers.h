// Worker threads that extract archive entries ahead of the install thread. Each worker
// reads the setup file through a reader of its own and writes whole entries, streamed in
// chunks, so memory does not grow with the size of an entry. The install thread takes
// the results in archive order; the workers stay a bounded number of entries ahead of it,
// so that an entry waiting for the user's answer soon holds them up too.
#ifndef ZK_SETUPRUNTIME_INSTALL_WORKERS_H
#define ZK_SETUPRUNTIME_INSTALL_WORKERS_H

#include <windows.h>

#include <stddef.h>

#include <atomic>
#include <string>
#include <vector>

#include "setupruntime/zip_reader.h"

// Worker threads of later installations: -1 (the start-up value) one per processor, at
// most 8; 0 none (the install thread extracts every entry itself); else that many.
void SetExtractWorkerCount(int count);
int ExtractWorkerCount();

// The least time between two updates of the installing page's status text and progress
// bar while files are extracted; the start-up value is 50 ms. Every update crosses to the
// wizard's thread and repaints, which costs more than extracting a small file.
void SetExtractUpdateInterval(unsigned ms);
unsigned ExtractUpdateInterval();

struct ExtractJob {
  ZipEntryPlace place;
  bool done = false;  // a job done before the start is never taken by a worker
  int result = kExtractOk;
};

struct ExtractPool {
  std::wstring destination;      // the installation folder, ends with "\"
  std::vector<ExtractJob> jobs;  // in archive order
  size_t next = 0;               // the first job no worker has taken
  size_t released = 0;           // jobs the install thread is done with
  size_t ahead = 0;              // how far beyond `released` a worker may take a job
  std::atomic<bool> stop{false};
  SRWLOCK lock = SRWLOCK_INIT;
  CONDITION_VARIABLE changed = CONDITION_VARIABLE_INIT;
  std::vector<ZipReader*> readers;  // one per worker
  std::vector<HANDLE> threads;
};

// Starts up to `workers` threads (never more than there are jobs), each with a reader of
// the archive in setupPath. False when none could be started; the caller then extracts by
// itself.
bool StartExtractPool(ExtractPool* pool, const std::wstring& setupPath, const ZipWindow& archive, int workers);
// Waits until the job is extracted and answers its result; the install thread only.
int WaitExtracted(ExtractPool* pool, size_t job);
// The install thread is done with every job up to and including this one.
void ReleaseExtracted(ExtractPool* pool, size_t job);
// No further job is taken; waits until every worker has finished the entry it is writing
// and ended, and closes the readers. Safe to call more than once.
void StopExtractPool(ExtractPool* pool);

#endif
