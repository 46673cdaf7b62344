#include "tovrel/frame/menu_rules.h"

#include <algorithm>

#include "tovrel/foundation/ui_styles.h"

namespace tovrel {

SIZE TitleButtonSize(int style, int tw, int th) {
  int h = std::max(th, 14);
  if (style == 6) return {tw + 16, h + 5};
  if (style == UISTYLE_OFFICE2007) return {tw + 16, h + 6};
  return {tw + 18, h + 8};
}

bool MenuMatchesReference(const Menu& menu, intptr_t reference) {
  return menu.number == reference || reinterpret_cast<intptr_t>(menu.menuHandle) == reference ||
         reinterpret_cast<intptr_t>(menu.barWindow) == reference;
}

}  // namespace tovrel
