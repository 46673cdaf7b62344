#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tovrel/foundation/debug_log.h"
#include "tovrel/foundation/toolkit_lock.h"

namespace {

using tovrel::ToolkitLock;
using tovrel::ToolkitMutex;
using tovrel::ToolkitUnlock;

std::mutex linesLock;
std::vector<std::string> lines;

void CollectLine(const std::string& line) {
  std::lock_guard<std::mutex> hold(linesLock);
  lines.push_back(line);
}

std::vector<std::string> Lines() {
  std::lock_guard<std::mutex> hold(linesLock);
  return lines;
}

ULONGLONG ThreadCpuMs() {
  FILETIME created, exited, kernel, user;
  GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
  auto ms = [](const FILETIME& t) {
    return ((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000;
  };
  return ms(kernel) + ms(user);
}

// Another thread that takes the mutex, holds it for `holdMs` and then releases it,
// raising `released` just before the release.
class Holder {
 public:
  Holder(ToolkitMutex& mutex, DWORD holdMs) : mutex_(mutex) {
    std::atomic<bool> holding(false);
    thread_ = std::thread([this, holdMs, &holding] {
      ToolkitLock(mutex_);
      holding = true;
      Sleep(holdMs);
      released = true;
      ToolkitUnlock(mutex_);
    });
    while (!holding) Sleep(1);
  }
  ~Holder() { thread_.join(); }

  std::atomic<bool> released{false};

 private:
  ToolkitMutex& mutex_;
  std::thread thread_;
};

// Another thread waiting to take the mutex; `entered` is raised once it holds it. Given a
// holder's `released` flag, it notes whether the holder had let go when it got in.
class Waiter {
 public:
  explicit Waiter(ToolkitMutex& mutex, const std::atomic<bool>* holderReleased = nullptr) : mutex_(mutex) {
    thread_ = std::thread([this, holderReleased] {
      ToolkitLock(mutex_);
      if (holderReleased) enteredAfterRelease = holderReleased->load();
      entered = true;
      ToolkitUnlock(mutex_);
    });
  }
  ~Waiter() { thread_.join(); }

  bool EntersWithin(DWORD ms) {
    for (DWORD waited = 0; waited < ms && !entered; waited += 5) Sleep(5);
    return entered;
  }

  std::atomic<bool> entered{false};
  std::atomic<bool> enteredAfterRelease{false};

 private:
  ToolkitMutex& mutex_;
  std::thread thread_;
};

class ToolkitLockTest : public ::testing::Test {
 protected:
  void SetUp() override {
    lines.clear();
    tovrel::SetDebugLogSink(CollectLine);
  }
  void TearDown() override { tovrel::SetDebugLogSink(nullptr); }
};

TEST_F(ToolkitLockTest, TheHolderTakesItAgainAndMustReleaseItAsOftenAsItTookIt) {
  ToolkitLock(tovrel::MenuMutex);
  ToolkitLock(tovrel::MenuMutex);
  ToolkitUnlock(tovrel::MenuMutex);
  Waiter waiter(tovrel::MenuMutex);
  EXPECT_FALSE(waiter.EntersWithin(200)) << "one release of two let another thread in";
  ToolkitUnlock(tovrel::MenuMutex);
  EXPECT_TRUE(waiter.EntersWithin(2000));
  EXPECT_TRUE(Lines().empty());
}

TEST_F(ToolkitLockTest, AShortHoldDelaysTheWaiterUntilTheRelease) {
  Holder holder(tovrel::PanelExMutex, 300);
  const ULONGLONG start = GetTickCount64();
  ToolkitLock(tovrel::PanelExMutex);
  const ULONGLONG waited = GetTickCount64() - start;
  EXPECT_TRUE(holder.released);
  ToolkitUnlock(tovrel::PanelExMutex);
  EXPECT_GE(waited, 250u);
  EXPECT_TRUE(Lines().empty());
}

// Taking a lock from its holder would let two threads into the lists at once, and a
// waiter that spins takes the CPU the holder needs to finish.
TEST_F(ToolkitLockTest, ALongHoldIsWaitedOutAsleepAndReportedOnce) {
  // Shows that this thread's CPU time is measured at all, so the check below means
  // something. Spun until it shows, within a limit: on a busy machine 300 ms of wall time
  // may bring far less CPU time.
  const ULONGLONG spinStart = ThreadCpuMs();
  for (ULONGLONG limit = GetTickCount64() + 10000; ThreadCpuMs() - spinStart < 150 && GetTickCount64() < limit;) {
  }
  ASSERT_GE(ThreadCpuMs() - spinStart, 150u);

  Holder holder(tovrel::AnimationMutex, 1500);
  const ULONGLONG start = GetTickCount64();
  const ULONGLONG cpuStart = ThreadCpuMs();
  ToolkitLock(tovrel::AnimationMutex);
  const ULONGLONG cpu = ThreadCpuMs() - cpuStart;
  const ULONGLONG waited = GetTickCount64() - start;
  EXPECT_TRUE(holder.released) << "entered while the holder still held it";
  ToolkitUnlock(tovrel::AnimationMutex);

  EXPECT_GE(waited, 1400u);
  EXPECT_LT(cpu, 100u) << "waited " << waited << " ms";
  const std::vector<std::string> logged = Lines();
  ASSERT_EQ(logged.size(), 1u);
  EXPECT_NE(logged[0].find("AnimationMutex"), std::string::npos) << logged[0];
}

TEST_F(ToolkitLockTest, ReleasingAnotherThreadsLockReleasesNothing) {
  Holder holder(tovrel::ShortcutMutex, 600);
  ToolkitUnlock(tovrel::ShortcutMutex);
  // Whatever the machine's load does to the timing, the waiter gets in only once the
  // holder has let go.
  Waiter waiter(tovrel::ShortcutMutex, &holder.released);
  EXPECT_TRUE(waiter.EntersWithin(5000));
  EXPECT_TRUE(waiter.enteredAfterRelease) << "got in while the holder still held it";
  const std::vector<std::string> logged = Lines();
  ASSERT_EQ(logged.size(), 1u);
  EXPECT_NE(logged[0].find("ShortcutMutex"), std::string::npos) << logged[0];
}

struct OrderCase {
  std::vector<ToolkitMutex*> taken;
  size_t lines;
};

TEST_F(ToolkitLockTest, TakingAPairAgainstItsFixedOrderIsLogged) {
  using namespace tovrel;
  const OrderCase cases[] = {
      {{&MenuMutex, &ToolbarMutex}, 0},
      {{&ToolbarMutex, &MenuMutex}, 1},
      {{&PanelExMutex, &TrackedWindowMutex}, 0},
      {{&TrackedWindowMutex, &PanelExMutex}, 1},
      // Taking again a mutex already held is no new order.
      {{&MenuMutex, &ToolbarMutex, &MenuMutex}, 0},
      {{&ToolbarMutex, &ShortcutMutex, &AnimationMutex}, 0},
      {{&ToolbarMutex, &TrackedWindowMutex, &MenuMutex, &PanelExMutex}, 2},
  };
  for (const OrderCase& c : cases) {
    lines.clear();
    std::string sequence;
    for (ToolkitMutex* mutex : c.taken) {
      ToolkitLock(*mutex);
      sequence += std::string(mutex->name) + " ";
    }
    for (auto it = c.taken.rbegin(); it != c.taken.rend(); ++it) ToolkitUnlock(**it);
    EXPECT_EQ(Lines().size(), c.lines) << sequence;
  }
  lines.clear();
  ToolkitLock(ToolbarMutex);
  ToolkitLock(MenuMutex);
  ToolkitUnlock(MenuMutex);
  ToolkitUnlock(ToolbarMutex);
  ASSERT_EQ(Lines().size(), 1u);
  EXPECT_NE(Lines()[0].find("MenuMutex"), std::string::npos);
  EXPECT_NE(Lines()[0].find("ToolbarMutex"), std::string::npos);
}

}  // namespace
