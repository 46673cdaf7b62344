// Events of the secondary windows: the About window's links and OK, the preview's Cancel
// and the close boxes.
#include "app/controls.h"
#include "app/windows/secondary_windows.h"
#include "app/windows/web_links.h"
#include "common/gui.h"

using namespace ctl;

namespace {

void CloseAbout() {
  EnableRuntimeWindow(kMainWindow, true);
  ShowRuntimeWindow(kAboutWindow, false);
}

}  // namespace

bool HandleSecondaryWindowEvent(int window, int control, int type) {
  if (window == kAboutWindow) {
    // A double click would open a link a second time; its first click already did.
    const bool click = type == kEventTypeLeftClick;
    switch (control) {
      case kAboutWebsite:
        if (click) OpenWebAddress(kMakerWebsite);
        break;
      case kAboutSupport:
        if (click) OpenWebAddress(kMakerSupport);
        break;
      case kAboutDonate:
        if (click) OpenWebAddress(kMakerDonation);
        break;
      case kAboutOk:
        CloseAbout();
        break;
      default:
        break;
    }
    return true;
  }
  if (window == kWizardPreviewWindow) {
    if (control == kPreviewCancel) CloseRuntimeWindow(kWizardPreviewWindow);
    return true;
  }
  return false;
}

bool HandleSecondaryWindowClose(int window) {
  switch (window) {
    case kAboutWindow:
      CloseAbout();
      return true;
    case kWizardPreviewWindow:
      ShowRuntimeWindow(kWizardPreviewWindow, false);
      return true;
    case kBuildProgressWindow:
      // It has no close box; a close request (Alt+F4) must not end the window while the
      // build still reports to it.
      return true;
    default:
      return false;
  }
}
