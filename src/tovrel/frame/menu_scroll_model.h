// How the scrolling copy of a too-tall drop-down moves through its source menu, decided
// on a plain list of what each copy position shows. The real copy and the tests' fake
// menu both stand behind ScrollCopyEditor, so the one algorithm serves both.
//
// Layouts: at the start [source items from 0, filler, down arrow]; in the middle
// [up arrow, filler, items, down arrow] after steps toward the end or [up arrow, items,
// filler, down arrow] after steps toward the start; at the end [up arrow, filler, items up
// to the last]. The copy's height never changes: the filler absorbs every difference.
#ifndef ZK_TOVREL_FRAME_MENU_SCROLL_MODEL_H
#define ZK_TOVREL_FRAME_MENU_SCROLL_MODEL_H

#include <string>
#include <vector>

namespace tovrel {

// What a copy position shows: a source position (0 or more) or one of the scroll items,
// whose values are their item kinds.
constexpr int kScrollDownArrow = -1;
constexpr int kScrollUpArrow = -2;
constexpr int kScrollFiller = -3;

// The copy being moved. The editor changes the menu; the layout follows each change that
// succeeded.
class ScrollCopyEditor {
 public:
  virtual ~ScrollCopyEditor() = default;
  virtual int SourceCount() = 0;
  virtual bool SourceIsSeparator(int index) = 0;
  virtual int SourceHeight(int index) = 0;
  virtual int CopyHeight() = 0;  // the whole menu's height, frame included
  // `entry` is a source position or a scroll item; a filler is inserted `fillerHeight` high.
  virtual bool Insert(int position, int entry, int fillerHeight) = 0;
  virtual bool Remove(int position) = 0;
  // Drawing on (the window is repainted at once) or off while items change.
  virtual void Redraw(bool on) = 0;
  // Moves the shown pixels `distance` pixels up (dy -3) or down (dy +3), 3 at a time,
  // between `topInset` below the client top and `bottomInset` above its bottom.
  virtual void Animate(int distance, int dy, int topInset, int bottomInset) = 0;
};

struct ScrollCopyState {
  std::vector<int> layout;
  int popupHeight = 0;   // the height the copy keeps
  int itemHeight = 0;    // an arrow item's height
  int fillerHeight = 7;  // 7 after every reset
  // Source positions at the two ends of the shown range: the end toward which the copy
  // moved last (or rebuilt to show) and the opposite end; -1 while nothing is shown.
  int lastIndex = -1;
  int firstIndex = -1;
  int atEnd = 0;  // 1 when a step reached the first or last source item
};

// Rebuilds the copy at the source's start (a keyboard wrap from the end) or at its end.
void RebuildScrollCopyAtStart(ScrollCopyState& state, ScrollCopyEditor& editor);
void RebuildScrollCopyAtEnd(ScrollCopyState& state, ScrollCopyEditor& editor);
// One step: the first shown item leaves and at most two enter after the last, or the
// mirror image. A step that cannot move (the copy already shows that end) only sets atEnd.
void StepScrollCopyTowardEnd(ScrollCopyState& state, ScrollCopyEditor& editor);
void StepScrollCopyTowardStart(ScrollCopyState& state, ScrollCopyEditor& editor);

// The source positions shown in the layout, in order.
std::vector<int> ShownSourceItems(const std::vector<int>& layout);

// The access letter of an item text: the character after its first single "&" ("&&" is
// a plain ampersand), upper-cased for ASCII letters; 0 when there is none.
char ItemMnemonic(const std::string& text);

}  // namespace tovrel

#endif
