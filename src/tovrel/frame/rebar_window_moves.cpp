#include "tovrel/frame/tracked_messages.h"

namespace tovrel {

// Interim until rebars report their height.
void HandleRebarWindowPosChanging(HWND, const WINDOWPOS&) {}

}  // namespace tovrel
