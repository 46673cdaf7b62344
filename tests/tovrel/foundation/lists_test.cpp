#include <gtest/gtest.h>

#include <windows.h>

#include <stdint.h>
#include <string.h>
#include <ios>
#include <string>

#include "tovrel/foundation/lists.h"
#include "tovrel/foundation/maps.h"

namespace {

using tovrel::AddressKey;
using tovrel::DockedWindow;
using tovrel::HandleKey;
using tovrel::PanelExPageRecord;
using tovrel::SavedCurrent;
using tovrel::ToolkitList;
using tovrel::ToolkitMap;

HWND FakeWindow(uintptr_t value) { return reinterpret_cast<HWND>(value); }

DockedWindow* AddDocked(ToolkitList<DockedWindow>& list, uintptr_t window, int32_t flags) {
  DockedWindow& record = list.Add();
  record.window = FakeWindow(window);
  record.dockFlags = flags;
  return &record;
}

DockedWindow* FindDocked(ToolkitList<DockedWindow>& list, uintptr_t window) {
  return list.Find([&](const DockedWindow& r) { return r.window == FakeWindow(window); });
}

TEST(ToolkitListTest, AddAndFindMoveTheCurrentElementAnAbsentFindDoesNot) {
  ToolkitList<DockedWindow> list;
  EXPECT_EQ(list.Current(), nullptr);
  DockedWindow* first = AddDocked(list, 0x10, 1);
  EXPECT_EQ(list.Current(), first);
  DockedWindow* second = AddDocked(list, 0x20, 2);
  EXPECT_EQ(list.Current(), second);

  EXPECT_EQ(FindDocked(list, 0x10), first);
  EXPECT_EQ(list.Current(), first);

  EXPECT_EQ(FindDocked(list, 0x30), nullptr);
  EXPECT_EQ(list.Current(), first);
  EXPECT_EQ(list.Size(), 2u);
}

TEST(ToolkitListTest, RecordsKeepTheirAddressWhileTheListGrows) {
  ToolkitList<DockedWindow> list;
  DockedWindow* first = AddDocked(list, 0x10, 4);
  for (uintptr_t i = 1; i <= 5000; ++i) AddDocked(list, 0x10 + i, 0);
  EXPECT_EQ(FindDocked(list, 0x10), first);
  EXPECT_EQ(first->dockFlags, 4);
}

// A record added where a deleted one lay must not show the old record's values.
TEST(ToolkitListTest, AddedRecordsAreZeroedEvenInReusedMemory) {
  ToolkitList<PanelExPageRecord> list;
  for (int round = 0; round < 3; ++round) {
    PanelExPageRecord& record = list.Add();
    EXPECT_EQ(record.window, nullptr);
    EXPECT_EQ(record.panelWindow, nullptr);
    EXPECT_EQ(record.hScrollBar, nullptr);
    EXPECT_EQ(record.hScrollVisible, 0);
    EXPECT_EQ(record.vScrollBar, nullptr);
    EXPECT_EQ(record.vScrollVisible, 0);
    EXPECT_EQ(record.cornerBox, nullptr);
    EXPECT_EQ(record.autoScroll, 0);
    EXPECT_EQ(record.contentRight, 0);
    EXPECT_EQ(record.contentBottom, 0);
    memset(&record, 0xAB, sizeof record);
    list.Delete(&record);
  }
}

TEST(ToolkitListTest, DeletingTheCurrentRecordLeavesNoCurrentElement) {
  ToolkitList<DockedWindow> list;
  DockedWindow* first = AddDocked(list, 0x10, 0);
  DockedWindow* second = AddDocked(list, 0x20, 0);

  EXPECT_TRUE(list.Delete(first));
  EXPECT_EQ(list.Current(), second);
  EXPECT_FALSE(list.Delete(first));

  EXPECT_TRUE(list.Delete(second));
  EXPECT_EQ(list.Current(), nullptr);
  EXPECT_TRUE(list.Empty());
}

TEST(ToolkitListTest, AWalkGivesTheCallerBackItsCurrentElement) {
  ToolkitList<DockedWindow> list;
  AddDocked(list, 0x10, 0);
  DockedWindow* mine = AddDocked(list, 0x20, 0);
  AddDocked(list, 0x30, 0);
  FindDocked(list, 0x20);
  {
    SavedCurrent<DockedWindow> keep(list);
    EXPECT_NE(FindDocked(list, 0x30), nullptr);
    AddDocked(list, 0x40, 0);
  }
  EXPECT_EQ(list.Current(), mine);

  // Deleted during the walk: restoring must not leave a dangling current element.
  {
    SavedCurrent<DockedWindow> keep(list);
    list.Delete(mine);
  }
  EXPECT_EQ(list.Current(), nullptr);
}

TEST(ToolkitListTest, WalkingVisitsRecordsInOrderWithoutMovingTheCurrentElement) {
  ToolkitList<DockedWindow> list;
  AddDocked(list, 0x10, 1);
  AddDocked(list, 0x20, 2);
  DockedWindow* current = AddDocked(list, 0x30, 3);
  std::string seen;
  for (const DockedWindow& record : list) seen += std::to_string(record.dockFlags);
  EXPECT_EQ(seen, "123");
  EXPECT_EQ(list.Current(), current);
}

TEST(ToolkitListTest, InsertingAfterARecordOrTheFirstKeepsTheHeadInPlace) {
  ToolkitList<DockedWindow> list;
  auto order = [&list] {
    std::string s;
    for (const DockedWindow& r : list) s += std::to_string(reinterpret_cast<uintptr_t>(r.window)) + " ";
    return s;
  };
  list.InsertAfterFirst().window = FakeWindow(1);  // empty: becomes the head
  list.InsertAfterFirst().window = FakeWindow(2);
  list.InsertAfterFirst().window = FakeWindow(3);
  EXPECT_EQ(order(), "1 3 2 ");
  DockedWindow& after = list.InsertAfter(FindDocked(list, 2));
  after.window = FakeWindow(4);
  EXPECT_EQ(list.Current(), &after);
  EXPECT_EQ(after.dockFlags, 0);
  EXPECT_EQ(order(), "1 3 2 4 ");
  DockedWindow stranger = {};
  list.InsertAfter(&stranger).window = FakeWindow(5);  // not in the list: first
  EXPECT_EQ(order(), "5 1 3 2 4 ");
}

TEST(ToolkitListTest, ATextControlKeepsItsOwnLinkList) {
  ToolkitList<tovrel::TextControlRecord> controls;
  tovrel::TextControlRecord& control = controls.Add();
  EXPECT_TRUE(control.links.Empty());
  tovrel::TextLinkRect& link = control.links.Add();
  link.linkId = 7;
  controls.Add();
  EXPECT_EQ(control.links.Current()->linkId, 7);
  EXPECT_EQ(controls.Current()->links.Current(), nullptr);
}

TEST(ToolkitListTest, TheGlobalListsStartEmpty) {
  EXPECT_TRUE(tovrel::MenuList.Empty());
  EXPECT_EQ(tovrel::MenuList.Current(), nullptr);
  EXPECT_TRUE(tovrel::FrozenWindowList.Empty());
  EXPECT_EQ(tovrel::TrackedWindowMap.Size(), 0u);
}

TEST(ToolkitMapTest, AddCreatesAZeroedEntryOnceAndMakesItCurrent) {
  ToolkitMap<uint32_t> map(512);
  uint32_t& red = map.Add("red");
  EXPECT_EQ(red, 0u);
  red = 0xFF0000;
  EXPECT_EQ(map.Current()->first, "red");
  map.Add("blue") = 0x0000FF;
  EXPECT_EQ(map.Current()->first, "blue");

  EXPECT_EQ(&map.Add("red"), &red);
  EXPECT_EQ(red, 0xFF0000u);
  EXPECT_EQ(map.Current()->first, "red");
  EXPECT_EQ(map.Size(), 2u);
}

TEST(ToolkitMapTest, FindMakesTheEntryCurrentAnAbsentKeyChangesNothing) {
  ToolkitMap<uint32_t> map(512);
  map.Add("red") = 0xFF0000;
  map.Add("blue") = 0x0000FF;
  ASSERT_NE(map.Find("red"), nullptr);
  EXPECT_EQ(*map.Find("red"), 0xFF0000u);
  EXPECT_EQ(map.Current()->first, "red");

  EXPECT_EQ(map.Find("green"), nullptr);
  EXPECT_EQ(map.Find("Red"), nullptr);
  EXPECT_EQ(map.Current()->first, "red");
  EXPECT_EQ(map.Size(), 2u);
}

TEST(ToolkitMapTest, EntriesOutgrowTheBucketCountAndKeepTheirAddress) {
  ToolkitMap<HANDLE> map(16);
  HANDLE& first = map.Add("first.ico");
  first = reinterpret_cast<HANDLE>(0x2169ef6f0);
  for (int i = 0; i < 2000; ++i) map.Add("icon" + std::to_string(i) + ".ico");
  EXPECT_EQ(map.Size(), 2001u);
  EXPECT_EQ(map.Find("first.ico"), &first);
  EXPECT_EQ(first, reinterpret_cast<HANDLE>(0x2169ef6f0));
}

TEST(ToolkitMapTest, DeletingTheCurrentKeyLeavesNoCurrentEntry) {
  ToolkitMap<int32_t> map(512);
  map.Add("a") = 1;
  map.Add("b") = 1;
  EXPECT_TRUE(map.Delete("a"));
  EXPECT_EQ(map.Current()->first, "b");
  EXPECT_FALSE(map.Delete("a"));
  EXPECT_TRUE(map.Delete("b"));
  EXPECT_EQ(map.Current(), nullptr);
  EXPECT_EQ(map.Find("b"), nullptr);
}

struct KeyCase {
  uint64_t value;
  const char* handleKey;
  const char* addressKey;
};

TEST(MapKeyTest, HandlesAreSignedLow32BitsAddressesAreFull64Bits) {
  const KeyCase cases[] = {
      {0, "0", "0"},
      {0x1234, "4660", "4660"},
      {0x7FFFFFFF, "2147483647", "2147483647"},
      // Bit 31 set: negative, the same as the handle sign-extended to 64 bits.
      {0x80000000, "-2147483648", "2147483648"},
      {0xFFFF001E, "-65506", "4294901790"},
      {0xFFFFFFFFFFFF001E, "-65506", "18446744073709486110"},
      // An address above 4 GB: the handle form would fold it onto another one.
      {0x2169EF6F0, "379516656", "8969451248"},
  };
  for (const KeyCase& c : cases) {
    const void* p = reinterpret_cast<const void*>(static_cast<uintptr_t>(c.value));
    EXPECT_EQ(HandleKey(p), c.handleKey) << std::hex << c.value;
    EXPECT_EQ(AddressKey(p), c.addressKey) << std::hex << c.value;
  }
}

}  // namespace
