// Opening and tracking one drop-down of a tool bar's button, shared by a button press and
// by the switch from an open title to the next one.
#ifndef ZK_TOVREL_FRAME_DROP_DOWN_OPENING_H
#define ZK_TOVREL_FRAME_DROP_DOWN_OPENING_H

#include <windows.h>

#include "tovrel/foundation/lists.h"

namespace tovrel {

struct DropDownOpening {
  HWND toolbar;  // owns the tracked menu: commands reach its parent through it
  int command;   // the pressed button
  // A switch from an open title: BarHotItem is already the new title, the title's bottom
  // is kept, no key selects the first item and the menu never fades in.
  bool switching;
};

// Places `record`'s drop-down against the button, tracks it until it closes and cleans
// up. MenuMutex is held on entry and on return; it is let go while the menu is tracked
// and while the bar repaints. -> 0, the notification's result
LRESULT TrackDropDown(const DropDownOpening& opening, Menu* record);

}  // namespace tovrel

#endif
