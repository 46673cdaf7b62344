#include "tovrel/frame/rebar_fitting.h"

namespace tovrel {

// Interim until the fitting is built.
int FitRebarBands(HWND) { return 0; }

}  // namespace tovrel
