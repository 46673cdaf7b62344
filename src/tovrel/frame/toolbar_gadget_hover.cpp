#include "tovrel/frame/tracked_messages.h"

namespace tovrel {

// Interim until gadgets keep their hover state.
LRESULT HandleGadgetMessage(HWND, UINT, WPARAM, LPARAM) { return 0; }

}  // namespace tovrel
