#include "tovrel/frame/menu_item_painting.h"

namespace tovrel {

void MeasureMenuItem(MEASUREITEMSTRUCT&) {}
bool DrawMenuItem(const DRAWITEMSTRUCT&) { return true; }

}  // namespace tovrel
