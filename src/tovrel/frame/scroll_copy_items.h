// What building the scrolling copy and moving it share: the copy's layout, how one item
// of the source or one scroll item enters the copy, and the quiet that shortcuts keep
// while the copy changes.
#ifndef ZK_TOVREL_FRAME_SCROLL_COPY_ITEMS_H
#define ZK_TOVREL_FRAME_SCROLL_COPY_ITEMS_H

#include <windows.h>

#include "tovrel/foundation/lists.h"
#include "tovrel/foundation/shortcuts.h"
#include "tovrel/frame/menu_scroll_model.h"

namespace tovrel {

// The copy's layout and range, kept beside the menu while the copy exists.
ScrollCopyState& ScrollCopy();

// Copies the source item at `index` to `position` of the copy (-1 appends): text,
// command, submenu, state and type, and a duplicate of its images. -> the source item's
// record, nullptr when the item could not be read or copied. MenuMutex held or not.
const MenuItem* CopySourceItem(HMENU copy, int position, HMENU source, int index);

// Inserts an arrow or the filler (its height is ScrollFillerHeight) at `position`
// (-1 appends). Scroll items are disabled: they are never commands. -> true when inserted
bool InsertScrollItem(HMENU copy, int position, int kind);

// Ends hover scrolling: the popup's timer stops.
void StopScrollLoop();

// The copy's items carry the source's texts and command ids, and its record the owner
// window, but the shortcuts stay bound to the source's items alone: neither inserting nor
// removing a copy's item may register or unbind one.
class ShortcutsSuspended {
 public:
  ShortcutsSuspended() : saved_(ItemShortcutsDisabled) { ItemShortcutsDisabled = 1; }
  ~ShortcutsSuspended() { ItemShortcutsDisabled = saved_; }
  ShortcutsSuspended(const ShortcutsSuspended&) = delete;
  ShortcutsSuspended& operator=(const ShortcutsSuspended&) = delete;

 private:
  int saved_;
};

}  // namespace tovrel

#endif
