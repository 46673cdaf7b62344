// The About window (5): version, maker and the maker's links on a white panel.
#include <windows.h>

#include <string>

#include "app/colouriser/colouriser.h"
#include "app/controls.h"
#include "app/windows/container.h"
#include "app/windows/secondary_windows.h"
#include "app/windows/web_links.h"
#include "app/windows/window_images.h"
#include "common/gui.h"

using namespace ctl;

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kLinkHover = RGB(0, 70, 120);

// Places a control made in the window on the white panel, on the panel's white.
void OnPanel(int control, HWND panel) {
  SetControlBackColour(control, kWhite);
  MoveIntoContainer(control, panel);
}

}  // namespace

void OpenAboutWindow() {
  if (!OpenRuntimeWindow(kAboutWindow, 0, 0, 351, 222, "About Zendrikolbar",
                         kWindowSystemMenu | kWindowTitleBar | kWindowParentCentered | kWindowInvisible, kMainWindow))
    return;
  HWND panel = CreateContainer(WindowHandle(kAboutWindow), kAboutPanel, 0, 0, 350, 255);
  SetContainerBackground(panel, kWhite);

  CreateImageControl(kAboutPicture, 9, 19, 55, 55, AboutPicture());
  MoveIntoContainer(kAboutPicture, panel);
  CreateLabel(kAboutVersion, 79, 24, 260, 20, "Zendrikolbar 1.2.9.2");
  OnPanel(kAboutVersion, panel);
  CreateLabel(kAboutMaker, 79, 49, 260, 20, "Made by the Zendrikolbar team");
  OnPanel(kAboutMaker, panel);
  CreateLink(kAboutWebsite, 79, 79, 260, 20, std::string("Website: ") + kMakerWebsite, kLinkHover);
  OnPanel(kAboutWebsite, panel);
  CreateLink(kAboutSupport, 79, 104, 260, 20, std::string("Support: ") + kMakerSupport, kLinkHover);
  OnPanel(kAboutSupport, panel);
  // Two lines high: in the dialog font the text is wider than the 320 pixels it has.
  CreateLink(kAboutDonate, 15, 144, 320, 28, "Please make a donation to support the development of Zendrikolbar.",
             kLinkHover, kLinkUnderline);
  OnPanel(kAboutDonate, panel);
  CreateButton(kAboutOk, 129, 189, 95, 25, "OK");
  MoveIntoContainer(kAboutOk, panel);
  // Mode 0 records the button without colours of its own.
  SetControlColours(kAboutOk, 0, static_cast<int32_t>(kWhite), 0, 0);

  ShowRuntimeWindow(kAboutWindow, true);
  EnableRuntimeWindow(kMainWindow, false);
}
