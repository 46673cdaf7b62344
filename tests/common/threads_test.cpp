#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>

#include "common/threads.h"

namespace {

// What a test thread reads and writes; passed by address as the pointer-sized argument.
struct Shared {
  HANDLE go = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  std::atomic<long> counter{0};
  std::atomic<bool> stop{false};
  std::atomic<bool> finished{false};
  ~Shared() { CloseHandle(go); }
};

intptr_t Arg(Shared& s) { return reinterpret_cast<intptr_t>(&s); }
Shared& From(intptr_t a) { return *reinterpret_cast<Shared*>(a); }

void WaitForGo(intptr_t a) {
  ++From(a).counter;
  WaitForSingleObject(From(a).go, INFINITE);
  From(a).finished = true;
}

void CountUntilStopped(intptr_t a) {
  while (!From(a).stop) ++From(a).counter;
}

void StoreArgument(intptr_t a) { From(a).counter = 7; }

class ThreadsTest : public ::testing::Test {
 protected:
  void TearDown() override { ThreadFreeAll(); }
};

TEST_F(ThreadsTest, RunsTheFunctionWithItsArgument) {
  Shared s;
  int t = static_cast<int>(ThreadCreate(kAnyNumber, StoreArgument, Arg(s)));
  ASSERT_GE(t, 1);
  EXPECT_LT(t, 0x10000);  // a small counter value, not an address
  EXPECT_EQ(ThreadWait(t, 5000), 1);
  EXPECT_EQ(s.counter, 7);
  EXPECT_EQ(ThreadIsRunning(t), 0);
  EXPECT_EQ(ThreadFree(t), 1);
  EXPECT_EQ(ThreadFree(t), 0);
}

TEST_F(ThreadsTest, WaitTimesOutWhileTheThreadRuns) {
  Shared s;
  int t = static_cast<int>(ThreadCreate(kAnyNumber, WaitForGo, Arg(s)));
  ASSERT_NE(t, 0);
  DWORD before = GetTickCount();
  EXPECT_EQ(ThreadWait(t, 100), 0);
  EXPECT_GE(GetTickCount() - before, 90u);
  EXPECT_EQ(ThreadIsRunning(t), 1);
  SetEvent(s.go);
  EXPECT_EQ(ThreadWait(t, kWaitForever), 1);
  EXPECT_TRUE(s.finished);
  EXPECT_EQ(ThreadIsRunning(t), 0);
}

TEST_F(ThreadsTest, PauseStopsTheThreadAndResumeLetsItGoOn) {
  Shared s;
  int t = static_cast<int>(ThreadCreate(kAnyNumber, CountUntilStopped, Arg(s)));
  ASSERT_NE(t, 0);
  while (s.counter < 1000) Sleep(1);
  ASSERT_EQ(ThreadPause(t), 1);
  long paused = s.counter;
  Sleep(100);
  EXPECT_EQ(s.counter, paused);
  EXPECT_EQ(ThreadIsRunning(t), 1);
  ASSERT_EQ(ThreadResume(t), 1);
  DWORD start = GetTickCount();
  while (s.counter == paused && GetTickCount() - start < 5000) Sleep(1);
  EXPECT_GT(s.counter, paused);
  s.stop = true;
  EXPECT_EQ(ThreadWait(t, 5000), 1);
}

TEST_F(ThreadsTest, KillEndsABlockedOrPausedThread) {
  Shared s;
  Shared counting;
  int blocked = static_cast<int>(ThreadCreate(kAnyNumber, WaitForGo, Arg(s)));
  int paused = static_cast<int>(ThreadCreate(kAnyNumber, CountUntilStopped, Arg(counting)));
  // Both threads must be past their start-up before they are stopped: a thread killed
  // while the system still starts it holds the loader's lock, and the process could not end.
  DWORD start = GetTickCount();
  while ((s.counter == 0 || counting.counter == 0) && GetTickCount() - start < 5000) Sleep(1);
  Sleep(20);
  ASSERT_EQ(ThreadPause(paused), 1);
  for (int t : {blocked, paused}) {
    EXPECT_EQ(ThreadKill(t), 1);
    EXPECT_EQ(ThreadIsRunning(t), 0);
    EXPECT_EQ(ThreadKill(t), 0);  // already ended
  }
  EXPECT_FALSE(s.finished);
}

TEST_F(ThreadsTest, ExplicitNumberAnswersTheHandleAndReplacesWithoutKilling) {
  Shared first, second;
  intptr_t h = ThreadCreate(5, WaitForGo, Arg(first));
  EXPECT_NE(h, 0);
  EXPECT_NE(h, 5);
  EXPECT_EQ(ThreadIsRunning(5), 1);
  // The old thread loses its number, not its life.
  ASSERT_NE(ThreadCreate(5, WaitForGo, Arg(second)), 0);
  SetEvent(first.go);
  DWORD start = GetTickCount();
  while (!first.finished && GetTickCount() - start < 5000) Sleep(1);
  EXPECT_TRUE(first.finished);
  EXPECT_EQ(ThreadIsRunning(5), 1);  // number 5 is the second thread now
  SetEvent(second.go);
  EXPECT_EQ(ThreadWait(5, 5000), 1);
  EXPECT_TRUE(second.finished);
}

TEST_F(ThreadsTest, FreeDetachesARunningThread) {
  Shared s;
  int t = static_cast<int>(ThreadCreate(kAnyNumber, WaitForGo, Arg(s)));
  EXPECT_EQ(ThreadFree(t), 1);
  EXPECT_EQ(ThreadIsRunning(t), 0);
  SetEvent(s.go);
  DWORD start = GetTickCount();
  while (!s.finished && GetTickCount() - start < 5000) Sleep(1);
  EXPECT_TRUE(s.finished);
}

TEST_F(ThreadsTest, UnknownNumbersAndBadRequestsAnswerZero) {
  const int unknown = 4343;
  EXPECT_EQ(ThreadWait(unknown, 10), 0);
  EXPECT_EQ(ThreadIsRunning(unknown), 0);
  EXPECT_EQ(ThreadKill(unknown), 0);
  EXPECT_EQ(ThreadPause(unknown), 0);
  EXPECT_EQ(ThreadResume(unknown), 0);
  EXPECT_EQ(ThreadFree(unknown), 0);
  EXPECT_EQ(ThreadCreate(kAnyNumber, nullptr, 0), 0);
  Shared s;
  EXPECT_EQ(ThreadCreate(-3, StoreArgument, Arg(s)), 0);
}

}  // namespace
