// The gallery's menu bar: titles with pictured items, shortcuts, separators, a submenu, a
// checked and a disabled item, as the tool's own menu bar has them.
#ifndef ZK_TOVREL_GALLERY_GALLERY_MENUS_H
#define ZK_TOVREL_GALLERY_GALLERY_MENUS_H

#include <windows.h>

namespace tovrel_gallery {

// Command ids of the gallery's menu items.
enum GalleryCommand {
  kCommandNew = 300,
  kCommandOpen,
  kCommandSave,
  kCommandRecentFirst,
  kCommandRecentSecond,
  kCommandExit,
  kCommandToolbar,
  kCommandStatusBar,
  kCommandGrid,
  kCommandAbout,
};

struct GalleryMenus {
  HWND bar = nullptr;        // the menu bar's tool-bar window
  HMENU fileMenu = nullptr;  // the first title's drop-down
  int fileTitle = 0;         // command id of the first title's button
};

// A menu bar of UISTYLE_OFFICE2007 on `window`, in a new band of the current rebar.
GalleryMenus AddGalleryMenuBar(HWND window);

}  // namespace tovrel_gallery

#endif
