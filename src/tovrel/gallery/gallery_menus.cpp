#include "tovrel/gallery/gallery_menus.h"

#include <commctrl.h>

#include "tovrel/foundation/lists.h"
#include "tovrel/foundation/toolkit_lock.h"
#include "tovrel/foundation/ui_styles.h"
#include "tovrel/frame/menu_items.h"
#include "tovrel/frame/menus.h"
#include "tovrel/frame/rebar_bands.h"
#include "tovrel/gallery/gallery_images.h"

namespace tovrel_gallery {

using namespace tovrel;

namespace {

HICON Icon(Shape shape, COLORREF rgb) { return MakeGalleryIcon(16, shape, rgb); }

// The drop-down of the title added last and its button's command id.
void ReadLastTitle(HWND bar, GalleryMenus& menus) {
  ToolkitLock(MenuMutex);
  for (const Menu& m : MenuList) {
    if (m.barWindow == bar && m.popupFlag == 0 && m.titleCommand != -1 && !menus.fileMenu) {
      menus.fileMenu = m.menuHandle;
      menus.fileTitle = m.titleCommand;
    }
  }
  ToolkitUnlock(MenuMutex);
}

}  // namespace

GalleryMenus AddGalleryMenuBar(HWND window) {
  GalleryMenus menus;
  // A submenu is a popup of its own, made before the bar: making a popup makes it the
  // menu that items go to.
  HMENU recent = CreatePopup(-1, UISTYLE_OFFICE2007);
  AddMenuItem(kCommandRecentFirst, "Setup of the week.zkp", 0, 0, 0, 0);
  AddMenuItem(kCommandRecentSecond, "Old product.zkp", 0, 0, 0, 0);

  const intptr_t number = CreateMenuBar(-1, window, UISTYLE_OFFICE2007);
  if (!number) return menus;
  menus.bar = reinterpret_cast<HWND>(GetMenuHandle(number));
  AddMenuTitle("File");
  AddMenuItem(kCommandNew, "New...$ctrl+n", Icon(Shape::kSquare, 0x2E7D32), Icon(Shape::kSquare, 0x66BB6A), 0, 0);
  AddMenuItem(kCommandOpen, "Open...$ctrl+o", Icon(Shape::kCircle, 0x1565C0), 0, 0, 0);
  AddMenuItem(kCommandSave, "Save$ctrl+s", Icon(Shape::kTriangle, 0xC62828), 0, 0, 0);
  AddMenuSeparator();
  AddMenuItem(-1, "Recent projects", 0, 0, 0, reinterpret_cast<intptr_t>(recent));
  AddMenuSeparator();
  AddMenuItem(kCommandExit, "Exit", 0, 0, 0, 0);
  ReadLastTitle(menus.bar, menus);
  AddMenuTitle("View");
  AddMenuItem(kCommandToolbar, "Tool bar", 0, 0, 0, 0);
  AddMenuItem(kCommandStatusBar, "Status bar", 0, 0, 0, 0);
  AddMenuItem(kCommandGrid, "Grid", Icon(Shape::kBar, 0x6A1B9A), 0, 0, 0);
  AddMenuTitle("Help");
  AddMenuItem(kCommandAbout, "About the gallery", 0, 0, 0, 0);
  SetMenuItemState(number, kCommandToolbar, 1);
  SetMenuItemState(number, kCommandGrid, 0x1001);
  SetMenuItemDisabled(number, kCommandStatusBar, 1);
  SetMenuItemDisabled(number, kCommandSave, 1);

  // As the tool's main window has it: the band's height is the bar's less its margin, and
  // a chevron shows when the band is too narrow for every title.
  AddRebarBand(menus.bar, "", 0, 100, GetMenuBarHeight(number) - 3, nullptr, RBBS_USECHEVRON);
  return menus;
}

}  // namespace tovrel_gallery
