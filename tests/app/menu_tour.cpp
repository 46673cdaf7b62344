// zk_menu_tour: puts the menu bar and tool bar of a running Zendrikolbar into a state for
// a screenshot.
// Usage: zk_menu_tour open TITLE         (the title's drop-down open, clicked)
//        zk_menu_tour select TITLE N     (the drop-down open, its item N selected)
//        zk_menu_tour hot BUTTON         (the pointer over tool-bar button BUTTON, e.g. Build)
//        zk_menu_tour close              (Esc until no drop-down is open)
#include <windows.h>

#include <cstdlib>
#include <string>

#include "driver/driver.h"

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  HWND main = DriverWaitWindowPrefix("Zendrikolbar", 0, 20000);
  if (!main) return 1;
  const std::string what = argv[1];
  if (what == "open" && argc > 2) return DriverOpenMenuTitle(main, argv[2]) ? 0 : 1;
  if (what == "select" && argc > 3) {
    HWND popup = DriverOpenMenuTitle(main, argv[2]);
    RECT item = {};
    return popup && DriverMenuItemRect(popup, std::atoi(argv[3]), &item) ? 0 : 1;
  }
  if (what == "hot" && argc > 2) {
    RECT r = {};
    HWND toolbar = DriverFindMenuTitle(main, argv[2], &r);
    if (!toolbar || !DriverBringToFront(main)) return 1;
    POINT centre = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    return SetCursorPos(centre.x, centre.y) ? 0 : 1;
  }
  if (what == "close") {
    for (int i = 0; i < 4 && DriverWaitPopupMenu(main, 0); ++i) {
      DriverKey(VK_ESCAPE);
      Sleep(300);
    }
    return DriverWaitPopupMenu(main, 0) ? 1 : 0;
  }
  return 2;
}
