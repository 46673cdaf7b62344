// The frame of the main window.
#include "app/frame.h"

#include "app/controls.h"
#include "app/exbar/exbar.h"
#include "app/mainwindow.h"
#include "common/gui.h"
#include "tovrel/tovrel.h"

using namespace ctl;

int MainExBar = 0;
intptr_t MainRebar = 0;

namespace {

HWND g_menuBar = nullptr;

void BuildMenuBar(const BuiltinImages& im) {
  SetMenuImageSize(16, 16);
  intptr_t bar = CreateMenuBar(kMenuBar, WindowHandle(kMainWindow), UISTYLE_OFFICE2007);
  g_menuBar = reinterpret_cast<HWND>(bar);
  if (!bar) return;
  auto item = [](int id, const char* text, HICON icon) { AddMenuItem(id, text, icon, icon, icon, 0); };
  AddMenuTitle("File");
  item(kMenuNew, "New...", im.menuNew);
  item(kMenuOpen, "Open...", im.menuOpen);
  AddMenuSeparator();
  item(kMenuSave, "Save...", nullptr);
  item(kMenuSaveAs, "Save As...", im.menuSaveAs);
  AddMenuSeparator();
  item(kMenuImportLanguage, "Import Language...", nullptr);
  AddMenuSeparator();
  item(kMenuExit, "Exit", nullptr);
  AddMenuTitle("Project");
  item(kMenuBuild, "Build", im.menuBuild);
  item(kMenuRun, "Run", nullptr);
  AddMenuTitle("Help");
  item(kMenuHelp, "Help", im.menuHelp);
  item(kMenuVisitForum, "Visit Forum", nullptr);
  item(kMenuVisitWebsite, "Visit Website", nullptr);
  AddMenuSeparator();
  item(kMenuUpdate, "Update", nullptr);
  AddMenuSeparator();
  item(kMenuAbout, "About Zendrikolbar", nullptr);
}

HWND BuildToolbar(const BuiltinImages& im) {
  intptr_t tb = CreateToolbar(kToolbar, WindowHandle(kMainWindow), 16, 16, UISTYLE_OFFICE2007 | 0x800000);
  if (!tb) return nullptr;
  auto button = [](int id, const char* text, HICON icon) { AddToolbarButton(id, text, icon, icon, icon, 0x10); };
  button(kMenuNew, "New", im.menuNew);
  button(kMenuOpen, "Open", im.menuOpen);
  button(kMenuSave, "Save", im.menuSaveAs);
  button(kMenuBuild, "Build", im.menuBuild);
  return reinterpret_cast<HWND>(tb);
}

void BuildExBar(const BuiltinImages& im) {
  UseControlList(kMainWindow);
  MainExBar = CreateExBar(kExBar, 0, 44, 170, 437);
  struct Group {
    const char* title;
    BuiltinGroup icon;
    int kind;
    std::vector<const char*> items;
  };
  const Group groups[] = {
      {"General", kGroupGeneral, 2, {"General", "Graphics", "Language"}},
      {"Setup", kGroupSetup, 1, {"Files", "Pellucast", "Uninstall", "Variables", "Commands"}},
      {"Dialogs", kGroupDialogs, 1, {"Splash Screen", "License", "Finish"}},
      {"System", kGroupSystem, 1, {"Registry", "Shortcuts"}},
      {"Build", kGroupBuild, 1, {"Build"}},
  };
  int position = 0;
  for (const Group& g : groups) {
    AddExBarGroup(MainExBar, g.title, 0, reinterpret_cast<intptr_t>(im.groupIcons[g.icon]), g.kind);
    for (const char* text : g.items) AddExBarItem(MainExBar, position, text, -1);
    ++position;
  }
}

}  // namespace

void BuildFrame(const BuiltinImages& images) {
  const int statusWidths[] = {700};
  CreateStatusBar(kStatusBar, kMainWindow, statusWidths, 1);
  BuildMenuBar(images);
  HWND toolbar = BuildToolbar(images);
  MainRebar = CreateRebar(kRebar, WindowHandle(kMainWindow), nullptr, UISTYLE_OFFICE2007 | 0x200, 0);
  if (MainRebar) {
    if (g_menuBar) AddRebarBand(g_menuBar, "", 0, 100, GetMenuBarHeight(kMenuBar) - 3, nullptr, 0x200);
    if (toolbar) AddRebarBand(toolbar, "", 0, 0, 0, nullptr, 1);
  }
  BuildExBar(images);
}

int MainRebarHeight() { return MainRebar ? GetRebarHeight(MainRebar) : 0; }

void SetRunMenuItemEnabled(bool enabled) { SetMenuItemDisabled(kMenuBar, kMenuRun, enabled ? 0 : 1); }
