#include "tovrel/frame/menu_owner_messages.h"

namespace tovrel {

void OnMenuOwnerActivate(HWND, WPARAM) {}
void OnMenuFontSettingChanged() {}
void InvalidateMenuCaches() {}

}  // namespace tovrel
