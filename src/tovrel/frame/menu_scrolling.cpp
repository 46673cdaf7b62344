#include "tovrel/frame/menu_scrolling.h"

namespace tovrel {

Menu* BuildScrollingCopy(Menu&, const RECT&, const RECT&, int, int) { return nullptr; }
void ReleaseScrollingCopy() {}
int MenuScrollThread(int) { return 0; }
void MenuScrollTimerTick() {}

}  // namespace tovrel
