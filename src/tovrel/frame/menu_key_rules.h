// The menu hooks' plain decisions: what a key's flag word means to the menu bar, where a
// key that reached a scroll item of the scrolling copy moves it, and which key presses
// bring the menu's selection to an item.
#ifndef ZK_TOVREL_FRAME_MENU_KEY_RULES_H
#define ZK_TOVREL_FRAME_MENU_KEY_RULES_H

#include <windows.h>

#include <vector>

namespace tovrel {

enum class MenuKey {
  Other,       // any key that ends the bar's first-key state
  Kept,        // Left, Right, and Alt, F10, Down or Enter in forms that change nothing
  AltPress,    // the left Alt pressed, not repeated
  F10Press,    // F10 pressed, not repeated
  AltRelease,  // the left Alt released
  Escape,      // Esc pressed
  Down,        // the arrow key Down pressed, also repeated
  Enter,       // Enter pressed, not repeated
};

// `flags` is the keyboard hook's flag word of the key `key`.
MenuKey ClassifyMenuKey(WPARAM key, LPARAM flags);

// What an item of the scrolling copy is, from its command id's low 16 bits (the menu loop
// reports ids in 16 bits).
enum class ScrollItem { Ordinary, DownArrow, UpArrow, Filler };
ScrollItem ScrollItemOfId(UINT id);

// A key step of the scrolling copy: the scroll mode to run (-1: none) and the item to select
// afterwards, counted from the start (0, 1, ...) or, when negative, from the end (-1 the
// last item, -2 the one before it).
struct ScrollKeyStep {
  int mode;
  int target;
};
// `lastKey` is VK_UP or VK_DOWN; `reached` the item the key selected; `first` and `last` the
// copy's first and last items before the step.
ScrollKeyStep ScrollStepForKey(UINT lastKey, ScrollItem reached, ScrollItem first, ScrollItem last);
// The position a step's target names in a copy of `count` items.
int ScrollTargetPosition(int target, int count);

// How an item takes part in the menu's own keyboard stepping.
enum class StepItem { Selectable, Skipped, Scroll };  // Skipped: separators
struct KeyPresses {
  UINT key;  // VK_UP or VK_DOWN; 0 with count 0 when no key is needed or no path is safe
  int count;
};
// The presses of one arrow key that move the selection from `from` (-1: none) to `target`,
// wrapping as the menu does, without stopping on a scroll item on the way (each stop there
// would scroll the copy again). The shorter way wins; Down on a tie.
KeyPresses KeysToReach(const std::vector<StepItem>& items, int from, int target);

}  // namespace tovrel

#endif
