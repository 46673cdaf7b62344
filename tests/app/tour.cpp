// zk_tour: shows one page of a running Zendrikolbar, for screenshots.
// Usage: zk_tour GROUP ITEM   (1-based task-pane group and item)
//        zk_tour menu ID      (a menu command, e.g. 12 for About)
#include <windows.h>

#include <cstdlib>
#include <string>

#include "app/app_driver.h"
#include "driver/driver.h"

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  HWND main = DriverWaitWindowPrefix("Zendrikolbar", 0, 20000);
  if (!main) return 1;
  if (std::string(argv[1]) == "menu") return DriverMenuCommand(main, std::atoi(argv[2])) ? 0 : 1;
  return ClickTaskPaneItem(main, std::atoi(argv[1]), std::atoi(argv[2])) ? 0 : 1;
}
