// LinkedListEx: the task pane's own doubly linked list.
//
// A list is addressed by its header, a block allocated like an element. Elements are
// separate zero-filled heap blocks that never move; each begins with a LinkedListElement
// and continues with the caller's data, so a record kept in a list declares a
// LinkedListElement as its first member. Positions are 0-based from the first element.
// The list owns its blocks, not what their data points to (texts, nested lists).
// No locking: the pane uses its lists on the GUI thread only.
#ifndef ZK_APP_EXBAR_LINKEDLIST_H
#define ZK_APP_EXBAR_LINKEDLIST_H

#include <stdint.h>

struct LinkedListElement {
  LinkedListElement* next;      // following element; in a header, the first element
  LinkedListElement* previous;  // preceding element; the first element's is the header
  int32_t blockSize;            // bytes of the whole block; in a header, the element size
  int32_t count;                // in a header, the number of elements; 0 in elements
};

// A zero-filled block of `size` bytes (header included) with blockSize set; null when
// the size cannot hold the header or memory is exhausted.
LinkedListElement* AllocateLinkedListElement(int32_t size);
// Wipes the block and frees it; null does nothing.
void FreeLinkedListElement(LinkedListElement* element);

// A new empty list whose elements are `elementSize` bytes each (header included).
LinkedListElement* CreateLinkedList(int32_t elementSize);
// Appends a new zero-filled element and returns it; null for a null list or when the
// allocation fails (the list is then unchanged).
LinkedListElement* AddLinkedListElement(LinkedListElement* list);
int32_t CountLinkedListElements(const LinkedListElement* list);
LinkedListElement* GetFirstLinkedListElement(const LinkedListElement* list);
// Follows next links from `element`; an empty list's header answers itself.
LinkedListElement* GetLastLinkedListElement(LinkedListElement* element);
LinkedListElement* GetLinkedListElement(const LinkedListElement* list, int position);
// a->next = b and b->previous = a, when both are given.
void LinkLinkedListElements(LinkedListElement* a, LinkedListElement* b);
// Unlinks and frees the element at `position`; 1, or 0 when there is none.
int DeleteLinkedListElement(LinkedListElement* list, int position);
// Frees every element; the list stays usable. 1, or 0 for a null list.
int ClearLinkedList(LinkedListElement* list);
// Clears the list and frees its header. 1, or 0 for a null list.
int FreeLinkedList(LinkedListElement* list);

// Typed access for records that begin with a LinkedListElement.
template <typename T>
T* LinkedListRecord(LinkedListElement* element) {
  return reinterpret_cast<T*>(element);
}

#endif
