// LinkedListEx: the task pane's doubly linked list.
#include <gtest/gtest.h>

#include <stdint.h>
#include <string.h>

#include <vector>

#include "app/exbar/linkedlist.h"

namespace {

struct Payload {
  LinkedListElement element;
  int32_t value;
  char text[20];
};

// Walks the list both ways and checks every link against the other direction, the
// count and the header; returns the payload values in order.
std::vector<int> Values(LinkedListElement* list) {
  std::vector<int> out;
  LinkedListElement* previous = list;
  for (LinkedListElement* e = list->next; e; e = e->next) {
    EXPECT_EQ(e->previous, previous);
    EXPECT_EQ(e->count, 0);
    EXPECT_EQ(e->blockSize, list->blockSize);
    out.push_back(LinkedListRecord<Payload>(e)->value);
    previous = e;
  }
  EXPECT_EQ(CountLinkedListElements(list), static_cast<int32_t>(out.size()));
  EXPECT_EQ(GetLastLinkedListElement(list), previous);
  return out;
}

LinkedListElement* ListOf(std::initializer_list<int> values) {
  LinkedListElement* list = CreateLinkedList(sizeof(Payload));
  for (int v : values) LinkedListRecord<Payload>(AddLinkedListElement(list))->value = v;
  return list;
}

bool AllZero(const void* p, size_t size) {
  const auto* b = static_cast<const unsigned char*>(p);
  for (size_t i = 0; i < size; ++i)
    if (b[i]) return false;
  return true;
}

TEST(LinkedList, EmptyList) {
  LinkedListElement* list = CreateLinkedList(sizeof(Payload));
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->blockSize, static_cast<int32_t>(sizeof(Payload)));
  EXPECT_EQ(CountLinkedListElements(list), 0);
  EXPECT_EQ(GetFirstLinkedListElement(list), nullptr);
  EXPECT_EQ(GetLinkedListElement(list, 0), nullptr);
  EXPECT_EQ(GetLastLinkedListElement(list), list);
  EXPECT_EQ(DeleteLinkedListElement(list, 0), 0);
  EXPECT_EQ(FreeLinkedList(list), 1);
}

TEST(LinkedList, AppendToEmptyLinksHeaderAndElement) {
  LinkedListElement* list = CreateLinkedList(sizeof(Payload));
  LinkedListElement* e = AddLinkedListElement(list);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(list->next, e);
  EXPECT_EQ(e->previous, list);
  EXPECT_EQ(e->next, nullptr);
  EXPECT_EQ(GetFirstLinkedListElement(list), e);
  EXPECT_EQ(GetLinkedListElement(list, 0), e);
  EXPECT_EQ(GetLastLinkedListElement(e), e);
  FreeLinkedList(list);
}

TEST(LinkedList, NewElementsArriveZeroFilled) {
  LinkedListElement* list = CreateLinkedList(sizeof(Payload));
  for (int i = 0; i < 3; ++i) {
    auto* p = LinkedListRecord<Payload>(AddLinkedListElement(list));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->element.blockSize, static_cast<int32_t>(sizeof(Payload)));
    EXPECT_EQ(p->element.count, 0);
    EXPECT_EQ(p->value, 0);
    EXPECT_TRUE(AllZero(p->text, sizeof(p->text)));
    // Dirty the data, so a block that came back from the heap unwiped would show.
    p->value = 77;
    memset(p->text, 'x', sizeof(p->text));
  }
  ClearLinkedList(list);
  auto* again = LinkedListRecord<Payload>(AddLinkedListElement(list));
  EXPECT_EQ(again->value, 0);
  EXPECT_TRUE(AllZero(again->text, sizeof(again->text)));
  FreeLinkedList(list);

  LinkedListElement* block = AllocateLinkedListElement(64);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(block->blockSize, 64);
  EXPECT_EQ(block->next, nullptr);
  EXPECT_EQ(block->previous, nullptr);
  EXPECT_TRUE(AllZero(reinterpret_cast<char*>(block) + sizeof(LinkedListElement), 64 - sizeof(LinkedListElement)));
  FreeLinkedListElement(block);
}

TEST(LinkedList, DeleteKeepsTheChainWhole) {
  struct Case {
    const char* name;
    std::vector<int> start;
    int position;
    std::vector<int> left;
  };
  const Case cases[] = {
      {"only element", {1}, 0, {}},
      {"first of several", {1, 2, 3}, 0, {2, 3}},
      {"middle", {1, 2, 3}, 1, {1, 3}},
      {"last", {1, 2, 3}, 2, {1, 2}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LinkedListElement* list = CreateLinkedList(sizeof(Payload));
    for (int v : c.start) LinkedListRecord<Payload>(AddLinkedListElement(list))->value = v;
    EXPECT_EQ(DeleteLinkedListElement(list, c.position), 1);
    EXPECT_EQ(Values(list), c.left);
    if (!c.left.empty()) {
      EXPECT_EQ(GetFirstLinkedListElement(list)->previous, list);
    }
    // The shortened chain takes new elements at its real end.
    LinkedListRecord<Payload>(AddLinkedListElement(list))->value = 9;
    std::vector<int> expected = c.left;
    expected.push_back(9);
    EXPECT_EQ(Values(list), expected);
    FreeLinkedList(list);
  }
}

TEST(LinkedList, PositionsOutOfRange) {
  LinkedListElement* list = ListOf({10, 20, 30});
  for (int position : {-1, 3, 4, 1000}) {
    SCOPED_TRACE(position);
    EXPECT_EQ(GetLinkedListElement(list, position), nullptr);
    EXPECT_EQ(DeleteLinkedListElement(list, position), 0);
  }
  EXPECT_EQ(Values(list), (std::vector<int>{10, 20, 30}));
  EXPECT_EQ(LinkedListRecord<Payload>(GetLinkedListElement(list, 2))->value, 30);
  FreeLinkedList(list);
}

TEST(LinkedList, ClearThenReuse) {
  LinkedListElement* list = ListOf({1, 2, 3, 4});
  EXPECT_EQ(ClearLinkedList(list), 1);
  EXPECT_EQ(CountLinkedListElements(list), 0);
  EXPECT_EQ(GetFirstLinkedListElement(list), nullptr);
  EXPECT_EQ(GetLastLinkedListElement(list), list);
  EXPECT_EQ(list->blockSize, static_cast<int32_t>(sizeof(Payload)));
  LinkedListRecord<Payload>(AddLinkedListElement(list))->value = 5;
  LinkedListRecord<Payload>(AddLinkedListElement(list))->value = 6;
  EXPECT_EQ(Values(list), (std::vector<int>{5, 6}));
  EXPECT_EQ(LinkedListRecord<Payload>(GetLinkedListElement(list, 0))->value, 5);
  FreeLinkedList(list);
}

TEST(LinkedList, NullArgumentsAndBadSizes) {
  EXPECT_EQ(AddLinkedListElement(nullptr), nullptr);
  EXPECT_EQ(CountLinkedListElements(nullptr), 0);
  EXPECT_EQ(GetFirstLinkedListElement(nullptr), nullptr);
  EXPECT_EQ(GetLastLinkedListElement(nullptr), nullptr);
  EXPECT_EQ(GetLinkedListElement(nullptr, 0), nullptr);
  EXPECT_EQ(DeleteLinkedListElement(nullptr, 0), 0);
  EXPECT_EQ(ClearLinkedList(nullptr), 0);
  EXPECT_EQ(FreeLinkedList(nullptr), 0);
  FreeLinkedListElement(nullptr);

  // Sizes that cannot hold the element header are refused rather than overrun.
  for (int32_t size : {-8, 0, 1, static_cast<int32_t>(sizeof(LinkedListElement)) - 1}) {
    SCOPED_TRACE(size);
    EXPECT_EQ(AllocateLinkedListElement(size), nullptr);
    EXPECT_EQ(CreateLinkedList(size), nullptr);
  }
  LinkedListElement* bare = CreateLinkedList(sizeof(LinkedListElement));
  ASSERT_NE(bare, nullptr);
  EXPECT_NE(AddLinkedListElement(bare), nullptr);
  FreeLinkedList(bare);
}

TEST(LinkedList, LinkNeedsBothElements) {
  LinkedListElement* a = AllocateLinkedListElement(sizeof(Payload));
  LinkedListElement* b = AllocateLinkedListElement(sizeof(Payload));
  LinkLinkedListElements(a, nullptr);
  LinkLinkedListElements(nullptr, b);
  EXPECT_EQ(a->next, nullptr);
  EXPECT_EQ(b->previous, nullptr);
  LinkLinkedListElements(a, b);
  EXPECT_EQ(a->next, b);
  EXPECT_EQ(b->previous, a);
  EXPECT_EQ(GetLastLinkedListElement(a), b);
  FreeLinkedListElement(a);
  FreeLinkedListElement(b);
}

}  // namespace
