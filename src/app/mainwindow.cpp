// The main window.
#include "app/mainwindow.h"

#include "app/controls.h"
#include "app/frame.h"
#include "common/gui.h"

int CreateMainWindow(const BuiltinImages& images) {
  if (!OpenRuntimeWindow(
          ctl::kMainWindow, 0, 0, 680, 524, "Zendrikolbar",
          kWindowSystemMenu | kWindowMinimizeBox | kWindowTitleBar | kWindowScreenCentered | kWindowInvisible))
    return 0;
  BuildFrame(images);
  UseControlList(ctl::kMainWindow);
  BuildPages(images);
  ShowRuntimeWindow(ctl::kMainWindow, true);
  return 1;
}
