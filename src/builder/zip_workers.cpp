#include "builder/zip_workers.h"

#include "common/threads.h"

namespace {

int g_workerCount = -1;

DWORD WINAPI WorkerMain(void* argument) {
  DeflatePool* pool = static_cast<DeflatePool*>(argument);
  DeflateScratch scratch;
  AcquireSRWLockExclusive(&pool->lock);
  for (;;) {
    // A job may always be taken when nothing is ahead, so the writer's next job is never
    // held back by the bound, however large it is.
    while (!pool->stop && pool->next < pool->jobs.size() && pool->filesAhead > 0 &&
           (pool->bytesAhead + static_cast<uint64_t>(pool->jobs[pool->next].size) > kZipBytesAhead ||
            pool->filesAhead >= kZipFilesAhead)) {
      SleepConditionVariableSRW(&pool->changed, &pool->lock, INFINITE, 0);
    }
    if (pool->stop || pool->next >= pool->jobs.size()) break;
    DeflateJob& job = pool->jobs[pool->next++];
    pool->bytesAhead += static_cast<uint64_t>(job.size);
    pool->filesAhead++;
    ReleaseSRWLockExclusive(&pool->lock);
    DeflateWholeFile(job.path, pool->stop, &scratch, &job.file);
    AcquireSRWLockExclusive(&pool->lock);
    job.done = true;
    WakeAllConditionVariable(&pool->changed);
  }
  ReleaseSRWLockExclusive(&pool->lock);
  return 0;
}

}  // namespace

void SetZipWorkerCount(int count) { g_workerCount = count < -1 ? -1 : count; }

int ZipWorkerCount() { return g_workerCount >= 0 ? g_workerCount : ProcessorCount(); }

size_t AddDeflateJob(DeflatePool* pool, const std::string& path, int64_t size) {
  DeflateJob job;
  job.path = path;
  job.size = size;
  pool->jobs.push_back(std::move(job));
  return pool->jobs.size() - 1;
}

bool StartDeflatePool(DeflatePool* pool, int workers) {
  size_t wanted = workers < 0 ? 0 : static_cast<size_t>(workers);
  if (wanted > pool->jobs.size()) wanted = pool->jobs.size();
  for (size_t i = 0; i < wanted; ++i) {
    HANDLE h = CreateThread(nullptr, 0, WorkerMain, pool, 0, nullptr);
    if (h == nullptr) break;
    pool->threads.push_back(h);
  }
  return !pool->threads.empty();
}

const DeflatedFile& WaitDeflatedFile(DeflatePool* pool, size_t job) {
  AcquireSRWLockExclusive(&pool->lock);
  while (!pool->jobs[job].done) SleepConditionVariableSRW(&pool->changed, &pool->lock, INFINITE, 0);
  ReleaseSRWLockExclusive(&pool->lock);
  return pool->jobs[job].file;
}

void ReleaseDeflatedFile(DeflatePool* pool, size_t job) {
  AcquireSRWLockExclusive(&pool->lock);
  pool->jobs[job].file = DeflatedFile{};
  pool->bytesAhead -= static_cast<uint64_t>(pool->jobs[job].size);
  pool->filesAhead--;
  WakeAllConditionVariable(&pool->changed);
  ReleaseSRWLockExclusive(&pool->lock);
}

void StopDeflatePool(DeflatePool* pool) { StopWorkerThreads(&pool->lock, &pool->changed, &pool->stop, &pool->threads); }
