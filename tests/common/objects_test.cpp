#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <thread>
#include <vector>

#include "common/objects.h"

namespace {

// A kind whose release records which objects were released, in order.
struct Token {
  int id = 0;
};

std::vector<int> g_released;

void ReleaseToken(Token& t) { g_released.push_back(t.id); }

class ObjectTableTest : public ::testing::Test {
 protected:
  void SetUp() override { g_released.clear(); }
};

TEST_F(ObjectTableTest, AnyNumberGivesSmallDistinctPositiveNumbersFromTheFirstAutomatic) {
  ObjectTable<Token> table(ReleaseToken, 10000);
  std::set<int> seen;
  for (int i = 0; i < 50; ++i) {
    int used = 0;
    ASSERT_TRUE(table.Add(kAnyNumber, Token{i}, &used));
    EXPECT_GE(used, 10000);
    EXPECT_LT(used, 10050);
    EXPECT_TRUE(seen.insert(used).second) << used;
  }
  EXPECT_TRUE(g_released.empty());
}

TEST_F(ObjectTableTest, AnyNumberSkipsNumbersAlreadyInUse) {
  ObjectTable<Token> table(ReleaseToken, 10);
  ASSERT_TRUE(table.Add(10, Token{1}));
  ASSERT_TRUE(table.Add(11, Token{2}));
  ASSERT_TRUE(table.Add(13, Token{3}));
  std::vector<int> got;
  for (int i = 0; i < 3; ++i) {
    int used = 0;
    ASSERT_TRUE(table.Add(kAnyNumber, Token{10 + i}, &used));
    got.push_back(used);
  }
  EXPECT_EQ(got, (std::vector<int>{12, 14, 15}));
  EXPECT_TRUE(g_released.empty());
}

TEST_F(ObjectTableTest, PrepareNumberReleasesAnExplicitNumberAndRefusesBadOnes) {
  ObjectTable<Token> table(ReleaseToken, 10000);
  ASSERT_TRUE(table.Add(7, Token{1}));
  ASSERT_TRUE(table.Add(8, Token{2}));
  EXPECT_FALSE(table.PrepareNumber(-2));
  EXPECT_TRUE(table.PrepareNumber(kAnyNumber));
  EXPECT_TRUE(g_released.empty());
  EXPECT_TRUE(table.PrepareNumber(7));
  EXPECT_TRUE(table.PrepareNumber(9));  // nothing there: still usable
  EXPECT_EQ(g_released, std::vector<int>{1});
  EXPECT_FALSE(table.Has(7));
  EXPECT_TRUE(table.Has(8));
}

TEST_F(ObjectTableTest, ExplicitNumberReplacesAndReleasesTheOldObject) {
  ObjectTable<Token> table(ReleaseToken, 10000);
  int used = -5;
  ASSERT_TRUE(table.Add(0, Token{1}, &used));  // 0 is a valid explicit number
  EXPECT_EQ(used, 0);
  ASSERT_TRUE(table.Add(0, Token{2}));
  EXPECT_EQ(g_released, std::vector<int>{1});
  int seen = 0;
  EXPECT_TRUE(table.With(0, [&](Token& t) { seen = t.id; }));
  EXPECT_EQ(seen, 2);
  EXPECT_EQ(table.Count(), 1u);
}

TEST_F(ObjectTableTest, UnknownNumbersAreNotFoundAndFreeingThemDoesNothing) {
  ObjectTable<Token> table(ReleaseToken, 10000);
  ASSERT_TRUE(table.Add(7, Token{7}));
  bool ran = false;
  EXPECT_FALSE(table.With(8, [&](Token&) { ran = true; }));
  EXPECT_FALSE(ran);
  EXPECT_FALSE(table.Has(8));
  EXPECT_FALSE(table.Free(8));
  EXPECT_TRUE(g_released.empty());
  EXPECT_TRUE(table.Free(7));
  EXPECT_FALSE(table.Free(7));
  EXPECT_EQ(g_released, std::vector<int>{7});
}

TEST_F(ObjectTableTest, RefusedRecordsAreReleased) {
  ObjectTable<Token> table(ReleaseToken, 1);
  EXPECT_FALSE(table.Add(-2, Token{42}));
  EXPECT_EQ(g_released, std::vector<int>{42});
  EXPECT_EQ(table.Count(), 0u);
}

TEST_F(ObjectTableTest, AutomaticRangeFitsControlIdsWrapsAndFailsWhenFull) {
  ObjectTable<Token> table(ReleaseToken, 65533, 65535);
  int a = 0, b = 0, c = 0, d = 0;
  ASSERT_TRUE(table.Add(kAnyNumber, Token{1}, &a));
  ASSERT_TRUE(table.Add(kAnyNumber, Token{2}, &b));
  ASSERT_TRUE(table.Add(kAnyNumber, Token{3}, &c));
  EXPECT_EQ((std::vector<int>{a, b, c}), (std::vector<int>{65533, 65534, 65535}));
  EXPECT_FALSE(table.Add(kAnyNumber, Token{4}));
  EXPECT_EQ(g_released, std::vector<int>{4});
  ASSERT_TRUE(table.Free(65534));
  ASSERT_TRUE(table.Add(kAnyNumber, Token{5}, &d));
  EXPECT_EQ(d, 65534);
}

TEST_F(ObjectTableTest, FreeAllReleasesEveryObject) {
  ObjectTable<Token> table(ReleaseToken, 100);
  table.Add(1, Token{1});
  table.Add(kAnyNumber, Token{2});
  table.Add(5, Token{3});
  table.FreeAll();
  std::sort(g_released.begin(), g_released.end());
  EXPECT_EQ(g_released, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(table.Count(), 0u);
}

// A release that uses its own table (as closing a window may look up its controls)
// must not deadlock: releases run outside the lock.
ObjectTable<Token>* g_reentrantTable = nullptr;
bool g_sawOtherObject = false;
void ReleaseLookingAtTable(Token&) { g_sawOtherObject = g_reentrantTable->Has(2); }

TEST_F(ObjectTableTest, ReleaseMayUseTheTable) {
  ObjectTable<Token> table(ReleaseLookingAtTable, 100);
  g_reentrantTable = &table;
  table.Add(1, Token{1});
  table.Add(2, Token{2});
  EXPECT_TRUE(table.Free(1));
  EXPECT_TRUE(g_sawOtherObject);
  table.Add(2, Token{3});  // replacing releases too
  table.FreeAll();
  g_reentrantTable = nullptr;
}

TEST_F(ObjectTableTest, ConcurrentCreatesGetDistinctNumbers) {
  ObjectTable<Token> table(nullptr, 10000);
  const int kThreads = 8, kEach = 300;
  std::vector<std::vector<int>> numbers(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < kEach; ++i) {
        int used = 0;
        if (table.Add(kAnyNumber, Token{i}, &used)) numbers[t].push_back(used);
        if (i % 3 == 0) table.Has(used);
      }
    });
  }
  for (auto& th : threads) th.join();
  std::set<int> all;
  for (auto& v : numbers) all.insert(v.begin(), v.end());
  EXPECT_EQ(all.size(), size_t(kThreads * kEach));
  EXPECT_EQ(table.Count(), size_t(kThreads * kEach));
  EXPECT_GE(*all.begin(), 10000);
  EXPECT_LT(*all.rbegin(), 10000 + kThreads * kEach);
}

TEST(CreateAnswer, NumberForAnyNumberAndHandleForAnExplicitNumber) {
  EXPECT_EQ(CreateAnswer(kAnyNumber, 10003, 0x5000), 10003);
  EXPECT_EQ(CreateAnswer(3, 3, 0x5000), 0x5000);
  EXPECT_EQ(CreateAnswer(0, 0, 0x5000), 0x5000);
}

}  // namespace
