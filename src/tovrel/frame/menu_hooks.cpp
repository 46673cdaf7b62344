#include "tovrel/frame/menu_hooks.h"

namespace tovrel {

HHOOK MenuBarNavigationHookHandle = nullptr;
HHOOK MenuMessageFilterHookHandle = nullptr;
HHOOK MenuOutsideClickHookHandle = nullptr;
HHOOK MenuClickProbeHookHandle = nullptr;

}  // namespace tovrel
