// The task pane's linked list.
#include "app/exbar/linkedlist.h"

#include <windows.h>

#include <stdlib.h>

LinkedListElement* AllocateLinkedListElement(int32_t size) {
  // A block smaller than the header could not even hold its own size field.
  if (size < static_cast<int32_t>(sizeof(LinkedListElement))) return nullptr;
  auto* e = static_cast<LinkedListElement*>(calloc(1, static_cast<size_t>(size)));
  if (!e) return nullptr;
  e->blockSize = size;
  return e;
}

void FreeLinkedListElement(LinkedListElement* element) {
  if (!element) return;
  // Wiped first, so a stale pointer into a freed record finds nulls rather than links.
  SecureZeroMemory(element, static_cast<size_t>(element->blockSize));
  free(element);
}

LinkedListElement* CreateLinkedList(int32_t elementSize) { return AllocateLinkedListElement(elementSize); }

LinkedListElement* AddLinkedListElement(LinkedListElement* list) {
  if (!list) return nullptr;
  LinkedListElement* e = AllocateLinkedListElement(list->blockSize);
  if (!e) return nullptr;
  ++list->count;
  LinkLinkedListElements(GetLastLinkedListElement(list), e);
  return e;
}

int32_t CountLinkedListElements(const LinkedListElement* list) { return list ? list->count : 0; }

LinkedListElement* GetFirstLinkedListElement(const LinkedListElement* list) { return list ? list->next : nullptr; }

LinkedListElement* GetLastLinkedListElement(LinkedListElement* element) {
  if (!element) return nullptr;
  while (element->next) element = element->next;
  return element;
}

LinkedListElement* GetLinkedListElement(const LinkedListElement* list, int position) {
  if (!list || position < 0 || position >= list->count) return nullptr;
  LinkedListElement* e = list->next;
  for (int i = 0; e && i < position; ++i) e = e->next;
  return e;
}

void LinkLinkedListElements(LinkedListElement* a, LinkedListElement* b) {
  if (!a || !b) return;
  a->next = b;
  b->previous = a;
}

int DeleteLinkedListElement(LinkedListElement* list, int position) {
  LinkedListElement* e = GetLinkedListElement(list, position);
  if (!e) return 0;
  e->previous->next = e->next;
  if (e->next) e->next->previous = e->previous;
  FreeLinkedListElement(e);
  --list->count;
  return 1;
}

int ClearLinkedList(LinkedListElement* list) {
  if (!list) return 0;
  LinkedListElement* e = list->next;
  while (e) {
    LinkedListElement* next = e->next;
    FreeLinkedListElement(e);
    e = next;
  }
  list->next = nullptr;
  list->count = 0;
  return 1;
}

int FreeLinkedList(LinkedListElement* list) {
  if (!ClearLinkedList(list)) return 0;
  FreeLinkedListElement(list);
  return 1;
}
