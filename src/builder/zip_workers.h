// Worker threads that pack an add operation's files ahead of the thread writing the
// archive. The writer takes the packed files in archive order and hands each back when it
// is in the archive; the workers stay at most a bounded number of source bytes ahead, so
// memory stays bounded however large the tree, and so that a writer held up (a paused
// build) soon holds the workers up too.
#ifndef ZK_BUILDER_ZIP_WORKERS_H
#define ZK_BUILDER_ZIP_WORKERS_H

#include <windows.h>

#include <stdint.h>

#include <atomic>
#include <string>
#include <vector>

#include "builder/zip_deflate.h"

// Files larger than this are packed by the writer itself, chunk by chunk, so that no file
// is ever held whole in memory.
constexpr int64_t kZipLargestPooledFile = 16 * 1024 * 1024;
// Source bytes the workers may have taken beyond the file the writer is at.
constexpr uint64_t kZipBytesAhead = 128 * 1024 * 1024;
// Files the workers may have taken beyond the writer's: a tree of many small files stays
// within the bytes ahead long after the files' bookkeeping has grown large.
constexpr size_t kZipFilesAhead = 4096;

// Worker threads of later add operations: -1 (the start-up value) one per processor,
// 0 none (everything is packed on the calling thread), else that many.
void SetZipWorkerCount(int count);
int ZipWorkerCount();

struct DeflateJob {
  std::string path;  // UTF-8
  int64_t size = 0;
  bool done = false;
  DeflatedFile file;
};

struct DeflatePool {
  std::vector<DeflateJob> jobs;  // in archive order
  size_t next = 0;               // the first job no worker has taken
  uint64_t bytesAhead = 0;       // sizes of the jobs taken and not yet handed back
  size_t filesAhead = 0;         // jobs taken and not yet handed back
  std::atomic<bool> stop{false};
  SRWLOCK lock = SRWLOCK_INIT;
  CONDITION_VARIABLE changed = CONDITION_VARIABLE_INIT;
  std::vector<HANDLE> threads;
};

// Appends a job; answers its index.
size_t AddDeflateJob(DeflatePool* pool, const std::string& path, int64_t size);
// Starts up to `workers` threads (never more than there are jobs). False when none could
// be started; the caller then packs the files itself.
bool StartDeflatePool(DeflatePool* pool, int workers);
// Waits until the job is packed; the writer's thread only.
const DeflatedFile& WaitDeflatedFile(DeflatePool* pool, size_t job);
// The writer is done with the job: its memory is freed and the workers may go further.
void ReleaseDeflatedFile(DeflatePool* pool, size_t job);
// Stops the workers at their next chunk and waits for them to end.
void StopDeflatePool(DeflatePool* pool);

#endif
