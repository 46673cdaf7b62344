#include "tovrel/frame/menu_scroll_model.h"

#include <algorithm>

namespace tovrel {

namespace {

// The position of the first entry with this value; -1 when there is none.
int PositionOf(const std::vector<int>& layout, int entry) {
  const auto it = std::find(layout.begin(), layout.end(), entry);
  return it == layout.end() ? -1 : static_cast<int>(it - layout.begin());
}

int ShownCount(const std::vector<int>& layout) {
  return static_cast<int>(std::count_if(layout.begin(), layout.end(), [](int e) { return e >= 0; }));
}

// Every change goes through these two, so that the layout only records what the menu did.
bool Insert(ScrollCopyState& s, ScrollCopyEditor& e, int position, int entry) {
  if (!e.Insert(position, entry, s.fillerHeight)) return false;
  s.layout.insert(s.layout.begin() + position, entry);
  return true;
}

bool Remove(ScrollCopyState& s, ScrollCopyEditor& e, int position) {
  if (position < 0 || position >= static_cast<int>(s.layout.size()) || !e.Remove(position)) return false;
  s.layout.erase(s.layout.begin() + position);
  return true;
}

void RemoveAll(ScrollCopyState& s, ScrollCopyEditor& e) {
  while (!s.layout.empty()) {
    if (!Remove(s, e, static_cast<int>(s.layout.size()) - 1)) break;
  }
}

// The system measures an owner-drawn item when it is inserted: a filler of a new height
// is removed and inserted again at `position`.
void PlaceFiller(ScrollCopyState& s, ScrollCopyEditor& e, int position) {
  const int at = PositionOf(s.layout, kScrollFiller);
  if (at >= 0) Remove(s, e, at);
  Insert(s, e, std::min(position, static_cast<int>(s.layout.size())), kScrollFiller);
}

// The filler takes up whatever the copy's height differs from the kept height; it never
// goes below 0. `dropPosition`, when not -1, is an item that entered in this pass and
// leaves again when even an empty filler leaves the copy too tall.
void FitFiller(ScrollCopyState& s, ScrollCopyEditor& e, int dropPosition) {
  const int at = PositionOf(s.layout, kScrollFiller);
  if (at < 0) return;
  const int difference = s.popupHeight - e.CopyHeight();
  if (difference == 0) return;
  int height = s.fillerHeight + difference;
  if (height < 0 && dropPosition >= 0 && ShownCount(s.layout) > 1) {
    Remove(s, e, dropPosition);
    s.fillerHeight = 0;
    PlaceFiller(s, e, PositionOf(s.layout, kScrollFiller));
    height = s.popupHeight - e.CopyHeight();
  }
  s.fillerHeight = std::max(height, 0);
  PlaceFiller(s, e, PositionOf(s.layout, kScrollFiller));
}

// A separator never ends the shown range where more items lie beyond it; the last shown
// item always stays.
void DropSeparatorAt(ScrollCopyState& s, ScrollCopyEditor& e, bool leading) {
  for (;;) {
    const std::vector<int> shown = ShownSourceItems(s.layout);
    if (shown.size() < 2) return;
    const int entry = leading ? shown.front() : shown.back();
    if (!e.SourceIsSeparator(entry)) return;
    if (!Remove(s, e, PositionOf(s.layout, entry))) return;
  }
}

// The range's ends after moving toward the end (lastIndex is the bottom) or the start.
void NoteRange(ScrollCopyState& s, bool towardEnd) {
  const std::vector<int> shown = ShownSourceItems(s.layout);
  if (shown.empty()) {
    s.lastIndex = s.firstIndex = -1;
    return;
  }
  s.lastIndex = towardEnd ? shown.back() : shown.front();
  s.firstIndex = towardEnd ? shown.front() : shown.back();
}

int SumOfHeights(ScrollCopyEditor& e, int from, int to) {
  int sum = 0;
  for (int i = from; i < to; ++i) sum += e.SourceHeight(i);
  return sum;
}

}  // namespace

std::vector<int> ShownSourceItems(const std::vector<int>& layout) {
  std::vector<int> shown;
  for (int entry : layout) {
    if (entry >= 0) shown.push_back(entry);
  }
  return shown;
}

char ItemMnemonic(const std::string& text) {
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '&') continue;
    if (text[i + 1] == '&') {
      ++i;
      continue;
    }
    const char c = text[i + 1];
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
  }
  return 0;
}

void RebuildScrollCopyAtStart(ScrollCopyState& s, ScrollCopyEditor& e) {
  e.Redraw(false);
  RemoveAll(s, e);
  s.fillerHeight = 7;
  Insert(s, e, 0, kScrollDownArrow);
  Insert(s, e, 0, kScrollFiller);
  const int count = e.SourceCount();
  for (int next = 0; next < count; ++next) {
    const int at = static_cast<int>(s.layout.size()) - 2;
    if (!Insert(s, e, std::max(at, 0), next)) continue;
    if (e.CopyHeight() > s.popupHeight) {
      if (ShownCount(s.layout) > 1) Remove(s, e, std::max(at, 0));
      break;
    }
  }
  DropSeparatorAt(s, e, false);
  const std::vector<int> shown = ShownSourceItems(s.layout);
  // A source that fits whole needs no arrow.
  if (!shown.empty() && shown.back() == count - 1) Remove(s, e, PositionOf(s.layout, kScrollDownArrow));
  FitFiller(s, e, -1);
  NoteRange(s, true);
  s.atEnd = 0;
  e.Redraw(true);
}

void RebuildScrollCopyAtEnd(ScrollCopyState& s, ScrollCopyEditor& e) {
  e.Redraw(false);
  RemoveAll(s, e);
  s.fillerHeight = 7;
  Insert(s, e, 0, kScrollFiller);
  Insert(s, e, 0, kScrollUpArrow);
  for (int previous = e.SourceCount() - 1; previous >= 0; --previous) {
    if (!Insert(s, e, 2, previous)) continue;
    if (e.CopyHeight() > s.popupHeight) {
      if (ShownCount(s.layout) > 1) Remove(s, e, 2);
      break;
    }
  }
  DropSeparatorAt(s, e, true);
  const std::vector<int> shown = ShownSourceItems(s.layout);
  if (!shown.empty() && shown.front() == 0) Remove(s, e, PositionOf(s.layout, kScrollUpArrow));
  FitFiller(s, e, -1);
  NoteRange(s, false);
  s.atEnd = 0;
  e.Redraw(true);
}

void StepScrollCopyTowardEnd(ScrollCopyState& s, ScrollCopyEditor& e) {
  if (s.layout.empty() || s.layout.back() != kScrollDownArrow || ShownCount(s.layout) == 0) {
    s.atEnd = 1;
    return;
  }
  const int a = s.itemHeight;
  e.Redraw(true);
  if (s.layout.front() >= 0) {
    // At the start: the up arrow takes the first item's place.
    const int distance = e.SourceHeight(s.layout.front()) - s.fillerHeight;
    e.Redraw(false);
    if (Insert(s, e, 0, kScrollUpArrow)) Remove(s, e, 1);
    e.Redraw(true);
    e.Animate(distance, -3, a + s.fillerHeight - 5, a - 5);
  } else {
    const int count = static_cast<int>(s.layout.size());
    const int distance = count >= 2 && s.layout[count - 2] == kScrollFiller ? a - s.fillerHeight : a;
    e.Animate(distance, -3, a + s.fillerHeight + 1, a - 5);
  }
  e.Redraw(false);

  // The filler goes next to the up arrow at its reset height, and the first shown item
  // leaves with the separators that would now start the range.
  s.fillerHeight = 7;
  PlaceFiller(s, e, 1);
  if (ShownCount(s.layout) > 1) Remove(s, e, PositionOf(s.layout, ShownSourceItems(s.layout).front()));
  DropSeparatorAt(s, e, true);

  const int count = e.SourceCount();
  int next = ShownSourceItems(s.layout).back() + 1;
  int entered = -1;
  for (int n = 0; n < 2 && next < count; ++n, ++next) {
    if (n == 1 && e.CopyHeight() >= s.popupHeight) break;
    const int at = static_cast<int>(s.layout.size()) - 1;
    if (Insert(s, e, at, next)) entered = at;
  }
  FitFiller(s, e, entered);
  DropSeparatorAt(s, e, false);
  FitFiller(s, e, -1);

  // Near the end, the few items left replace the down arrow.
  const int last = ShownSourceItems(s.layout).back();
  if (last >= count - 4 && SumOfHeights(e, last + 1, count) <= a + s.fillerHeight) {
    if (Remove(s, e, static_cast<int>(s.layout.size()) - 1)) {
      for (int i = last + 1; i < count; ++i) Insert(s, e, static_cast<int>(s.layout.size()), i);
      FitFiller(s, e, -1);
      s.atEnd = 1;
    }
  }
  NoteRange(s, true);
  e.Redraw(true);
}

void StepScrollCopyTowardStart(ScrollCopyState& s, ScrollCopyEditor& e) {
  if (s.layout.empty() || s.layout.front() != kScrollUpArrow || ShownCount(s.layout) == 0) {
    s.atEnd = 1;
    return;
  }
  const int a = s.itemHeight;
  e.Redraw(true);
  if (s.layout.back() >= 0) {
    // At the end: the down arrow takes the last item's place.
    const int distance = a - s.fillerHeight;
    e.Redraw(false);
    const int last = static_cast<int>(s.layout.size()) - 1;
    if (Insert(s, e, last, kScrollDownArrow)) Remove(s, e, last + 1);
    e.Redraw(true);
    e.Animate(distance, 3, a - 5, a + 1);
  } else {
    const int distance = s.layout.size() >= 2 && s.layout[1] == kScrollFiller ? a - s.fillerHeight : a;
    e.Animate(distance, 3, a - 5, a + 1);
  }
  e.Redraw(false);

  s.fillerHeight = 7;
  PlaceFiller(s, e, static_cast<int>(s.layout.size()) - 1 - (PositionOf(s.layout, kScrollFiller) >= 0 ? 1 : 0));
  if (ShownCount(s.layout) > 1) Remove(s, e, PositionOf(s.layout, ShownSourceItems(s.layout).back()));
  DropSeparatorAt(s, e, false);

  int previous = ShownSourceItems(s.layout).front() - 1;
  int entered = -1;
  for (int n = 0; n < 2 && previous >= 0; ++n, --previous) {
    if (n == 1 && e.CopyHeight() >= s.popupHeight) break;
    if (Insert(s, e, 1, previous)) entered = 1;
  }
  FitFiller(s, e, entered);
  DropSeparatorAt(s, e, true);
  FitFiller(s, e, -1);

  const int first = ShownSourceItems(s.layout).front();
  if (first <= 3 && SumOfHeights(e, 0, first) <= a + s.fillerHeight) {
    if (Remove(s, e, 0)) {
      for (int i = 0; i < first; ++i) Insert(s, e, i, i);
      FitFiller(s, e, -1);
      s.atEnd = 1;
    }
  }
  NoteRange(s, false);
  e.Redraw(true);
}

}  // namespace tovrel
