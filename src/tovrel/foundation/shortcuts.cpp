#include "tovrel/foundation/shortcuts.h"

namespace tovrel {

// Nothing is bound yet.
void ResetShortcutModifiers() {}
void ForgetWindowShortcuts(HWND) {}

}  // namespace tovrel
