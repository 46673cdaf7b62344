#include <vector>

#include "tovrel/foundation/lists.h"
#include "tovrel/frame/drop_shadows.h"

namespace tovrel {

namespace {

void DestroyTitleShadow(const MenuTitleShadow* shadow) {
  if (shadow->rightShadow) DestroyWindow(shadow->rightShadow);
  if (shadow->bottomShadow) DestroyWindow(shadow->bottomShadow);
  MenuTitleShadowList.Delete(shadow);
}

}  // namespace

void DestroyMenuTitleShadow(HWND bar, int titleLeft, int titleTop) {
  std::vector<const MenuTitleShadow*> gone;
  for (const MenuTitleShadow& s : MenuTitleShadowList)
    if (s.barWindow == bar && s.titleLeft == titleLeft && s.titleTop == titleTop) gone.push_back(&s);
  for (const MenuTitleShadow* s : gone) DestroyTitleShadow(s);
}

void DestroyAllMenuTitleShadows() {
  while (MenuTitleShadowList.Size() > 0) DestroyTitleShadow(&*MenuTitleShadowList.begin());
}

}  // namespace tovrel
