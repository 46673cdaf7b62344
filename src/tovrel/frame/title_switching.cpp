#include <commctrl.h>

#include "tovrel/foundation/toolkit_globals.h"
#include "tovrel/frame/drop_down_opening.h"
#include "tovrel/frame/drop_downs.h"
#include "tovrel/frame/menu_mutex_scope.h"
#include "tovrel/frame/menu_records.h"
#include "tovrel/frame/menu_state.h"

namespace tovrel {

namespace {

// Set while the title a switch waits for is made hot again. The tool bar reports that
// change too, which opens the title; a report of no title then must not send it again.
bool keepingTitleHot = false;

}  // namespace

LRESULT OnToolbarHotItemChange(HWND, const NMTBHOTITEM& change) {
  // Only a drop-down that ended for a switch leaves a title to open.
  if (OpenTitleIndex == -1) return 0;
  const HWND bar = change.hdr.hwndFrom;
  MenuMutexScope lock;
  bool barHasTitles = false;
  Menu* next = nullptr;
  for (Menu& m : MenuList) {
    if (m.barWindow != bar || m.popupFlag != 0 || !HasSystemMenu(m)) continue;
    barHasTitles = true;
    if (change.idNew != 0 && m.titleCommand == change.idNew) {
      next = &m;
      break;
    }
  }
  // Another tool bar's buttons are none of the menu bar's business.
  if (!barHasTitles) return 0;
  if (!next) {
    // The pointer left the titles: the title the switch waits for stays hot.
    if (keepingTitleHot) return 0;
    const int index = OpenTitleIndex;
    keepingTitleHot = true;
    {
      MenuMutexReleased unlocked;
      SendMessageA(bar, TB_SETHOTITEM, static_cast<WPARAM>(index), 0);
    }
    keepingTitleHot = false;
    return 0;
  }
  MenuList.Find([next](const Menu& m) { return &m == next; });
  BarHotItem = static_cast<int>(SendMessageA(bar, TB_COMMANDTOINDEX, static_cast<WPARAM>(change.idNew), 0));
  OpenTitleIndex = -1;
  TrackDropDown({bar, change.idNew, true}, next);
  return 0;
}

}  // namespace tovrel
