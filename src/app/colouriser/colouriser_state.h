// The colouriser's module state, shared by its record code and its window procedures.
#ifndef ZK_APP_COLOURISER_COLOURISER_STATE_H
#define ZK_APP_COLOURISER_COLOURISER_STATE_H

#include <windows.h>

#include <list>
#include <vector>

#include "app/colouriser/colouriser.h"

namespace colouriser {

struct ControlEntry {
  int control = 0;
  HWND window = nullptr;
  SUBCLASSPROC procedure = nullptr;
};

struct State {
  // A list keeps records in place while others are added or removed.
  std::list<ColourRecord> records;
  std::vector<ControlEntry> controls;
  bool redraw = false;
  bool themesActive = false;
  // The list-view item last given the focus colours: item + 1 and its list.
  int focusItem = 0;
  HWND focusList = nullptr;
};

State& Module();
ColourRecord* RecordOfControl(int control);
ColourRecord* RecordOfWindow(HWND window);
// Redraws a window and everything in it, frame included.
void RedrawAll(HWND window);

}  // namespace colouriser

#endif
