#include "tovrel/foundation/debug_log.h"

#include <windows.h>

namespace tovrel {

namespace {

// A slim lock needs no set-up, so lines written while static objects are still being
// constructed are safe too.
SRWLOCK sinkLock = SRWLOCK_INIT;
DebugLogSink currentSink = nullptr;

}  // namespace

void SetDebugLogSink(DebugLogSink sink) {
  AcquireSRWLockExclusive(&sinkLock);
  currentSink = sink;
  ReleaseSRWLockExclusive(&sinkLock);
}

void WriteDebugLog(const std::string& line) {
  // The sink is called under the lock so that a test that unsets it and then drops what
  // it collected never races a line still being delivered.
  AcquireSRWLockExclusive(&sinkLock);
  if (currentSink) currentSink(line);
  ReleaseSRWLockExclusive(&sinkLock);
}

}  // namespace tovrel
