#include "tovrel/frame/popup_areas.h"

namespace tovrel {

int PlacePopupAndShadows(HWND) { return 0; }
int RedrawUncoveredMenuArea(HWND) { return 0; }
int RedrawWindowsBelow(const RECT&, HWND) { return 0; }
int RedrawLastMenuArea() { return 0; }
int CaptureMenuBackground(intptr_t, const RECT&) { return 0; }

}  // namespace tovrel
