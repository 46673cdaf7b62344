#include "tovrel/frame/custom_draw.h"

namespace tovrel {

LRESULT HandleCustomDraw(NMCUSTOMDRAW&, LRESULT previous) { return previous; }

}  // namespace tovrel
