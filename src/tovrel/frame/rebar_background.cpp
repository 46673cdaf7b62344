#include "tovrel/frame/rebar_background.h"

namespace tovrel {

// Interim until the backgrounds are built.
int RenderRebarBackground(int) { return 0; }

}  // namespace tovrel
