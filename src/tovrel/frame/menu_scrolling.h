// The scrolling copy of a drop-down too tall for its monitor: a shorter copy of the title's
// menu with arrow and filler items, built when the drop-down opens and moved through the
// source one item at a time. Every step runs on the GUI thread: hover scrolling from the
// scroll popup's timer, keyboard steps called directly.
#ifndef ZK_TOVREL_FRAME_MENU_SCROLLING_H
#define ZK_TOVREL_FRAME_MENU_SCROLLING_H

#include <windows.h>

#include "tovrel/foundation/lists.h"

namespace tovrel {

// Builds the copy of `title`'s drop-down that fits the work area below or above the
// title's screen rectangle (`a` 1 for WHIDBEY, else 0); `width` is the drop-down's width.
// Sets DropDownTop (0 below, -1 above), ScrollPopupMenu, ScrollSourceMenu,
// ScrollItemHeight, ScrollFillerHeight, ScrollPopupWidth, ScrollPopupHeight and the
// mnemonics. MenuMutex held. -> the copy's record, nullptr when none could be made.
Menu* BuildScrollingCopy(Menu& title, const RECT& titleRect, const RECT& work, int a, int width);
// Frees the copy and clears the scroll state, when the drop-down has closed.
void ReleaseScrollingCopy();

// 3 rebuilds the copy at the source's start, 2 at its end (both at once); 0 steps toward
// the end, 1 toward the start: once, or while ScrollHover is 1 from the scroll popup's
// timer. Called without MenuMutex: a pass repaints the popup. -> 0
int MenuScrollThread(int mode);
// The scroll popup's timer that drives hover scrolling; its window procedure passes the
// tick here.
constexpr UINT_PTR kMenuScrollTimer = 0x70F1;
void MenuScrollTimerTick();

}  // namespace tovrel

#endif
