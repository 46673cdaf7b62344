#include "setupruntime/install_workers.h"

#include "common/threads.h"

namespace {

// Beyond a few threads the disk, not the processors, sets the pace.
constexpr int kMostWorkers = 8;
// Entries each worker may be ahead of the install thread.
constexpr size_t kEntriesAheadPerWorker = 4;

int g_workerCount = -1;
unsigned g_updateInterval = 50;

struct WorkerStart {
  ExtractPool* pool;
  ZipReader* reader;
};

DWORD WINAPI WorkerMain(void* argument) {
  WorkerStart* start = static_cast<WorkerStart*>(argument);
  ExtractPool* pool = start->pool;
  ZipReader* reader = start->reader;
  delete start;
  AcquireSRWLockExclusive(&pool->lock);
  for (;;) {
    while (!pool->stop && pool->next < pool->jobs.size() && pool->next >= pool->released + pool->ahead) {
      SleepConditionVariableSRW(&pool->changed, &pool->lock, INFINITE, 0);
    }
    if (pool->stop || pool->next >= pool->jobs.size()) break;
    ExtractJob& job = pool->jobs[pool->next++];
    // Settled before the workers started: left to the install thread or not to be written.
    if (job.done) continue;
    ReleaseSRWLockExclusive(&pool->lock);
    int result = ZipGoToPlace(reader, job.place) == 0 ? ExtractZipEntry(reader, pool->destination) : kExtractDamaged;
    AcquireSRWLockExclusive(&pool->lock);
    job.result = result;
    job.done = true;
    WakeAllConditionVariable(&pool->changed);
  }
  ReleaseSRWLockExclusive(&pool->lock);
  return 0;
}

}  // namespace

void SetExtractWorkerCount(int count) { g_workerCount = count < -1 ? -1 : count; }

int ExtractWorkerCount() {
  if (g_workerCount >= 0) return g_workerCount;
  int processors = ProcessorCount();
  return processors < kMostWorkers ? processors : kMostWorkers;
}

void SetExtractUpdateInterval(unsigned ms) { g_updateInterval = ms; }

unsigned ExtractUpdateInterval() { return g_updateInterval; }

bool StartExtractPool(ExtractPool* pool, const std::wstring& setupPath, const ZipWindow& archive, int workers) {
  size_t wanted = workers < 0 ? 0 : static_cast<size_t>(workers);
  if (wanted > pool->jobs.size()) wanted = pool->jobs.size();
  // Set before any worker runs; the workers read it under the lock.
  pool->ahead = wanted * kEntriesAheadPerWorker;
  for (size_t i = 0; i < wanted; ++i) {
    ZipReader* reader = OpenZipReader(setupPath, archive);
    if (reader == nullptr) break;
    WorkerStart* start = new WorkerStart{pool, reader};
    HANDLE h = CreateThread(nullptr, 0, WorkerMain, start, 0, nullptr);
    if (h == nullptr) {
      delete start;
      CloseZipReader(reader);
      break;
    }
    pool->readers.push_back(reader);
    pool->threads.push_back(h);
  }
  return !pool->threads.empty();
}

int WaitExtracted(ExtractPool* pool, size_t job) {
  AcquireSRWLockExclusive(&pool->lock);
  while (!pool->jobs[job].done) SleepConditionVariableSRW(&pool->changed, &pool->lock, INFINITE, 0);
  int result = pool->jobs[job].result;
  ReleaseSRWLockExclusive(&pool->lock);
  return result;
}

void ReleaseExtracted(ExtractPool* pool, size_t job) {
  AcquireSRWLockExclusive(&pool->lock);
  if (job + 1 > pool->released) pool->released = job + 1;
  WakeAllConditionVariable(&pool->changed);
  ReleaseSRWLockExclusive(&pool->lock);
}

void StopExtractPool(ExtractPool* pool) {
  StopWorkerThreads(&pool->lock, &pool->changed, &pool->stop, &pool->threads);
  for (ZipReader* reader : pool->readers) CloseZipReader(reader);
  pool->readers.clear();
}
