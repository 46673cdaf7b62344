#include "tovrel/frame/drop_downs.h"

namespace tovrel {

int ShowPopupMenu(intptr_t, HWND, int, int) { return 0; }
LRESULT OnToolbarDropDown(HWND, const NMTOOLBARA&, LRESULT previous) { return previous; }
LRESULT OnToolbarHotItemChange(HWND, const NMTBHOTITEM&) { return 0; }
void OnRebarChevronPushed(HWND, const NMREBARCHEVRON&) {}
void OnOpenHotTitle(HWND, HWND) {}

}  // namespace tovrel
